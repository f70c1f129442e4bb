// PSMorvessanPresetsListBox: the preset list of the preset page (and of the
// customise page's drop-down): each preset of a category as a rendered thumbnail with its name.
#pragma once

#include "dialog/PSMorvessanPresetPickersModel.h"
#include "windows/widgets/VXPSImageListBox.h"

namespace morvessan {

class PSMorvessanPresetsListBox : public VXPSImageListBox {
public:
    using VXPSImageListBox::VXPSImageListBox;
    // Shows the presets the model lists now, with the model's selection.
    void fill(const PSMorvessanPresetPickersModel& model);
};

// A 24-bit section with its own context, `width` x `height`, ready for block copies.
std::unique_ptr<VXImage2> vxMakeThumbnail(int width, int height);

} // namespace morvessan
