// The filter driver's tile loop: the filter rectangle requested from the host tile
// by tile, each rendered through the plug-in, with progress and the user's abort.
#include "plugin/VXPSFilter.h"

#include "plugin/HostRects.h"
#include "plugin/VXPSErrors.h"

#include <algorithm>

namespace morvessan {

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

namespace {

bool sameRect(const Rect& a, const Rect& b) {
    return a.top == b.top && a.left == b.left && a.bottom == b.bottom && a.right == b.right;
}

} // namespace

void VXPSFilter::CheckServed(const Rect& in, const Rect& out, const Rect& mask, std::int32_t width,
                             std::int32_t planes) {
    const FilterRecord& record = Record();
    const std::int64_t pixelRow = static_cast<std::int64_t>(width) * planes;
    const auto served = [&](const Rect& asked, const Rect& given, const void* data, std::int32_t rowBytes,
                            std::int64_t rowLength) {
        return isEmptyHostRect(asked) || (data && sameRect(asked, given) && rowBytes >= rowLength);
    };
    // A host that clipped a rectangle, or whose rows are shorter than the tile,
    // would have the tile read and written past its buffers.
    if (!served(in, record.inRect, record.inData, record.inRowBytes, pixelRow) ||
        !served(out, record.outRect, record.outData, record.outRowBytes, pixelRow) ||
        !served(mask, record.maskRect, record.maskData, record.maskRowBytes, width)) {
        vxThrowCode(paramErr);
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
            const Rect asked = toHostRect(tile);
            AdvanceState();
            CheckServed(asked, asked, masked ? asked : Rect{0, 0, 0, 0}, tile.width(), planes);
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

} // namespace morvessan
