// The skinned dialog base: composing the skin, erasing with it, and giving
// labels and check boxes a brush that continues the skin behind them.
#include "windows/dialogs/VXPSPluginDialog.h"

#include "dialog/VXSkin.h"

#include <cstring>

namespace morvessan {

namespace {

COLORREF asColour(std::uint32_t value) { return static_cast<COLORREF>(value & 0xFFFFFF); }

} // namespace

VXPSPluginDialog::VXPSPluginDialog(int templateId)
    : VXDialog(templateId), m_colours(VXColourScheme::dialogDefaults()),
      m_list_colours(VXColourScheme::listBoxDefaults()) {}

VXPSPluginDialog::~VXPSPluginDialog() = default;

bool VXPSPluginDialog::onInitDialog() {
    composeSkin();
    m_tooltips.create(m_hwnd);
    return true;
}

void VXPSPluginDialog::composeSkin() {
    m_skin.reset();
    m_skin_brush.reset();
    m_skin_section.reset();
    m_face_brush.reset(CreateSolidBrush(asColour(m_colours[VXColourRole::Face])));
    m_edit_brush.reset(CreateSolidBrush(asColour(m_colours[VXColourRole::Background])));
    VXImage2 background;
    if (!loadBackgroundImage(background)) {
        return;
    }
    VXImage2 overlay;
    const bool haveOverlay = loadOverlayImage(overlay);
    m_skin = morvessan::composeSkin(&background, haveOverlay ? &overlay : nullptr, m_colours);
    if (!m_skin) {
        return;
    }
    // The picture is drawn for dialog units of 1.5 x 1.625 pixels (96 DPI); with
    // larger fonts or DPI it grows with the units, so that it still covers the dialog
    // as the controls are laid out on it.
    RECT units{0, 0, 400, 400};
    MapDialogRect(m_hwnd, &units);
    const int width = units.right > 0 ? static_cast<int>(static_cast<long long>(m_skin->width()) * units.right / 600)
                                      : m_skin->width();
    const int height = units.bottom > 0
                           ? static_cast<int>(static_cast<long long>(m_skin->height()) * units.bottom / 650)
                           : m_skin->height();
    // A section with its own context makes every tile a plain block copy.
    if (!m_skin_section.createDIBSection(width, height, 24, nullptr, true)) {
        m_skin.reset();
        return;
    }
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = m_skin->width();
    info.bmiHeader.biHeight = m_skin->isTopDown() ? -m_skin->height() : m_skin->height();
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    HDC section = static_cast<HDC>(m_skin_section.deviceContext());
    SetStretchBltMode(section, HALFTONE);
    SetBrushOrgEx(section, 0, 0, nullptr);
    StretchDIBits(section, 0, 0, width, height, 0, 0, m_skin->width(), m_skin->height(), m_skin->bits(), &info,
                  DIB_RGB_COLORS, SRCCOPY);
    GdiFlush();
    if (width != m_skin->width() || height != m_skin->height()) {
        auto scaled = std::make_unique<VXImage2>();
        if (scaled->create(width, height, 24)) {
            for (int y = 0; y < height; ++y) {
                std::memcpy(scaled->row(y), m_skin_section.row(y), static_cast<std::size_t>(width) * 3);
            }
        }
        m_skin = std::move(scaled);
    }
    m_skin_brush.reset(CreatePatternBrush(static_cast<HBITMAP>(m_skin_section.section())));
}

POINT VXPSPluginDialog::skinOffset() const {
    // A page at (x, y) in the dialog that draws the skin starts its tiles x, y
    // before its own corner, so the picture runs on without a seam.
    POINT position{0, 0};
    if (m_skin_source && m_skin_source->hwnd()) {
        MapWindowPoints(m_hwnd, m_skin_source->hwnd(), &position, 1);
    }
    return POINT{-position.x, -position.y};
}

bool VXPSPluginDialog::drawBackground(HDC dc, const RECT& rect, POINT offset) {
    if (!m_skin || !m_skin_section.deviceContext()) {
        return false;
    }
    const PixelRect area{rect.left, rect.top, rect.right, rect.bottom};
    for (const VXSkinTile& tile : skinTiles(area, offset.x, offset.y, m_skin->width(), m_skin->height())) {
        BitBlt(dc, tile.x, tile.y, tile.width, tile.height, static_cast<HDC>(m_skin_section.deviceContext()),
               tile.sourceX, tile.sourceY, SRCCOPY);
    }
    return true;
}

HBRUSH VXPSPluginDialog::controlBrush(HDC dc, HWND control) {
    SetTextColor(dc, asColour(m_colours[IsWindowEnabled(control) ? VXColourRole::Text : VXColourRole::GreyText]));
    SetBkMode(dc, TRANSPARENT);
    VXPSPluginDialog* source = m_skin_source ? m_skin_source : this;
    if (!source->m_skin_brush) {
        SetBkColor(dc, asColour(m_colours[VXColourRole::Face]));
        return m_face_brush.get();
    }
    // The brush's origin follows the control so the skin continues behind it.
    POINT origin{0, 0};
    MapWindowPoints(control, source->hwnd(), &origin, 1);
    SetBrushOrgEx(dc, -origin.x, -origin.y, nullptr);
    return source->m_skin_brush.get();
}

void VXPSPluginDialog::drawButton(const DRAWITEMSTRUCT& item) const {
    const RECT& rect = item.rcItem;
    const bool pressed = (item.itemState & ODS_SELECTED) != 0;
    const bool disabled = (item.itemState & ODS_DISABLED) != 0;
    HDC dc = item.hDC;
    vxFillRect(dc, rect, asColour(m_colours[pressed ? VXColourRole::Selected : VXColourRole::Face]));
    const COLORREF light = asColour(m_colours[VXColourRole::Highlight]);
    const COLORREF dark = asColour(m_colours[VXColourRole::DarkShadow]);
    vxDrawEdge(dc, rect, pressed ? dark : light, pressed ? light : dark);
    RECT inner{rect.left + 1, rect.top + 1, rect.right - 1, rect.bottom - 1};
    vxDrawEdge(dc, inner,
               pressed ? asColour(m_colours[VXColourRole::Shadow]) : asColour(m_colours[VXColourRole::Light]),
               asColour(m_colours[VXColourRole::Shadow]));
    char text[128] = {};
    GetWindowTextA(item.hwndItem, text, sizeof(text));
    VXSelectObject font(dc, vxWindowFont(item.hwndItem));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, asColour(m_colours[disabled ? VXColourRole::GreyText : VXColourRole::Text]));
    RECT textRect = rect;
    if (pressed) {
        OffsetRect(&textRect, 1, 1);
    }
    DrawTextA(dc, text, -1, &textRect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    if ((item.itemState & ODS_FOCUS) != 0 && (item.itemState & ODS_NOFOCUSRECT) == 0) {
        RECT focus{rect.left + 3, rect.top + 3, rect.right - 3, rect.bottom - 3};
        DrawFocusRect(dc, &focus);
    }
}

std::optional<LRESULT> VXPSPluginDialog::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND: {
        RECT client{};
        GetClientRect(m_hwnd, &client);
        VXPSPluginDialog* source = m_skin_source ? m_skin_source : this;
        if (source->drawBackground(reinterpret_cast<HDC>(wParam), client, skinOffset())) {
            return TRUE;
        }
        vxFillRect(reinterpret_cast<HDC>(wParam), client, asColour(m_colours[VXColourRole::Face]));
        return TRUE;
    }
    case WM_SYSCOLORCHANGE:
        composeSkin();
        InvalidateRect(m_hwnd, nullptr, TRUE);
        return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
        return reinterpret_cast<LRESULT>(controlBrush(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)));
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX: {
        HDC dc = reinterpret_cast<HDC>(wParam);
        SetTextColor(dc, asColour(m_colours[VXColourRole::Text]));
        SetBkColor(dc, asColour(m_colours[VXColourRole::Background]));
        return reinterpret_cast<LRESULT>(m_edit_brush.get());
    }
    case WM_DRAWITEM: {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (item->CtlType == ODT_BUTTON) {
            drawButton(*item);
            return TRUE;
        }
        break;
    }
    default: break;
    }
    return std::nullopt;
}

} // namespace morvessan
