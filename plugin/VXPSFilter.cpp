// The filter driver's host side: selectors, the parameter block, host callbacks
// and the tile-by-tile rendering of the filter rectangle.
#include "plugin/VXPSFilter.h"

#include "VXLib/VXImage2.h"
#include "VXLib/VXUTIL/VXPath.h"
#include "plugin/HostRects.h"
#include "plugin/VXPSErrors.h"

#include <algorithm>

namespace morvessan {

VXPSFilter::VXPSFilter() = default;
VXPSFilter::~VXPSFilter() = default;

void VXPSFilter::DoParameters() { PrepareParameters(); }

void VXPSFilter::DoPrepare() {
    PrepareParameters();
    const FilterRecord& record = Record();
    m_whole_rect = {0, 0, record.wholeSize.h, record.wholeSize.v};
    m_filter_rect = fromHostRect(record.filterRect);
}

void VXPSFilter::DoContinue() { ClearHostRectangles(); }

void VXPSFilter::ClearHostRectangles() {
    if (FilterRecord* record = GetFilterRecord()) {
        record->inRect = {0, 0, 0, 0};
        record->outRect = {0, 0, 0, 0};
        record->maskRect = {0, 0, 0, 0};
    }
}

bool VXPSFilter::HostHasMask() const {
    const FilterRecord* record = GetFilterRecord();
    return record && record->haveMask;
}

VXImage2* VXPSFilter::GetDisplayImage() { return HostHasMask() ? m_shaded_image.get() : m_source_image.get(); }

bool VXPSFilter::EnableAlpha(bool allowed) {
    m_has_alpha = allowed && Record().planes > 3;
    return m_has_alpha;
}

void VXPSFilter::PrepareParameters() {
    FilterRecord& record = Record();
    const HandleProcs* procs = record.handleProcs;
    if (record.parameters) {
        if (!procs || !procs->lockProc) {
            vxThrowCode(paramErr);
        }
        void* block = procs->lockProc(record.parameters, true);
        if (!block) {
            vxThrowCode(memFullErr);
        }
        SetParameterBlock(block);
        ParametersRestored();
        return;
    }
    const std::int32_t size = GetParameterSize();
    if (size == 0) {
        return;
    }
    if (!procs || !procs->newProc || !procs->lockProc) {
        vxThrowCode(paramErr);
    }
    record.parameters = procs->newProc(size);
    if (!record.parameters) {
        vxThrowCode(memFullErr);
    }
    void* block = procs->lockProc(record.parameters, true);
    if (!block) {
        vxThrowCode(memFullErr);
    }
    SetParameterBlock(block);
    InitialiseParameters();
}

void VXPSFilter::CheckAbort() {
    const FilterRecord& record = Record();
    if (record.abortProc && record.abortProc()) {
        vxThrowCode(userCanceledErr);
    }
}

void VXPSFilter::ReportProgress(std::int32_t done, std::int32_t total) {
    const FilterRecord& record = Record();
    if (record.progressProc) {
        record.progressProc(done, total);
    }
}

void VXPSFilter::AdvanceState() {
    const FilterRecord& record = Record();
    if (!record.advanceState) {
        vxThrowCode(paramErr);
    }
    const OSErr error = record.advanceState();
    if (error != noErr) {
        vxThrowCode(error);
    }
}

void VXPSFilter::FilterImage() {
    BeginRender(false);
    FilterRecord& record = Record();
    const std::int32_t planes = m_has_alpha ? 4 : 3;
    const PixelLayout layout = m_has_alpha ? kLayoutRGBA : kLayoutRGB;
    const VXPSRect area = m_filter_rect;
    if (area.isEmpty()) {
        return;
    }
    const std::int32_t columns = (area.width() + kTileSize - 1) / kTileSize;
    const std::int32_t rows = (area.height() + kTileSize - 1) / kTileSize;
    const std::int32_t total = columns * rows;
    const bool masked = record.haveMask;
    if (masked) {
        record.autoMask = false; // the tiles apply the mask themselves
    }
    std::int32_t done = 0;
    for (std::int32_t top = area.top; top < area.bottom; top += kTileSize) {
        for (std::int32_t left = area.left; left < area.right; left += kTileSize) {
            const VXPSRect tile{left, top, std::min(left + kTileSize, area.right),
                                std::min(top + kTileSize, area.bottom)};
            record.inputRate = kFixedOne;
            record.inRect = toHostRect(tile);
            record.inLoPlane = 0;
            record.inHiPlane = static_cast<int16>(planes - 1);
            record.outRect = toHostRect(tile);
            record.outLoPlane = 0;
            record.outHiPlane = static_cast<int16>(planes - 1);
            record.maskRect = masked ? toHostRect(tile) : Rect{0, 0, 0, 0};
            record.maskRate = kFixedOne;
            AdvanceState();
            if (!record.inData || !record.outData || (masked && !record.maskData)) {
                vxThrowCode(paramErr); // a host that serves no pixels cannot be filtered
            }
            const PixelBlock in{static_cast<std::uint8_t*>(record.inData),
                                tile.width(),
                                tile.height(),
                                planes,
                                record.inRowBytes,
                                layout};
            const PixelBlock out{static_cast<std::uint8_t*>(record.outData),
                                 tile.width(),
                                 tile.height(),
                                 planes,
                                 record.outRowBytes,
                                 layout};
            if (masked) {
                const PixelBlock mask{static_cast<std::uint8_t*>(record.maskData),
                                      tile.width(),
                                      tile.height(),
                                      1,
                                      record.maskRowBytes,
                                      kLayoutMask};
                RenderMaskedTile(in, out, mask, tile);
            } else {
                RenderTile(in, out, tile);
            }
            CheckAbort();
            ReportProgress(done, total);
            ++done;
        }
    }
}

bool VXPSFilter::ChooseColour(std::uint32_t& colour) {
    const FilterRecord* record = GetFilterRecord();
    if (!record || !record->colorServices) {
        return false;
    }
    ColorServicesInfo info{};
    info.infoSize = sizeof(ColorServicesInfo);
    info.selector = plugIncolorServicesChooseColor;
    info.sourceSpace = plugIncolorServicesRGBSpace;
    info.resultSpace = plugIncolorServicesRGBSpace;
    info.colorComponents[0] = static_cast<int16>(colour & 0xFF);
    info.colorComponents[1] = static_cast<int16>((colour >> 8) & 0xFF);
    info.colorComponents[2] = static_cast<int16>((colour >> 16) & 0xFF);
    if (record->colorServices(&info) != noErr) {
        return false;
    }
    const auto channel = [](int16 c) { return static_cast<std::uint32_t>(std::clamp<int>(c, 0, 255)); };
    colour = channel(info.colorComponents[0]) | channel(info.colorComponents[1]) << 8 |
             channel(info.colorComponents[2]) << 16;
    return true;
}

void VXPSFilter::GetHelpFilePath(std::string& path) { path = replaceExtension(vxPlatform().modulePath(), ".chm"); }

void VXPSFilter::ShowHelpTopic(const std::string& topic) {
    std::string path;
    GetHelpFilePath(path);
    vxPlatform().showHelp(path + topic);
}

} // namespace morvessan
