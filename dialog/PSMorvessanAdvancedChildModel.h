// The customise page without its window: its own preset pickers, "Add Preset",
// the refill after "Manage Presets", and the Elements, Colours and Effects tabs.
#pragma once

#include "dialog/PSMorvessanAdvancedColourChildModel.h"
#include "dialog/PSMorvessanAdvancedExtrasChildModel.h"
#include "dialog/PSMorvessanAdvancedTextureChildModel.h"
#include "dialog/PSMorvessanPresetPickersModel.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace morvessan {

class PSMorvessanBlockSession;
class PSMorvessanDialogServices;
class PSMorvessanPresetSession;

class PSMorvessanAdvancedChildModel : public PSMorvessanPresetPickersModel {
public:
    enum Tab : int { kElementsTab = 0, kColoursTab = 1, kEffectsTab = 2 };
    static constexpr std::array<const char*, 3> kTabNames = {"Elements", "Colours", "Effects"};

    // Asked with the proposed name; the name to add, or nothing when the user cancels.
    using NameRequest = std::function<std::optional<std::string>(const std::string& proposal)>;

    PSMorvessanAdvancedChildModel(PSMorvessanBlockSession& block, PSMorvessanPresetSession& presets,
                                  PSMorvessanDialogServices& services);

    // Startup timing of the page's creation: begin, the sub-pages made
    // ("Sub took %dms"), the end ("PSMorvessanAdvancedChild::OnInitDialog took %dms").
    void beginInit();
    void subPagesCreated();
    void endInit();

    // Fills the pickers: the current preset file (clamped), this page's own
    // previous category (clamped; 0 the first time), that category's presets.
    unsigned fill();
    // The page is shown: fills the first time, and later when the current preset file changed.
    unsigned shown();

    // The file becomes the plug-in's current one; its first category shows. The
    // block's category index is not touched.
    unsigned chooseFile(int index);
    // Only the grid follows.
    unsigned chooseCategory(int index);
    // Copies the preset into the block; the sub-pages reload and the preview renders.
    unsigned choosePreset(int index);

    // Runs `fillGrid` (the window's refill of the preset grid) and appends
    // "m_preset_combo.UpdateCategory took %dms" with its duration to the startup log.
    void updatePresetGrid(const std::function<void()>& fillGrid = {});

    // "Add Preset": "Preset n" with the smallest unused n >= 1 in the shown category.
    std::string proposedPresetName() const;
    // Asks for a name; on an answer adds the block's texture under it to the shown
    // category and saves the file. Returns the lists to refill.
    unsigned addPreset(const NameRequest& askName);
    // After the Manage Presets dialog: the pickers refill.
    unsigned presetsManaged();

    // Tabs: "Elements" selected at creation.
    int selectedTab() const { return m_tab; }
    unsigned selectTab(int tab);
    // Reloads the three sub-pages from the block.
    unsigned refreshSubPages();

    PSMorvessanAdvancedTextureChildModel& texturePage() { return m_texture; }
    PSMorvessanAdvancedColourChildModel& colourPage() { return m_colour; }
    PSMorvessanAdvancedExtrasChildModel& extrasPage() { return m_extras; }

private:
    PSMorvessanBlockSession& m_block;
    PSMorvessanDialogServices& m_services;
    PSMorvessanAdvancedTextureChildModel m_texture;
    PSMorvessanAdvancedColourChildModel m_colour;
    PSMorvessanAdvancedExtrasChildModel m_extras;
    int m_tab = kElementsTab;
    std::uint32_t m_init_start = 0;
};

} // namespace morvessan
