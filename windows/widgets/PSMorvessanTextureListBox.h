// PSMorvessanTextureListBox: the texture picker of the Effects page: the pictures
// of the textures folder as thumbnails with their names.
#pragma once

#include "dialog/PSMorvessanTextureLibraryModel.h"
#include "windows/widgets/VXPSImageListBox.h"

namespace morvessan {

class PSMorvessanTextureListBox : public VXPSImageListBox {
public:
    using VXPSImageListBox::VXPSImageListBox;
    // Shows the library's items and its selection.
    void fill(const PSMorvessanTextureLibraryModel& library);
};

} // namespace morvessan
