// The filter driver's preview side: zoom levels, the preview rectangle, scrolling,
// and the five proxies fetched from the host at reduced sampling rates.
#include "VXLib/VXImage2.h"
#include "VXLib/VXPalette.h"
#include "plugin/HostRects.h"
#include "plugin/VXPSErrors.h"
#include "plugin/VXPSFilter.h"

#include <algorithm>

namespace morvessan {

namespace {

// Zoom level at which `filterSize` image pixels fit `previewSize` preview pixels.
std::int32_t fittingLevel(std::int32_t filterSize, std::int32_t previewSize) {
    filterSize = std::max(filterSize, 1);
    previewSize = std::max(previewSize, 1);
    if (filterSize < previewSize) {
        return 2 - previewSize / filterSize;
    }
    return (filterSize + previewSize - 1) / previewSize;
}

// Rounds a move away from zero to a multiple of `factor`.
std::int32_t roundAway(std::int32_t move, std::int32_t factor) {
    if (move > 0) {
        return (move + factor - 1) / factor * factor;
    }
    if (move < 0) {
        return -((-move + factor - 1) / factor * factor);
    }
    return 0;
}

} // namespace

void VXPSFilter::SetPreviewSize(std::int32_t width, std::int32_t height) {
    m_tiled_view = false; // each dialog's preview opens on the plain view
    m_preview_width = width;
    m_preview_height = height;
    const std::int32_t level =
        std::max(fittingLevel(m_filter_rect.width(), width), fittingLevel(m_filter_rect.height(), height));
    m_zoom_out_limit = level;
    m_zoom_in_limit = std::min(kZoomInLimit, level);
    m_zoom = level;
    m_preview_rect = m_filter_rect;
    RebuildPreview();
}

void VXPSFilter::GetVisibleSize(std::int32_t& width, std::int32_t& height) const {
    if (m_zoom <= 0) {
        width = m_preview_width / (2 - m_zoom);
        height = m_preview_height / (2 - m_zoom);
    } else {
        width = m_preview_width * m_zoom;
        height = m_preview_height * m_zoom;
    }
    width = std::min(width, m_filter_rect.width());
    height = std::min(height, m_filter_rect.height());
}

void VXPSFilter::ZoomIn() {
    if (!CanZoomIn()) {
        return;
    }
    const VXPSRect old = m_preview_rect;
    --m_zoom;
    std::int32_t w = 0;
    std::int32_t h = 0;
    GetVisibleSize(w, h);
    const std::int32_t left = (old.left + old.right) / 2 - w / 2;
    const std::int32_t top = (old.top + old.bottom) / 2 - h / 2;
    SetPreviewRect({left, top, left + w, top + h});
}

void VXPSFilter::ZoomOut() {
    if (!CanZoomOut()) {
        return;
    }
    const VXPSRect old = m_preview_rect;
    ++m_zoom;
    std::int32_t w = 0;
    std::int32_t h = 0;
    GetVisibleSize(w, h);
    const std::int32_t left = (old.left + old.right) / 2 - w / 2;
    const std::int32_t top = (old.top + old.bottom) / 2 - h / 2;
    SetPreviewRect({left, top, left + w, top + h});
}

void VXPSFilter::SetPreviewRect(const VXPSRect& rect) {
    std::int32_t w = 0;
    std::int32_t h = 0;
    GetVisibleSize(w, h);
    m_preview_rect = shiftInside(VXPSRect{rect.left, rect.top, rect.left + w, rect.top + h}, m_filter_rect);
    RebuildPreview();
}

void VXPSFilter::RebuildPreview() {
    BuildSourceImage();
    BuildShadedImage();
    BuildMaskImage();
    BuildOutputImage();
}

void VXPSFilter::ScrollPreview(std::int32_t dx, std::int32_t dy) {
    ScrollAxis(dy, true);
    ScrollAxis(dx, false);
}

void VXPSFilter::ScrollAxis(std::int32_t move, bool vertical) {
    const std::int32_t f = SampleFactor();
    move = roundAway(move, f);
    VXPSRect& r = m_preview_rect;
    const std::int32_t low = vertical ? m_filter_rect.top - r.top : m_filter_rect.left - r.left;
    const std::int32_t high = vertical ? m_filter_rect.bottom - r.bottom : m_filter_rect.right - r.right;
    move = std::clamp(move, std::min(low, 0), std::max(high, 0));
    if (move == 0) {
        return;
    }
    if (move % f != 0) {
        // Stopped at the filter's edge between two proxy pixels: the proxies no
        // longer line up with a shifted copy, so they are made anew.
        if (vertical) {
            r.top += move;
            r.bottom += move;
        } else {
            r.left += move;
            r.right += move;
        }
        RebuildPreview();
        return;
    }
    const std::int32_t shift = -move / f;
    for (VXImage2* image : {m_source_image.get(), m_shaded_image.get(), m_mask_image.get(), m_output_image.get()}) {
        if (image) {
            if (vertical) {
                image->shiftRows(shift);
            } else {
                image->shiftColumns(shift);
            }
        }
    }
    VXPSRect band;
    if (vertical) {
        r.top += move;
        r.bottom += move;
        band = move > 0 ? VXPSRect{r.left, std::max(r.top, r.bottom - move), r.right, r.bottom}
                        : VXPSRect{r.left, r.top, r.right, std::min(r.bottom, r.top - move)};
    } else {
        r.left += move;
        r.right += move;
        band = move > 0 ? VXPSRect{std::max(r.left, r.right - move), r.top, r.right, r.bottom}
                        : VXPSRect{r.left, r.top, std::min(r.right, r.left - move), r.bottom};
    }
    UpdateSourceImage(band);
    UpdateShadedImage(band);
    UpdateMaskImage(band);
    UpdateOutputImage(band);
}

VXPSRect VXPSFilter::ReducedRect(const VXPSRect& rect) const {
    const std::int32_t f = SampleFactor();
    return {rect.left / f, rect.top / f, rect.right / f, rect.bottom / f};
}

PixelBlock VXPSFilter::ImageBlock(VXImage2& image) {
    const int bytes = image.bitCount() / 8;
    PixelLayout layout = kLayoutBGR;
    if (bytes == 4) {
        layout = kLayoutBGRA;
    } else if (bytes == 1) {
        layout = kLayoutMask;
    }
    return PixelBlock{image.row(0), image.width(), image.height(), bytes, static_cast<std::int32_t>(image.stride()),
                      layout};
}

PixelBlock VXPSFilter::ProxyBlock(VXImage2& image, const VXPSRect& rect) const {
    const VXPSRect whole = ReducedRect(m_preview_rect);
    const VXPSRect part = ReducedRect(rect);
    const PixelBlock block = ImageBlock(image);
    const std::int32_t x = std::clamp(part.left - whole.left, 0, block.width);
    const std::int32_t y = std::clamp(part.top - whole.top, 0, block.height);
    const std::int32_t w = std::clamp(part.width(), 0, block.width - x);
    const std::int32_t h = std::clamp(part.height(), 0, block.height - y);
    return block.sub(x, y, w, h);
}

std::unique_ptr<VXImage2> VXPSFilter::MakeProxy(const VXPSRect& reduced, ProxyKind kind) const {
    if (reduced.isEmpty()) {
        return nullptr;
    }
    auto image = std::make_unique<VXImage2>();
    bool made = false;
    if (kind == ProxyKind::Mask) {
        const VXPalette grey = VXPalette::greyPalette();
        made = image->create(reduced.width(), reduced.height(), 8, &grey);
    } else {
        made = image->create(reduced.width(), reduced.height(), m_has_alpha ? 32 : 24);
        image->setHasAlpha(m_has_alpha);
    }
    if (!made) {
        vxThrowCode(memFullErr);
    }
    return image;
}

// Asks the host for `reduced` at `rate` and copies it into `image` at (x, y),
// turning the host's red-green-blue order into the screen's blue-green-red.
void VXPSFilter::FetchProxy(VXImage2& image, std::int32_t x, std::int32_t y, const VXPSRect& reduced, std::int32_t rate,
                            ProxyKind kind) {
    if (reduced.isEmpty()) {
        return;
    }
    FilterRecord& record = Record();
    const std::int32_t planes = m_has_alpha ? 4 : 3;
    const bool wantPixels = kind != ProxyKind::Mask;
    const bool wantMask = kind == ProxyKind::Mask || kind == ProxyKind::Shaded;
    const VXPSRect askedIn = wantPixels ? reduced : VXPSRect{};
    const VXPSRect askedMask = wantMask ? reduced : VXPSRect{};
    AskHost(askedIn, VXPSRect{}, askedMask);
    record.inLoPlane = 0;
    record.inHiPlane = static_cast<int16>(planes - 1);
    record.inputRate = rate * kFixedOne;
    record.maskRate = rate * kFixedOne;
    AdvanceState();
    CheckServed(askedIn, VXPSRect{}, askedMask, reduced.width(), planes);
    const PixelBlock target = ImageBlock(image).sub(x, y, reduced.width(), reduced.height());
    for (std::int32_t row = 0; row < target.height; ++row) {
        std::uint8_t* d = target.row(row);
        const std::uint8_t* s = wantPixels ? static_cast<const std::uint8_t*>(record.inData) +
                                                 static_cast<std::intptr_t>(row) * record.inRowBytes
                                           : nullptr;
        const std::uint8_t* m = wantMask ? static_cast<const std::uint8_t*>(record.maskData) +
                                               static_cast<std::intptr_t>(row) * record.maskRowBytes
                                         : nullptr;
        if (kind == ProxyKind::Mask) {
            std::copy(m, m + target.width, d);
            continue;
        }
        for (std::int32_t col = 0; col < target.width; ++col, s += planes, d += planes) {
            if (kind == ProxyKind::Shaded) {
                const unsigned weight = m[col] + 255u;
                d[0] = static_cast<std::uint8_t>((weight * s[2]) >> 9);
                d[1] = static_cast<std::uint8_t>((weight * s[1]) >> 9);
                d[2] = static_cast<std::uint8_t>((weight * s[0]) >> 9);
            } else {
                d[0] = s[2];
                d[1] = s[1];
                d[2] = s[0];
            }
            if (planes == 4) {
                d[3] = s[3];
            }
        }
    }
}

void VXPSFilter::FetchWholeProxy(std::unique_ptr<VXImage2>& proxy, ProxyKind kind) {
    proxy.reset();
    const VXPSRect reduced = ReducedRect(m_preview_rect);
    proxy = MakeProxy(reduced, kind);
    if (proxy) {
        FetchProxy(*proxy, 0, 0, reduced, SampleFactor(), kind);
    }
}

void VXPSFilter::FetchProxyBand(VXImage2& proxy, ProxyKind kind, const VXPSRect& rect) {
    const VXPSRect whole = ReducedRect(m_preview_rect);
    const VXPSRect part = ReducedRect(rect);
    FetchProxy(proxy, part.left - whole.left, part.top - whole.top, part, SampleFactor(), kind);
}

void VXPSFilter::BuildSourceImage() { FetchWholeProxy(m_source_image, ProxyKind::Source); }

void VXPSFilter::UpdateSourceImage(const VXPSRect& rect) {
    if (!m_source_image) {
        BuildSourceImage();
        return;
    }
    FetchProxyBand(*m_source_image, ProxyKind::Source, rect);
}

void VXPSFilter::BuildShadedImage() {
    if (HostHasMask()) {
        FetchWholeProxy(m_shaded_image, ProxyKind::Shaded);
    }
}

void VXPSFilter::UpdateShadedImage(const VXPSRect& rect) {
    if (!HostHasMask()) {
        return;
    }
    if (!m_shaded_image) {
        BuildShadedImage();
        return;
    }
    FetchProxyBand(*m_shaded_image, ProxyKind::Shaded, rect);
}

void VXPSFilter::BuildMaskImage() {
    if (HostHasMask()) {
        FetchWholeProxy(m_mask_image, ProxyKind::Mask);
    }
}

void VXPSFilter::UpdateMaskImage(const VXPSRect& rect) {
    if (!HostHasMask()) {
        return;
    }
    if (!m_mask_image) {
        BuildMaskImage();
        return;
    }
    FetchProxyBand(*m_mask_image, ProxyKind::Mask, rect);
}

void VXPSFilter::BuildOutputImage() {
    m_output_image.reset();
    if (!m_source_image) {
        return;
    }
    const VXPSRect reduced = ReducedRect(m_preview_rect);
    m_output_image = MakeProxy(reduced, ProxyKind::Source);
    if (m_output_image) {
        if (m_tiled_view) {
            RenderTiledProxy();
        } else {
            RenderProxy(m_preview_rect);
        }
    }
}

void VXPSFilter::SetTiledView(bool on) {
    if (on != m_tiled_view) {
        m_tiled_view = on;
        BuildOutputImage();
    }
}

void VXPSFilter::RenderTiledProxy() {
    VXImage2& output = *m_output_image;
    const std::int32_t width = output.width();
    const std::int32_t height = output.height();
    const std::int32_t halfWidth = std::max((width + 1) / 2, 1);
    const std::int32_t halfHeight = std::max((height + 1) / 2, 1);
    VXImage2 half;
    if (!half.create(halfWidth, halfHeight, output.bitCount())) {
        vxThrowCode(memFullErr);
    }
    half.setHasAlpha(output.hasAlpha());
    // The source under the copies: the overview holds the whole rectangle; before
    // it is made, the source proxy stands in.
    VXImage2* source = m_overview_image ? m_overview_image.get() : m_source_image.get();
    const PixelBlock in = ImageBlock(*source);
    const PixelBlock out = ImageBlock(half);
    if (in.width <= 0 || in.height <= 0 || in.bytesPerPixel != out.bytesPerPixel) {
        return;
    }
    for (std::int32_t y = 0; y < halfHeight; ++y) {
        const std::uint8_t* from = in.row(static_cast<std::int32_t>(std::int64_t{y} * in.height / halfHeight));
        std::uint8_t* to = out.row(y);
        for (std::int32_t x = 0; x < halfWidth; ++x) {
            const std::int32_t sx = static_cast<std::int32_t>(std::int64_t{x} * in.width / halfWidth);
            std::copy_n(from + std::intptr_t{sx} * in.bytesPerPixel, in.bytesPerPixel,
                        to + std::intptr_t{x} * out.bytesPerPixel);
        }
    }
    BeginRender(true);
    RenderTile(out, out, m_filter_rect);
    const PixelBlock shown = ImageBlock(output);
    for (std::int32_t y = 0; y < height; ++y) {
        const std::uint8_t* from = out.row(y % halfHeight);
        std::uint8_t* to = shown.row(y);
        for (std::int32_t x = 0; x < width; ++x) {
            std::copy_n(from + std::intptr_t{x % halfWidth} * out.bytesPerPixel, out.bytesPerPixel,
                        to + std::intptr_t{x} * shown.bytesPerPixel);
        }
    }
}

void VXPSFilter::UpdateOutputImage(const VXPSRect& rect) {
    if (!m_output_image || m_tiled_view) {
        BuildOutputImage();
        return;
    }
    RenderProxy(rect);
}

// Renders the part of the output proxy that shows `rect` from the source proxy.
void VXPSFilter::RenderProxy(const VXPSRect& rect) {
    if (!m_source_image || !m_output_image) {
        return;
    }
    const PixelBlock in = ProxyBlock(*m_source_image, rect);
    const PixelBlock out = ProxyBlock(*m_output_image, rect);
    if (in.width == 0 || in.height == 0) {
        return;
    }
    BeginRender(true);
    if (HostHasMask() && m_mask_image) {
        RenderMaskedTile(in, out, ProxyBlock(*m_mask_image, rect), rect);
    } else {
        RenderTile(in, out, rect);
    }
}

void VXPSFilter::BuildOverviewImage(std::int32_t width, std::int32_t height) {
    m_overview_image.reset();
    const std::int32_t fw = m_filter_rect.width();
    const std::int32_t fh = m_filter_rect.height();
    const std::int32_t f = std::max({fw / std::max(width, 1), fh / std::max(height, 1), 1});
    const VXPSRect reduced{m_filter_rect.left / f, m_filter_rect.top / f, m_filter_rect.right / f,
                           m_filter_rect.bottom / f};
    m_overview_image = MakeProxy(reduced, ProxyKind::Overview);
    if (m_overview_image) {
        FetchProxy(*m_overview_image, 0, 0, reduced, f, ProxyKind::Overview);
    }
}

} // namespace morvessan
