// The zoom ratio text: "1:%d" or "%d:1" from the zoom level, or the exact fitting
// ratio "1:%.1f", after a prefix; written without the C library's locale.
#pragma once

#include "renderer/PixelBlock.h"

#include <cstdint>
#include <string>

namespace morvessan {

class VXPSPreviewSession;

// The ratio alone. While the filter can zoom out, or without `exact`: level z > 0
// reads "1:z", z <= 0 reads "(2 - z):1". Otherwise the larger of preview
// rectangle width / preview width and height / preview height, one decimal.
std::string zoomRatioText(std::int32_t zoom, bool canZoomOut, bool exact, const VXPSRect& previewRect,
                          std::int32_t previewWidth, std::int32_t previewHeight);

// What the ratio control shows for `filter`: the prefix followed by the ratio.
std::string zoomRatioText(const VXPSPreviewSession& filter, bool exact, const std::string& prefix);

// A number with one decimal, rounded from its exact binary value, half to even ("%.1f").
std::string formatOneDecimal(double value);

// The prefix a ratio control starts with; the main dialog sets it empty.
inline constexpr const char* kZoomRatioPrefix = "Zoom ";

} // namespace morvessan
