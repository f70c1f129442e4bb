// Locator rectangle conversions and clamping, integer arithmetic throughout.
#include "dialog/VXPSLocatorGeometry.h"

#include "dialog/PSMorvessanChange.h"
#include "dialog/VXPSPreviewSession.h"

#include <algorithm>
#include <cstdint>

namespace morvessan {

namespace {

int scaled(std::int64_t value, std::int64_t numerator, std::int64_t denominator) {
    return denominator == 0 ? 0 : static_cast<int>(value * numerator / denominator);
}

} // namespace

PixelRect locatorToClient(const VXPSRect& image, const VXPSRect& filter, const PixelRect& client) {
    const int fw = filter.width();
    const int fh = filter.height();
    return {scaled(image.left - filter.left, client.width(), fw) + client.left,
            scaled(image.top - filter.top, client.height(), fh) + client.top,
            scaled(image.right - filter.left, client.width(), fw) + client.left,
            scaled(image.bottom - filter.top, client.height(), fh) + client.top};
}

VXPSRect locatorToImage(const PixelRect& rect, const VXPSRect& filter, const PixelRect& client) {
    const int cw = client.width();
    const int ch = client.height();
    return {filter.left + scaled(rect.left - client.left, filter.width(), cw),
            filter.top + scaled(rect.top - client.top, filter.height(), ch),
            filter.left + scaled(rect.right - client.left, filter.width(), cw),
            filter.top + scaled(rect.bottom - client.top, filter.height(), ch)};
}

VXPSRect keepInsideFilter(VXPSRect r, const VXPSRect& f) {
    r = shiftInside(r, f);
    r.right = std::min(r.right, f.right);
    r.bottom = std::min(r.bottom, f.bottom);
    return r;
}

void VXPSLocatorModel::open(int clientWidth, int clientHeight) {
    open(m_preview.GetFilterRect(), m_preview.GetPreviewRect(), clientWidth, clientHeight);
}

void VXPSLocatorModel::open(const VXPSRect& filterRect, const VXPSRect& previewRect, int clientWidth,
                            int clientHeight) {
    m_filter_rect = filterRect;
    m_client = {0, 0, clientWidth, clientHeight};
    m_image_rect = previewRect;
    m_client_rect = locatorToClient(m_image_rect, m_filter_rect, m_client);
    m_width = m_client_rect.width();
    m_height = m_client_rect.height();
}

void VXPSLocatorModel::move(int x, int y) {
    // The size taken on opening, so that rounding in the conversions never shrinks it.
    const int left = x - m_width / 2;
    const int top = y - m_height / 2;
    const PixelRect centred{left, top, left + m_width, top + m_height};
    m_image_rect = keepInsideFilter(locatorToImage(centred, m_filter_rect, m_client), m_filter_rect);
    m_client_rect = locatorToClient(m_image_rect, m_filter_rect, m_client);
}

unsigned VXPSLocatorModel::release(int x, int y) {
    move(x, y);
    m_preview.SetPreviewRect(m_image_rect);
    return kChangeAllPreviews;
}

} // namespace morvessan
