// The Manage Presets dialog where a user meets it: the module in a host under
// Wine, the main dialog's "Manage Presets" button, and the tree, buttons, name
// dialogs and message boxes driven with window messages from a second thread.
#include "host/FilterHost.h"
#include "host/win32/VXPSModule.h"
#include "presets/PresetFile.h"
#include "presets/PresetMessages.h"
#include "resources/dialogs/DialogIds.h"
#include "tests/gui/Capture.h"
#include "tests/gui/WindowSearch.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <thread>

using namespace morvessan;
namespace fs = std::filesystem;

namespace {

const bool g_dpi_aware = SetProcessDPIAware() != FALSE;

// A visible top-level dialog titled `title` that `accept` takes, waited for up to ten seconds.
HWND waitForDialog(const char* title, const std::function<bool(HWND)>& accept = {}) {
    for (int i = 0; i < 1000; ++i) {
        HWND window = nullptr;
        while ((window = FindWindowExA(nullptr, window, "#32770", title)) != nullptr) {
            if (IsWindowVisible(window) && (!accept || accept(window))) {
                Sleep(100); // let it finish painting
                return window;
            }
        }
        Sleep(10);
    }
    return nullptr;
}

// A message box (any caption when null): a dialog with its text in the static
// control 0xFFFF that is none of the plug-in's own dialogs.
HWND waitForMessageBox(const char* caption) {
    return waitForDialog(caption, [](HWND box) {
        return GetDlgItem(box, 0xFFFF) && !GetDlgItem(box, IDC_ORIGINAL_IMAGE) && !GetDlgItem(box, IDC_PRESET_TREE) &&
               !GetDlgItem(box, IDC_NAME) && !GetDlgItem(box, IDC_SUBMIT_DESCRIPTION);
    });
}

bool waitUntilGone(HWND window) {
    for (int i = 0; i < 1000 && IsWindow(window); ++i) {
        Sleep(10);
    }
    return !IsWindow(window);
}

// A click that may open a modal dialog: posted, so this thread stays free to answer it.
void postClick(HWND dialog, int id) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

// --- The tree, read and steered from outside.
HTREEITEM nextItem(HWND tree, HTREEITEM item, WPARAM which) {
    return reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, which, reinterpret_cast<LPARAM>(item)));
}

std::string itemText(HWND tree, HTREEITEM item) {
    char text[256] = {};
    TVITEMA tv{};
    tv.mask = TVIF_TEXT;
    tv.hItem = item;
    tv.pszText = text;
    tv.cchTextMax = sizeof(text);
    SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tv));
    return text;
}

// "text(children...)" for the whole tree.
std::string treeShape(HWND tree, HTREEITEM parent = nullptr) {
    std::string out;
    for (HTREEITEM item = nextItem(tree, parent, parent ? TVGN_CHILD : TVGN_ROOT); item;
         item = nextItem(tree, item, TVGN_NEXT)) {
        out += itemText(tree, item) + "(" + treeShape(tree, item) + ")";
    }
    return out;
}

// The item at `path` of child positions from the top, e.g. {0, 1} is the first file's second category.
HTREEITEM treeItem(HWND tree, std::initializer_list<int> path) {
    HTREEITEM item = nullptr;
    for (int index : path) {
        item = nextItem(tree, item, item ? TVGN_CHILD : TVGN_ROOT);
        for (int i = 0; i < index && item; ++i) {
            item = nextItem(tree, item, TVGN_NEXT);
        }
    }
    return item;
}

void selectItem(HWND tree, HTREEITEM item) {
    SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
}

// The centre of an item's label in the dialog's client coordinates.
POINT itemCentre(HWND dialog, HWND tree, HTREEITEM item) {
    RECT rect{};
    std::memcpy(&rect, &item, sizeof(item)); // the message takes the item in the rectangle
    SendMessageA(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&rect));
    POINT centre{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    MapWindowPoints(tree, dialog, &centre, 1);
    return centre;
}

// A drag as the tree reports its start, then the pointer moved over `target` and released.
HTREEITEM dragAndDrop(HWND dialog, HWND tree, HTREEITEM dragged, HTREEITEM target) {
    NMTREEVIEWA begin{};
    begin.hdr = NMHDR{tree, IDC_PRESET_TREE, static_cast<UINT>(TVN_BEGINDRAGA)};
    begin.itemNew.hItem = dragged;
    SendMessageA(dialog, WM_NOTIFY, IDC_PRESET_TREE, reinterpret_cast<LPARAM>(&begin));
    const POINT at = itemCentre(dialog, tree, target);
    SendMessageA(dialog, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(at.x, at.y));
    HTREEITEM highlighted = nextItem(tree, nullptr, TVGN_DROPHILITE);
    SendMessageA(dialog, WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
    return highlighted;
}

// --- Preset files.
struct Category {
    std::string name;
    std::vector<std::string> presets;
};

// The text the plug-in writes for these categories. Each preset's seed follows
// from its name, so a moved preset shows whether its values went with it.
std::string presetText(const std::vector<Category>& categories) {
    PresetFile file;
    file.deleteCategory(0);
    for (const Category& category : categories) {
        file.addCategory(category.name);
        for (const std::string& name : category.presets) {
            TextureFields fields;
            const std::uint32_t sky[] = {0xFF783C1Eu, 0xFFF0C8A0u, 0xFFFFFFFFu};
            std::copy(std::begin(sky), std::end(sky), fields.colours);
            fields.positions[1] = 150;
            fields.positions[2] = 255;
            fields.colourCount = 3;
            fields.noiseSeed = 0;
            for (char c : name) {
                fields.noiseSeed = (fields.noiseSeed * 31 + static_cast<unsigned char>(c)) % 32768;
            }
            file.addPreset(fields, file.categoryCount() - 1, name);
        }
    }
    return file.text();
}

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

class ManagePresetsDialog : public ::testing::Test {
protected:
    void SetUp() override {
        const char* path = std::getenv("MORVESSAN_MODULE");
        if (!GetEnvironmentVariableA("DISPLAY", nullptr, 0) || !path) {
            GTEST_SKIP() << "needs a display and MORVESSAN_MODULE: run by the gui tests under Xvfb";
        }
        m_presets = fs::path(path).parent_path() / "Morvessan Presets";
        fs::remove_all(m_presets);
        fs::create_directories(m_presets);
        std::string error;
        m_module = VXPSModule::load(path, error);
        ASSERT_TRUE(m_module) << error;
    }

    void write(const std::string& file, const std::string& text) const {
        std::ofstream(m_presets / file, std::ios::binary) << text;
    }
    std::string read(const std::string& file) const { return readFile(m_presets / file); }

    // An interactive run whose user opens Manage Presets from the customise page,
    // hands the dialog and its tree to `user` (which closes it), then cancels the main dialog.
    void runWithManagePresets(const std::function<void(HWND dialog, HWND tree)>& user,
                              const std::function<void(HWND main)>& afterwards = {}) {
        FilterHost host(m_module->entry());
        HostImage image(160, 120, 3);
        host.setImage(image);
        bool opened = false;
        std::thread thread([&] {
            HWND main = waitForDialog("Morvessan", [](HWND w) { return GetDlgItem(w, IDC_ORIGINAL_IMAGE) != nullptr; });
            if (!main) {
                return;
            }
            SendMessageA(GetDlgItem(main, IDC_SWITCH_PAGE), BM_CLICK, 0, 0);
            HWND button = findControl(main, IDC_MANAGE_PRESETS);
            if (button && IsWindowEnabled(button)) {
                postClick(GetParent(button), IDC_MANAGE_PRESETS);
                if (HWND dialog = waitForDialog("Manage Presets")) {
                    opened = true;
                    user(dialog, GetDlgItem(dialog, IDC_PRESET_TREE));
                    EXPECT_TRUE(waitUntilGone(dialog)) << "the test leaves the dialog open";
                    Sleep(200);
                    if (afterwards) {
                        afterwards(main);
                    }
                }
            }
            PostMessageA(main, WM_COMMAND, IDCANCEL, 0);
        });
        host.setPlayInfo(plugInDialogDisplay);
        host.run();
        thread.join();
        ASSERT_TRUE(opened) << "Manage Presets did not open";
    }

    fs::path m_presets;
    std::unique_ptr<VXPSModule> m_module;
};

const std::vector<Category> kFileA{{"A", {"a1", "a2"}}, {"B", {"b1"}}};

} // namespace

TEST_F(ManagePresetsDialog, AddFileWithATakenNameAsksAgainAndCancelChangesNothing) {
    const std::vector<Category> skies{{"Clouds", {"Summer Sky", "Storm Front"}}, {"Sunsets", {"Evening Glow"}}};
    write("Skies.txt", presetText(skies));
    const std::string kShape = "Skies(Clouds(Summer Sky()Storm Front())Sunsets(Evening Glow()))Stone(Rock(Granite()))";
    write("Stone.txt", presetText({{"Rock", {"Granite"}}}));
    std::string message;
    std::string titleAgain;
    runWithManagePresets([&](HWND dialog, HWND tree) {
        EXPECT_EQ(treeShape(tree), kShape);
        const bool selected = nextItem(tree, nullptr, TVGN_CARET) != nullptr;
        EXPECT_EQ(IsWindowEnabled(GetDlgItem(dialog, IDC_DELETE)) != FALSE, selected);
        SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(treeItem(tree, {0})));
        SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(treeItem(tree, {0, 0})));
        selectItem(tree, treeItem(tree, {0, 0, 1}));
        EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, IDC_DELETE)));
        Sleep(200);
        saveCapture(captureWindow(dialog), "manage-presets");

        postClick(dialog, IDC_ADD_FILE);
        HWND name = waitForDialog("Add Preset File");
        ASSERT_TRUE(name);
        EXPECT_EQ(windowText(GetDlgItem(name, IDC_NAME_LABEL)), "File Name:");
        SetDlgItemTextA(name, IDC_NAME, "Stone");
        saveCapture(captureWindow(name), "add-preset-file");
        postClick(name, IDOK);
        HWND box = waitForMessageBox(kPresetCaption);
        ASSERT_TRUE(box);
        message = windowText(GetDlgItem(box, 0xFFFF));
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        HWND again = waitForDialog("Add Preset File");
        ASSERT_TRUE(again);
        titleAgain = windowText(GetDlgItem(again, IDC_NAME));
        postClick(again, IDCANCEL);
        ASSERT_TRUE(waitUntilGone(again));
        EXPECT_EQ(treeShape(tree), kShape);
        postClick(dialog, IDCANCEL);
    });
    EXPECT_EQ(message, kFileNameUsed);
    EXPECT_EQ(titleAgain, "") << "the name dialog comes again, empty";
    EXPECT_EQ(read("Skies.txt"), presetText(skies));
    EXPECT_EQ(std::distance(fs::directory_iterator(m_presets), fs::directory_iterator()), 2);
}

TEST_F(ManagePresetsDialog, DeleteMergesDropsFollowTheTableAndOkWritesEveryFile) {
    write("A.txt", presetText(kFileA));
    write("Z.txt", presetText({{"Z", {"z1"}}}));
    std::string afterDelete;
    std::string afterRefusedDrop;
    std::string afterDrop;
    bool refusedHighlight = true;
    bool fileHighlighted = false;
    bool escapeKeptDialog = false;
    runWithManagePresets([&](HWND dialog, HWND tree) {
        selectItem(tree, treeItem(tree, {0, 0}));
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_DELETE, BN_CLICKED), 0);
        afterDelete = treeShape(tree);

        // A category dropped onto a preset: nothing is highlighted and nothing moves.
        refusedHighlight = dragAndDrop(dialog, tree, treeItem(tree, {1, 0}), treeItem(tree, {0, 0, 1})) != nullptr;
        afterRefusedDrop = treeShape(tree);
        // Esc during a drag ends the drag, not the dialog.
        NMTREEVIEWA begin{};
        begin.hdr = NMHDR{tree, IDC_PRESET_TREE, static_cast<UINT>(TVN_BEGINDRAGA)};
        begin.itemNew.hItem = treeItem(tree, {1, 0, 0});
        SendMessageA(dialog, WM_NOTIFY, IDC_PRESET_TREE, reinterpret_cast<LPARAM>(&begin));
        PostMessageA(tree, WM_KEYDOWN, VK_ESCAPE, 0);
        Sleep(300);
        const POINT overFile = itemCentre(dialog, tree, treeItem(tree, {0}));
        SendMessageA(dialog, WM_LBUTTONUP, 0, MAKELPARAM(overFile.x, overFile.y));
        escapeKeptDialog = IsWindowVisible(dialog) && treeShape(tree) == afterRefusedDrop;
        // A preset dropped onto a file goes first into the file's first category.
        const HTREEITEM fileA = treeItem(tree, {0});
        fileHighlighted = dragAndDrop(dialog, tree, treeItem(tree, {1, 0, 0}), fileA) == fileA;
        afterDrop = treeShape(tree);
        postClick(dialog, IDOK);
    });
    EXPECT_EQ(afterDelete, "A(B(b1()a1()a2()))Z(Z(z1()))");
    EXPECT_FALSE(refusedHighlight);
    EXPECT_EQ(afterRefusedDrop, afterDelete);
    EXPECT_TRUE(escapeKeptDialog);
    EXPECT_TRUE(fileHighlighted);
    EXPECT_EQ(afterDrop, "A(B(z1()b1()a1()a2()))Z(Z())");

    EXPECT_EQ(read("A.txt"), presetText({{"B", {"z1", "b1", "a1", "a2"}}}));
    EXPECT_EQ(read("Z.txt"), presetText({{"Z", {}}}));
    EXPECT_EQ(read("A.bak"), presetText(kFileA)) << "the first save keeps the old text";
    EXPECT_TRUE(fs::exists(m_presets / "Z.bak"));
}

TEST_F(ManagePresetsDialog, F2EnterAndEscapeEndAnInPlaceEditAndCancelRestoresTheNameFromDisk) {
    write("A.txt", presetText(kFileA));
    std::string renamed;
    std::string escaped;
    bool stayedOpen = false;
    std::vector<std::string> categories;
    runWithManagePresets(
        [&](HWND dialog, HWND tree) {
            SendMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(tree), TRUE);
            // The first edit starts with F2 on the selected item, the second as a click on a selected label does.
            auto edit = [&](HTREEITEM item, const char* text, WPARAM key) {
                HWND box = nullptr;
                if (key == VK_RETURN) {
                    selectItem(tree, item);
                    PostMessageA(tree, WM_KEYDOWN, VK_F2, 0);
                    for (int i = 0; i < 200 && !box; ++i) {
                        Sleep(10);
                        box = reinterpret_cast<HWND>(SendMessageA(tree, TVM_GETEDITCONTROL, 0, 0));
                    }
                } else {
                    box = reinterpret_cast<HWND>(SendMessageA(tree, TVM_EDITLABELA, 0, reinterpret_cast<LPARAM>(item)));
                }
                ASSERT_TRUE(box);
                SetWindowTextA(box, text);
                // Posted, so the key passes the dialog's message loop as a typed one does.
                PostMessageA(box, WM_KEYDOWN, key, 0);
                for (int i = 0; i < 200 && IsWindow(box); ++i) {
                    Sleep(10);
                }
            };
            edit(treeItem(tree, {0, 0}), "Renamed", VK_RETURN);
            edit(treeItem(tree, {0, 1}), "Other", VK_ESCAPE);
            renamed = itemText(tree, treeItem(tree, {0, 0}));
            escaped = itemText(tree, treeItem(tree, {0, 1}));
            stayedOpen = IsWindowVisible(dialog) != FALSE;
            postClick(dialog, IDCANCEL);
        },
        [&](HWND main) {
            HWND combo = findControl(main, IDC_C_CATEGORY);
            for (int i = 0; i < static_cast<int>(SendMessageA(combo, CB_GETCOUNT, 0, 0)); ++i) {
                char text[256] = {};
                SendMessageA(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
                categories.emplace_back(text);
            }
        });
    EXPECT_EQ(renamed, "Renamed");
    EXPECT_EQ(escaped, "B");
    EXPECT_TRUE(stayedOpen) << "Enter or Escape closed the dialog";
    EXPECT_EQ(categories, (std::vector<std::string>{"A", "B"}));
    EXPECT_EQ(read("A.txt"), presetText(kFileA));
}

TEST_F(ManagePresetsDialog, SubmitThenSendWithoutAMailLibraryReportsTheErrorCode) {
    write("A.txt", presetText(kFileA));
    std::string description;
    std::string location;
    std::string text;
    std::string caption;
    runWithManagePresets([&](HWND dialog, HWND tree) {
        selectItem(tree, treeItem(tree, {0, 1}));
        postClick(dialog, IDC_SUBMIT);
        HWND submit = waitForDialog("Submit Preset File");
        ASSERT_TRUE(submit);
        description = windowText(GetDlgItem(submit, IDC_SUBMIT_DESCRIPTION));
        location = windowText(GetDlgItem(submit, IDC_SUBMIT_LOCATION));
        saveCapture(captureWindow(submit), "submit-preset-file");
        postClick(submit, IDOK);
        HWND box = waitForMessageBox(nullptr);
        ASSERT_TRUE(box);
        text = windowText(GetDlgItem(box, 0xFFFF));
        caption = windowText(box);
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        ASSERT_TRUE(waitUntilGone(box));
        postClick(dialog, IDCANCEL);
    });
    EXPECT_NE(description.find("'A'"), std::string::npos) << description;
    EXPECT_NE(location.find("Morvessan Presets\\A.txt"), std::string::npos) << location;
    EXPECT_EQ(text, kMailFailed);
    EXPECT_EQ(caption, "Mail Transport Erorr (2)");
}
