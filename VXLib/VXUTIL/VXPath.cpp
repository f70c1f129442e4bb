// Path helpers over narrow strings; both separators are accepted when reading.
#include "VXLib/VXUTIL/VXPath.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace morvessan {

namespace {
std::size_t lastSeparator(const std::string& path) { return path.find_last_of("/\\"); }
} // namespace

std::string folderOf(const std::string& path) {
    const auto pos = lastSeparator(path);
    return pos == std::string::npos ? std::string() : path.substr(0, pos + 1);
}

std::string fileNameOf(const std::string& path) {
    const auto pos = lastSeparator(path);
    return pos == std::string::npos ? path : path.substr(pos + 1);
}

std::string titleOf(const std::string& path) {
    const std::string name = fileNameOf(path);
    const auto dot = name.rfind('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

std::string extensionOf(const std::string& path) {
    const std::string name = fileNameOf(path);
    const auto dot = name.rfind('.');
    return dot == std::string::npos ? std::string() : name.substr(dot);
}

std::string replaceExtension(const std::string& path, const std::string& extension) {
    const std::string ext = extensionOf(path);
    return path.substr(0, path.size() - ext.size()) + extension;
}

std::string asFolder(const std::string& name) {
    if (!name.empty() && (name.back() == '/' || name.back() == '\\')) {
        return name;
    }
    return name + kPathSeparator;
}

std::vector<std::string> listFolderNames(const std::string& folder) {
    namespace fs = std::filesystem;
    std::vector<std::string> names;
    std::error_code error;
    for (fs::directory_iterator it(fs::path(folder), error), end; !error && it != end; it.increment(error)) {
        try {
            names.push_back(it->path().filename().string());
        } catch (const std::system_error&) {
            // Not expressible in the narrow encoding (Windows code page): no path to it can be stored.
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace morvessan
