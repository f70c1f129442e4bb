// The gallery dialog: fills every control with sample content.
#include "tests/gui/Gallery.h"

#include "VXLib/VXImageFile.h"
#include "windows/dialogs/VXPSColourDialog.h"
#include "windows/dialogs/VXPSProgressDialog.h"
#include "tests/gui/GalleryIds.h"

#include <commctrl.h>

namespace morvessan {

Gallery::Gallery()
    : VXPSPluginDialog(IDD_GALLERY), m_well(m_colours), m_well_off(m_colours), m_gradient(m_colours),
      m_images(m_list_colours), m_dropper(m_colours) {}

bool Gallery::loadBackgroundImage(VXImage2& image) {
    return loadImageResource(vxModuleInstance(), 3016, "IMAGE", ".png", image);
}

bool Gallery::loadOverlayImage(VXImage2& image) {
    return loadImageResource(vxModuleInstance(), 3017, "IMAGE", ".png", image);
}

bool Gallery::onInitDialog() {
    VXPSPluginDialog::onInitDialog();
    m_well.attach(item(IDC_G_WELL));
    m_well.setColour(0x3060C0);
    m_well_off.attach(item(IDC_G_WELL_OFF));
    m_well_off.setColour(0x00A000);
    m_dropper.attach(item(IDC_G_DROPPER));
    m_gradient.attach(item(IDC_G_GRADIENT));
    GradientStops stops;
    stops.addStop();
    stops.setSelectedColour(0xFF2080E0);
    m_gradient.setStops(stops);
    m_images.attach(item(IDC_G_IMAGES));
    const RECT list = m_images.clientRect();
    m_images.setCellSize(list.right / 3, list.bottom);
    const char* captions[] = {"Canvas", "A caption far too long for its cell", "Bricks", "Cells", "Noise"};
    int shade = 40;
    for (const char* caption : captions) {
        const VXThumbnailMetrics metrics = m_images.thumbnailMetrics();
        auto thumbnail = std::make_unique<VXImage2>();
        if (thumbnail->createDIBSection(metrics.width, -metrics.height, 24, nullptr, true)) {
            for (int y = 0; y < metrics.height; ++y) {
                for (int x = 0; x < metrics.width; ++x) {
                    const auto v = static_cast<std::uint32_t>((shade + x * 4 + y * 2) & 0xFF);
                    thumbnail->setPixel(x, y, v | (v << 8) | ((255 - v) << 16));
                }
            }
        }
        m_images.addItem(caption, std::move(thumbnail));
        shade += 50;
    }
    m_images.setSelected(0);
    m_tooltips.add(m_images.hwnd(), "Thumbnails with captions");
    HWND tabs = item(IDC_G_TABS);
    const char* names[] = {"Elements", "Colours", "Effects"};
    for (int i = 0; i < 3; ++i) {
        TCITEMA tab{};
        tab.mask = TCIF_TEXT;
        tab.pszText = const_cast<char*>(names[i]);
        SendMessageA(tabs, TCM_INSERTITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&tab));
    }
    HWND tree = item(IDC_G_TREE);
    TVINSERTSTRUCTA insert{};
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT;
    insert.item.pszText = const_cast<char*>("Essentials");
    HTREEITEM file =
        reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
    insert.hParent = file;
    insert.item.pszText = const_cast<char*>("Skies");
    SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert));
    SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(file));
    for (const char* name : {"Sunset", "Bonfire", "Marble Hall"}) {
        SendMessageA(item(IDC_G_LIST), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
    }
    m_slider.bind(item(IDC_G_SLIDER), item(IDC_G_SLIDER_EDIT), nullptr, [this](double) { ++m_changes; });
    m_number.bind(nullptr, item(IDC_G_NUMBER), item(IDC_G_NUMBER_SPIN), [this](double) { ++m_changes; });
    m_tooltips.add(m_well.hwnd(), "Colour well");
    m_tooltips.add(item(IDC_G_COLOUR), "Opens the colour picker");
    return true;
}

bool Gallery::onCommand(int id, int code, HWND control) {
    if (m_slider.handleCommand(control, code) || m_number.handleCommand(control, code)) {
        return true;
    }
    switch (id) {
    case IDC_G_WELL:
    case IDC_G_COLOUR: {
        std::uint32_t colour = m_well.colour();
        if (VXPSColourDialog::pickColour(m_hwnd, colour)) {
            m_well.setColour(colour);
        }
        return true;
    }
    case IDC_G_PROGRESS: runProgress(m_hwnd, 100); return true;
    case IDC_G_GRADIENT: ++m_gradient_notes; return true;
    case IDC_G_DROPPER:
        if (code == VXPSDropperButton::kDropperMoved || code == VXPSDropperButton::kDropperPicked) {
            m_well.setColour(m_dropper.colourUnderPointer());
        }
        return true;
    default: break;
    }
    return VXPSPluginDialog::onCommand(id, code, control);
}

std::optional<LRESULT> Gallery::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_HSCROLL && m_slider.handleScroll(reinterpret_cast<HWND>(lParam))) {
        return 0;
    }
    if (message == WM_NOTIFY && m_number.handleNotify(*reinterpret_cast<const NMHDR*>(lParam))) {
        return 0;
    }
    return VXPSPluginDialog::onMessage(message, wParam, lParam);
}

int runProgress(HWND owner, int steps) {
    SetActiveWindow(owner);
    VXPSProgressDialog progress("Loading Textures...");
    progress.SetRange(0, steps);
    progress.SetPosition(0);
    if (!progress.Create()) {
        return 0;
    }
    int done = 0;
    while (done < steps) {
        Sleep(20);
        ++done;
        progress.SetPosition(done);
        if (!progress.Pump()) {
            break;
        }
    }
    return done;
}

} // namespace morvessan
