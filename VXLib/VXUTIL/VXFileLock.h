// An advisory lock that every writer of one file takes: held on a lock file beside
// it, so that it outlives the file's replacement by a rename.
#pragma once

#include <cstdint>
#include <string>

namespace morvessan {

// Holds the lock of a file from lock() to unlock() or destruction. The lock lives
// on "<folder>.<name>.lock", which stays in the folder: removing it would let a
// waiter and a newcomer lock two different files. Within one process the lock of
// a path may be taken again while it is held (a save inside a locked update).
class VXFileLock {
public:
    VXFileLock() = default;
    VXFileLock(const VXFileLock&) = delete;
    VXFileLock& operator=(const VXFileLock&) = delete;
    ~VXFileLock() { unlock(); }

    // Waits up to `waitMilliseconds` for the lock of `path`; false with error() set
    // when the lock file cannot be made or another program keeps the lock.
    bool lock(const std::string& path, int waitMilliseconds = 30000);
    void unlock();
    bool locked() const { return !m_path.empty(); }
    const std::string& error() const { return m_error; }

    // The lock file of `path`.
    static std::string lockFileOf(const std::string& path);

private:
    std::string m_path;
    std::string m_error;
};

// The system's side of a lock: an open lock file and its exclusive lock. Every
// function is false (with errno set) on failure; `busy` tells a lock held elsewhere.
std::intptr_t vxOpenLockFile(const std::string& path);
bool vxTryLockFile(std::intptr_t handle, bool& busy);
void vxCloseLockFile(std::intptr_t handle);

} // namespace morvessan
