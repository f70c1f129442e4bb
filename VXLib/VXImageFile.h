// Loading the program's own pictures (texture pictures, the dialogs' pictures) from
// files and resources through the picture decoder's indexed form, top-down.
#pragma once

#include "VXLib/VXImage2.h"

#include <string>

namespace morvessan {

struct VXDecodedPicture;

// Reads the PNG, JPEG or bitmap file at `path`, told by its content, in the decoder's
// indexed form (VXPictureReading::indexed). False when it is no regular file, cannot
// be read, or is no picture that form takes.
bool vxReadIndexedPicture(const std::string& path, VXDecodedPicture& picture);

// The picture at `path` as an image, top-down: 8 bits with its table for stored values,
// 24 bits for colour, 32 with alpha (has-alpha set) for colour with alpha. The
// transparent colour is always -1. False, and the image empty, when nothing can read it.
bool loadImageFile(const std::string& path, VXImage2& image);

// Handle of a module whose resources to search; null means the module holding this code.
using VXModuleHandle = const void*;

// Loads resource `resourceId` of type `typeName` (e.g. "IMAGE") as loadImageFile does
// a file, when `extension` (without regard to case) names what it holds: ".JPG" a JPEG,
// ".PNG" a PNG; ".BMP", ".GIF" and anything else fail. A PNG palette's single
// transparent entry is the image's transparent colour. False, image empty, on failure.
bool loadImageResource(VXModuleHandle module, int resourceId, const std::string& typeName, const std::string& extension,
                       VXImage2& image);

} // namespace morvessan
