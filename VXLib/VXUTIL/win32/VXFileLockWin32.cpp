// The system's side of a file lock on Windows: the lock file opened shared and its
// first byte locked exclusively with LockFileEx (released when the handle closes).
#include "VXLib/VXUTIL/VXFileLock.h"

#include <cerrno>

#include <windows.h>

namespace morvessan {

std::intptr_t vxOpenLockFile(const std::string& path) {
    const HANDLE file =
        CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD code = GetLastError();
        errno = code == ERROR_ACCESS_DENIED ? EACCES : code == ERROR_PATH_NOT_FOUND ? ENOENT : EIO;
        return -1;
    }
    return reinterpret_cast<std::intptr_t>(file);
}

bool vxTryLockFile(std::intptr_t handle, bool& busy) {
    OVERLAPPED at{};
    if (LockFileEx(reinterpret_cast<HANDLE>(handle), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0,
                   &at)) {
        return true;
    }
    busy = GetLastError() == ERROR_LOCK_VIOLATION;
    errno = busy ? EAGAIN : EIO;
    return false;
}

void vxCloseLockFile(std::intptr_t handle) { CloseHandle(reinterpret_cast<HANDLE>(handle)); }

} // namespace morvessan
