// Narrow-string paths as the plug-in keeps them: the folder separator of the
// platform comes from here, and the few path helpers everything shares.
#pragma once

#include "VXLib/VXUTIL/VXAsciiCase.h"

#include <string>
#include <vector>

namespace morvessan {

#if defined(_WIN32)
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

// Folder part of a path, separator included ("C:\\a\\b.8bf" -> "C:\\a\\"); empty without one.
std::string folderOf(const std::string& path);

// File name without folder ("C:\\a\\b.8bf" -> "b.8bf").
std::string fileNameOf(const std::string& path);

// File name without folder and extension ("C:\\a\\b.8bf" -> "b").
std::string titleOf(const std::string& path);

// Extension with its dot, as written ("x.PNG" -> ".PNG"); empty without one.
std::string extensionOf(const std::string& path);

// Path with its extension replaced by `extension` (dot included).
std::string replaceExtension(const std::string& path, const std::string& extension);

// A folder name with the platform separator appended ("Morvessan Presets" -> "Morvessan Presets/").
std::string asFolder(const std::string& name);

// Names of the entries of a folder, sorted by byte so every platform lists them
// alike. A missing folder gives none; a name the narrow encoding cannot hold is
// left out rather than failing the whole listing.
std::vector<std::string> listFolderNames(const std::string& folder);

} // namespace morvessan
