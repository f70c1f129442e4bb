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

void VXPSFilter::AskHost(const VXPSRect& in, const VXPSRect& out, const VXPSRect& mask) {
    FilterRecord& record = Record();
    record.inRect = toHostRect(in);
    record.outRect = toHostRect(out);
    record.maskRect = toHostRect(mask);
    if (BigDocumentStruct* big = BigDocument()) {
        big->inRect32 = toHostVRect(in);
        big->outRect32 = toHostVRect(out);
        big->maskRect32 = toHostVRect(mask);
    }
}

void VXPSFilter::CheckServed(const VXPSRect& in, const VXPSRect& out, const VXPSRect& mask, std::int32_t width,
                             std::int32_t planes) {
    const FilterRecord& record = Record();
    const BigDocumentStruct* big = BigDocument();
    const std::int64_t pixelRow = static_cast<std::int64_t>(width) * planes;
    // The rectangle the host says it served, in the coordinates this run reads.
    const auto served = [&](const VXPSRect& asked, const Rect& given, const VRect* given32, const void* data,
                            std::int32_t rowBytes, std::int64_t rowLength) {
        if (!big) {
            const Rect narrow = toHostRect(asked);
            return isEmptyHostRect(narrow) || (data && sameHostRect(narrow, given) && rowBytes >= rowLength);
        }
        return asked.isEmpty() || (data && sameHostRect(toHostVRect(asked), *given32) && rowBytes >= rowLength);
    };
    // A host that clipped a rectangle, or whose rows are shorter than the tile,
    // would have the tile read and written past its buffers.
    if (!served(in, record.inRect, big ? &big->inRect32 : nullptr, record.inData, record.inRowBytes, pixelRow) ||
        !served(out, record.outRect, big ? &big->outRect32 : nullptr, record.outData, record.outRowBytes, pixelRow) ||
        !served(mask, record.maskRect, big ? &big->maskRect32 : nullptr, record.maskData, record.maskRowBytes, width)) {
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
            const VXPSRect maskTile = masked ? tile : VXPSRect{};
            record.inputRate = kFixedOne;
            record.inLoPlane = 0;
            record.inHiPlane = static_cast<int16>(planes - 1);
            record.outLoPlane = 0;
            record.outHiPlane = static_cast<int16>(planes - 1);
            record.maskRate = kFixedOne;
            AskHost(tile, tile, maskTile);
            AdvanceState();
            CheckServed(tile, tile, maskTile, tile.width(), planes);
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
