// The preset page of the main dialog without its window: choosing a preset file,
// a category and a preset, with the parameter block's category index.
#pragma once

#include "dialog/PSMorvessanPresetPickersModel.h"

namespace morvessan {

class PSMorvessanBlockSession;

class PSMorvessanPresetChildModel : public PSMorvessanPresetPickersModel {
public:
    PSMorvessanPresetChildModel(PSMorvessanBlockSession& block, PSMorvessanPresetSession& presets)
        : PSMorvessanPresetPickersModel(presets), m_block(block) {}

    // Fills the three lists: the current preset file, the block's category index
    // (both clamped) and that category's presets. Returns the lists to refill.
    unsigned fill();
    // The page is shown again: refills when the current preset file changed.
    unsigned shown();

    // The file becomes the plug-in's current one and the block's category index 0.
    unsigned chooseFile(int index);
    // The block's category index becomes `index`; its presets show, none selected.
    unsigned chooseCategory(int index);
    // Copies the preset into the block (its name aside); kChangePreview.
    unsigned choosePreset(int index);

private:
    PSMorvessanBlockSession& m_block;
};

} // namespace morvessan
