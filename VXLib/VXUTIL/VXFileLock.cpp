// The lock shared by the writers of one file: waiting for it, taking it again
// within a process, and the POSIX calls beneath it (flock on the lock file).
#include "VXLib/VXUTIL/VXFileLock.h"

#include "VXLib/VXUTIL/VXPath.h"
#include "VXLib/VXUTIL/VXWholeFile.h"

#include <cerrno>
#include <chrono>
#include <map>
#include <mutex>
#include <thread>

#if !defined(_WIN32)
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace morvessan {

namespace {

// The locks this process holds, by lock file: a count of holders and the handle.
struct Held {
    int holders = 0;
    std::intptr_t handle = -1;
};

std::mutex g_held_mutex;
std::map<std::string, Held>& heldLocks() {
    static std::map<std::string, Held> held;
    return held;
}

} // namespace

std::string VXFileLock::lockFileOf(const std::string& path) {
    return folderOf(path) + "." + fileNameOf(path) + ".lock";
}

bool VXFileLock::lock(const std::string& path, int waitMilliseconds) {
    unlock();
    m_error.clear();
    const std::string lockPath = lockFileOf(path);
    std::unique_lock<std::mutex> guard(g_held_mutex);
    if (Held& held = heldLocks()[lockPath]; held.holders > 0) {
        ++held.holders;
        m_path = lockPath;
        return true;
    }
    heldLocks().erase(lockPath);
    guard.unlock();

    const std::intptr_t handle = vxOpenLockFile(lockPath);
    if (handle == -1) {
        m_error = "cannot lock '" + path + "': cannot open '" + lockPath + "' (" + vxErrorReason(errno) + ")";
        return false;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMilliseconds);
    for (;;) {
        bool busy = false;
        if (vxTryLockFile(handle, busy)) {
            break;
        }
        const int code = errno;
        if (!busy || std::chrono::steady_clock::now() >= deadline) {
            vxCloseLockFile(handle);
            m_error = "cannot lock '" + path +
                      "': " + (busy ? std::string("another program keeps it locked") : vxErrorReason(code));
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    guard.lock();
    heldLocks()[lockPath] = Held{1, handle};
    m_path = lockPath;
    return true;
}

void VXFileLock::unlock() {
    if (m_path.empty()) {
        return;
    }
    std::lock_guard<std::mutex> guard(g_held_mutex);
    const auto it = heldLocks().find(m_path);
    if (it != heldLocks().end() && --it->second.holders <= 0) {
        // Closing the lock file releases its lock.
        vxCloseLockFile(it->second.handle);
        heldLocks().erase(it);
    }
    m_path.clear();
}

// Windows has its own, with LockFileEx.
#if !defined(_WIN32)
std::intptr_t vxOpenLockFile(const std::string& path) {
    // Never through a link: a link planted at the name must not pick the file.
    int fd;
    do {
        fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY, 0666);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

bool vxTryLockFile(std::intptr_t handle, bool& busy) {
    if (::flock(int(handle), LOCK_EX | LOCK_NB) == 0) {
        return true;
    }
    busy = errno == EWOULDBLOCK || errno == EINTR;
    return false;
}

void vxCloseLockFile(std::intptr_t handle) { ::close(int(handle)); }
#endif

} // namespace morvessan
