// The file stamp on Windows: size and last-write time in 100 ns units from the
// file's attributes, finer than the whole seconds the C library reports there.
#include "VXLib/VXUTIL/VXWholeFile.h"

#include <windows.h>

namespace morvessan {

bool vxFileStamp(const std::string& path, VXFileStamp& stamp) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) != 0) {
        return false;
    }
    stamp.size = (std::uint64_t(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    stamp.modified =
        std::int64_t((std::uint64_t(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime);
    return true;
}

} // namespace morvessan
