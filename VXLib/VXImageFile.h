// Loading pictures: image files by extension with a pass that tries every reader,
// and image resources of the module (a built-in table outside Windows).
#pragma once

#include "VXLib/VXImage2.h"

#include <string>

namespace morvessan {

// Loads the picture at `path` into `image`, top-down. First resets the transparent
// colour (-1) and the has-alpha flag. The extension, compared without regard to case,
// picks the reader: ".BMP" bitmap, ".JPG" JPEG, ".PNG" PNG. When that reader fails or
// the extension is another one, and `tryAll` is set and the file exists, the bitmap,
// JPEG and PNG readers are tried in that order and the first success wins.
// False, and the image empty, when nothing could read it.
bool loadImageFile(const std::string& path, VXImage2& image, bool tryAll);

// Handle of a module whose resources to search; null means the module holding this code.
using VXModuleHandle = const void*;

// Loads resource `resourceId` of type `typeName` (e.g. "IMAGE") and decodes it by
// `extension`, without regard to case: ".JPG" JPEG, ".PNG" PNG; ".BMP", ".GIF" and
// anything else fail. The result is top-down. False, image empty, on any failure.
bool loadImageResource(VXModuleHandle module, int resourceId, const std::string& typeName, const std::string& extension,
                       VXImage2& image);

} // namespace morvessan
