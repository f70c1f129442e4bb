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
    // The tiles are read and written as `planes` bytes a pixel, one after another.
    // A host that says its pixels lie further apart (padded columns) or its planes
    // apart from each other (planar data) would have its pixels mixed up: that is
    // refused before a byte is written. Zero is what hosts that never set the
    // fields leave, and means the plain layout.
    const auto plain = [planes](std::int32_t columnBytes, std::int32_t planeBytes) {
        return (columnBytes == 0 || columnBytes == planes) && (planeBytes == 0 || planeBytes == 1);
    };
    if ((!in.isEmpty() && !plain(record.inColumnBytes, record.inPlaneBytes)) ||
        (!out.isEmpty() && !plain(record.outColumnBytes, record.outPlaneBytes))) {
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
    // Tiles along a row come from the host together, as one area, when the
    // filter can take several at once.
    const std::int32_t across = std::max<std::int32_t>(1, TilesAtOnce());
    std::vector<TileWork> tiles;
    std::int32_t done = 0;
    for (std::int32_t top = area.top; top < area.bottom; top += kTileSize) {
        const std::int32_t bottom = std::min(top + kTileSize, area.bottom);
        for (std::int32_t left = area.left; left < area.right; left += across * kTileSize) {
            const VXPSRect group{left, top, std::min<std::int32_t>(left + across * kTileSize, area.right), bottom};
            const VXPSRect maskGroup = masked ? group : VXPSRect{};
            record.inputRate = kFixedOne;
            record.inLoPlane = 0;
            record.inHiPlane = static_cast<int16>(planes - 1);
            record.outLoPlane = 0;
            record.outHiPlane = static_cast<int16>(planes - 1);
            record.maskRate = kFixedOne;
            AskHost(group, group, maskGroup);
            AdvanceState();
            CheckServed(group, group, maskGroup, group.width(), planes);
            tiles.clear();
            for (std::int32_t tileLeft = group.left; tileLeft < group.right; tileLeft += kTileSize) {
                const VXPSRect tile{tileLeft, top, std::min(tileLeft + kTileSize, group.right), bottom};
                const std::size_t offset = static_cast<std::size_t>(tileLeft - group.left);
                TileWork work;
                work.in = PixelBlock{static_cast<std::uint8_t*>(record.inData) + offset * planes,
                                     tile.width(),
                                     tile.height(),
                                     planes,
                                     record.inRowBytes,
                                     layout};
                work.out = PixelBlock{static_cast<std::uint8_t*>(record.outData) + offset * planes,
                                      tile.width(),
                                      tile.height(),
                                      planes,
                                      record.outRowBytes,
                                      layout};
                if (masked) {
                    work.mask = PixelBlock{static_cast<std::uint8_t*>(record.maskData) + offset,
                                           tile.width(),
                                           tile.height(),
                                           1,
                                           record.maskRowBytes,
                                           kLayoutMask};
                }
                work.rect = tile;
                tiles.push_back(work);
            }
            RenderTiles(tiles);
            CheckAbort();
            ReportProgress(done, total);
            done += static_cast<std::int32_t>(tiles.size());
        }
    }
}

void VXPSFilter::RenderTiles(const std::vector<TileWork>& tiles) {
    for (const TileWork& tile : tiles) {
        if (tile.mask.data) {
            RenderMaskedTile(tile.in, tile.out, tile.mask, tile.rect);
        } else {
            RenderTile(tile.in, tile.out, tile.rect);
        }
    }
}

} // namespace morvessan
