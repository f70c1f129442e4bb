// Zoom ratio texts for the ratio control and the main dialog.
#include "dialog/VXPSZoomRatio.h"

#include "VXLib/VXUTIL/VXNumberText.h"
#include "dialog/VXPSPreviewSession.h"

#include <charconv>
#include <cmath>

namespace morvessan {

std::string formatOneDecimal(double value) {
    if (!std::isfinite(value)) {
        return std::isnan(value) ? "nan" : (value < 0 ? "-inf" : "inf");
    }
    char text[400];
    const auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 1);
    return std::string(text, result.ptr);
}

std::string zoomRatioText(std::int32_t zoom, bool canZoomOut, bool exact, const VXPSRect& previewRect,
                          std::int32_t previewWidth, std::int32_t previewHeight) {
    if (canZoomOut || !exact || previewWidth <= 0 || previewHeight <= 0) {
        if (zoom > 0) {
            return "1:" + formatInt(zoom);
        }
        return formatInt(2 - zoom) + ":1";
    }
    const double fx = static_cast<double>(previewRect.width()) / previewWidth;
    const double fy = static_cast<double>(previewRect.height()) / previewHeight;
    return "1:" + formatOneDecimal(fx > fy ? fx : fy);
}

std::string zoomRatioText(const VXPSPreviewSession& filter, bool exact, const std::string& prefix) {
    return prefix + zoomRatioText(filter.GetZoom(), filter.CanZoomOut(), exact, filter.GetPreviewRect(),
                                  filter.GetPreviewWidth(), filter.GetPreviewHeight());
}

} // namespace morvessan
