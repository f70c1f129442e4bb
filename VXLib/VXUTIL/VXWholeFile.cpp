// Reading whole regular files and replacing files through exclusive temporary files:
// POSIX calls, with the Windows run-time's counterparts.
#include "VXLib/VXUTIL/VXWholeFile.h"

#include "VXLib/VXUTIL/VXPath.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <functional>
#include <limits>
#include <random>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#if defined(_WIN32)
#include <io.h>
#include <process.h>
#else
#include <unistd.h>
#endif

namespace morvessan {

namespace fs = std::filesystem;

namespace {

std::string inQuotes(const std::string& path) { return "'" + path + "'"; }

// Plain words for the failures a user meets; the system's text for the rest.
std::string reasonOf(int code) {
    switch (code) {
    case ENOENT: return "no such file or folder";
    case EACCES:
    case EPERM: return "permission denied";
    case ENOSPC: return "the disk is full";
#if defined(EDQUOT)
    case EDQUOT: return "the disk quota is used up";
#endif
    case EROFS: return "the file system is read-only";
    case EFBIG: return "the file would be larger than the system allows";
    case ENAMETOOLONG: return "the name is too long";
    case ENOTDIR: return "a part of the path is not a folder";
    case EISDIR: return "it is a folder";
    default: return std::generic_category().message(code);
    }
}

int probeWriteError(int fd) {
#if defined(_WIN32)
    const bool failed = ::_lseeki64(fd, 0, SEEK_END) < 0 || ::_write(fd, "", 1) != 1;
#else
    const bool failed = ::lseek(fd, 0, SEEK_END) < 0 || ::write(fd, "", 1) != 1;
#endif
    return failed ? errno : 0;
}

std::string reasonOf(const std::error_code& error) {
    return error.category() == std::generic_category() ? reasonOf(error.value()) : error.message();
}

std::string sizeText(std::uint64_t bytes) {
    constexpr std::uint64_t mebibyte = std::uint64_t(1) << 20;
    return bytes % mebibyte == 0 ? std::to_string(bytes / mebibyte) + " MiB" : std::to_string(bytes) + " bytes";
}

std::string cannotText(VXReplaceMode mode, const std::string& path) {
    return (mode == VXReplaceMode::CreateOnly ? "cannot create " : "cannot replace ") + inQuotes(path);
}

const char* const kNotRegular = "it is not a regular file (a pipe, a device or a socket)";

#if defined(_WIN32)
using StatData = struct _stat64;
int statOf(const std::string& path, StatData& data) { return ::_stat64(path.c_str(), &data); }
bool isFolder(const StatData& data) { return (data.st_mode & _S_IFMT) == _S_IFDIR; }
bool isRegular(const StatData& data) { return (data.st_mode & _S_IFMT) == _S_IFREG; }
int openForReading(const std::string& path) { return ::_open(path.c_str(), _O_RDONLY | _O_BINARY | _O_NOINHERIT); }
int statOpen(int fd, StatData& data) { return ::_fstat64(fd, &data); }
long long readSome(int fd, char* buffer, std::size_t size) { return ::_read(fd, buffer, unsigned(size)); }
void closeFile(int fd) { ::_close(fd); }
int processId() { return ::_getpid(); }
#else
using StatData = struct stat;
int statOf(const std::string& path, StatData& data) { return ::stat(path.c_str(), &data); }
bool isFolder(const StatData& data) { return S_ISDIR(data.st_mode); }
bool isRegular(const StatData& data) { return S_ISREG(data.st_mode); }
// Non-blocking, so that a pipe swapped in after the check cannot hold the open.
int openForReading(const std::string& path) {
    return ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
}
int statOpen(int fd, StatData& data) { return ::fstat(fd, &data); }
long long readSome(int fd, char* buffer, std::size_t size) { return ::read(fd, buffer, size); }
void closeFile(int fd) { ::close(fd); }
int processId() { return int(::getpid()); }
#endif

int removeFile(const char* path) {
#if defined(_WIN32)
    return ::_unlink(path);
#else
    return ::unlink(path);
#endif
}

// ------------------------------------------------------- unpredictable names

std::uint64_t mix(std::uint64_t z) {
    z += 0x9E3779B97F4A7C15u;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9u;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBu;
    return z ^ (z >> 31);
}

// Seeded once per process from everything that differs between processes.
std::uint64_t processSeed() {
    static const std::uint64_t seed = [] {
        std::uint64_t s = mix(std::uint64_t(std::chrono::steady_clock::now().time_since_epoch().count()));
        s = mix(s ^ std::uint64_t(std::chrono::system_clock::now().time_since_epoch().count()));
        s = mix(s ^ std::uint64_t(processId()));
        const int local = 0;
        s = mix(s ^ std::uint64_t(reinterpret_cast<std::uintptr_t>(&local)));
        try {
            std::random_device device;
            s = mix(s ^ ((std::uint64_t(device()) << 32) | device()));
        } catch (...) {
            // No entropy device: the clocks, the process and the address still differ.
        }
        return s;
    }();
    return seed;
}

std::atomic<std::uint64_t> g_name_counter{0};

std::string randomHex() {
    const std::uint64_t n = g_name_counter.fetch_add(1) + 1;
    std::uint64_t v = mix(processSeed() + n * 0x9E3779B97F4A7C15u);
    v = mix(v ^ std::uint64_t(std::chrono::steady_clock::now().time_since_epoch().count()));
    std::string hex(16, '0');
    for (int i = 15; i >= 0; --i, v >>= 4) {
        hex[std::size_t(i)] = "0123456789abcdef"[v & 15];
    }
    return hex;
}

// A short name beside `target`: plain letters of its name only, so that the
// temporary name is valid in every encoding and never too long where the target fits.
std::string temporaryNameFor(const std::string& target) {
    std::string stem;
    for (const char c : fileNameOf(target)) {
        if (stem.size() == 24) {
            break;
        }
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.';
        stem += plain ? c : '_';
    }
    return folderOf(target) + "." + stem + "." + randomHex() + ".tmp";
}

// Whether `name` is one that temporaryNameFor gives: ".<stem>.<16 hex digits>.tmp".
bool isOurTemporaryName(const std::string& name) {
    constexpr std::size_t kTail = 1 + 16 + 4;
    if (name.size() < 1 + kTail || name[0] != '.' || name.compare(name.size() - 4, 4, ".tmp") != 0) {
        return false;
    }
    const std::size_t dot = name.size() - kTail;
    if (name[dot] != '.') {
        return false;
    }
    for (std::size_t i = dot + 1; i < name.size() - 4; ++i) {
        const char c = name[i];
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) {
            return false;
        }
    }
    return true;
}

// Removes what interrupted runs left in `folder`: our temporary files of more
// than a day, regular files only (never through a link), and on POSIX our own.
void removeStaleTemporaryFiles(const std::string& folder) {
    const auto now = std::chrono::system_clock::now();
    const std::int64_t nowSeconds = std::chrono::duration_cast<std::chrono::seconds>(now.time_since_epoch()).count();
    for (const std::string& name : listFolderNames(folder)) {
        if (!isOurTemporaryName(name)) {
            continue;
        }
        const std::string path = (folder == "." ? std::string() : folder) + name;
#if defined(_WIN32)
        StatData data{};
        if (statOf(path, data) != 0 || !isRegular(data)) {
            continue;
        }
#else
        struct stat data {};
        if (::lstat(path.c_str(), &data) != 0 || !S_ISREG(data.st_mode) || data.st_uid != ::geteuid()) {
            continue;
        }
#endif
        if (nowSeconds - std::int64_t(data.st_mtime) > kStaleTemporarySeconds) {
            removeFile(path.c_str());
        }
    }
}

// ---------------------------------------------- temporary files to clean up

constexpr int kSlots = 16;
constexpr std::size_t kSlotChars = 4096;
char g_slot_paths[kSlots][kSlotChars];
std::atomic<bool> g_slot_taken[kSlots];
std::atomic<bool> g_slot_live[kSlots];

int recordTemporary(const std::string& path) {
    if (path.size() >= kSlotChars) {
        return -1;
    }
    for (int i = 0; i < kSlots; ++i) {
        bool expected = false;
        if (g_slot_taken[i].compare_exchange_strong(expected, true)) {
            std::memcpy(g_slot_paths[i], path.c_str(), path.size() + 1);
            g_slot_live[i].store(true);
            return i;
        }
    }
    return -1;
}

void forgetTemporary(int slot) {
    if (slot >= 0) {
        g_slot_live[slot].store(false);
        g_slot_taken[slot].store(false);
    }
}

} // namespace

std::string vxErrorReason(int code) { return reasonOf(code); }

void vxRemovePendingTemporaryFiles() {
    for (int i = 0; i < kSlots; ++i) {
        if (g_slot_live[i].load()) {
            removeFile(g_slot_paths[i]);
        }
    }
}

// ------------------------------------------------------------------ reading

// Windows has its own, with finer times than the C library gives there.
#if !defined(_WIN32)
bool vxFileStamp(const std::string& path, VXFileStamp& stamp) {
    StatData data;
    if (statOf(path, data) != 0 || !isRegular(data)) {
        return false;
    }
    stamp.size = std::uint64_t(data.st_size);
    stamp.modified = std::int64_t(data.st_mtim.tv_sec) * 1000000000 + data.st_mtim.tv_nsec;
    return true;
}
#endif

namespace {

// Reads the file `path`, which `data` describes, in pieces of `piece` bytes into
// `take`; false with `why` when it is not a regular file, cannot be read or holds
// more than `limit` bytes, or with `why` empty when `take` stopped it.
bool readPieces(const std::string& path, StatData& data, std::size_t piece, std::uint64_t limit,
                const std::function<bool(std::string_view bytes)>& take, std::string& why) {
    // Checked before opening: opening a pipe or a device can wait or have effects.
    if (isFolder(data)) {
        why = "it is a folder";
        return false;
    }
    if (!isRegular(data)) {
        why = kNotRegular;
        return false;
    }
    const int fd = openForReading(path);
    if (fd < 0) {
        why = reasonOf(errno);
        return false;
    }
    struct Closer {
        int fd;
        ~Closer() { closeFile(fd); }
    } closer{fd};
    if (statOpen(fd, data) != 0 || !isRegular(data)) {
        why = kNotRegular;
        return false;
    }
    const std::string tooLarge = "it is larger than " + sizeText(limit);
    if (data.st_size < 0 || std::uint64_t(data.st_size) > limit) {
        why = tooLarge;
        return false;
    }
    std::string buffer(std::max<std::size_t>(piece, 1), '\0');
    std::uint64_t total = 0;
    for (;;) {
        const long long got = readSome(fd, buffer.data(), buffer.size());
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            why = "a read error (" + reasonOf(errno) + ")";
            return false;
        }
        if (got == 0) {
            return true;
        }
        total += std::uint64_t(got);
        if (total > limit) {
            why = tooLarge; // it grew while being read
            return false;
        }
        if (!take(std::string_view(buffer.data(), std::size_t(got)))) {
            why.clear(); // the taker's own failure, which it words itself
            return false;
        }
    }
}

} // namespace

VXFileBytes vxReadWholeFile(const std::string& path, std::uint64_t limit) {
    VXFileBytes result;
    const auto failed = [&](const std::string& why) {
        result.status = VXReadStatus::Failed;
        result.error = "cannot read " + inQuotes(path) + ": " + why;
        result.bytes.clear();
        return result;
    };
    StatData data{};
    if (statOf(path, data) != 0) {
        const int code = errno;
        if (code != ENOENT) {
            return failed(reasonOf(code));
        }
        std::error_code ignored;
        const bool link = fs::is_symlink(fs::symlink_status(fs::path(path), ignored));
        failed(link ? "it is a link to a missing file" : "no such file");
        result.status = VXReadStatus::Missing;
        return result;
    }
    if (isRegular(data) && data.st_size > 0 && std::uint64_t(data.st_size) <= limit) {
        result.bytes.reserve(std::size_t(data.st_size));
    }
    std::string why;
    const auto append = [&](std::string_view bytes) {
        result.bytes.append(bytes);
        return true;
    };
    if (!readPieces(path, data, std::size_t(1) << 16, limit, append, why)) {
        return failed(why);
    }
    result.status = VXReadStatus::Read;
    return result;
}

bool vxReadFileInPieces(const std::string& path, std::size_t piece,
                        const std::function<bool(std::string_view bytes)>& take, std::string& error) {
    StatData data{};
    std::string why;
    if (statOf(path, data) != 0) {
        why = reasonOf(errno);
    } else if (readPieces(path, data, piece, std::numeric_limits<std::uint64_t>::max(), take, why)) {
        return true;
    }
    error = why.empty() ? std::string() : "cannot read " + inQuotes(path) + ": " + why;
    return false;
}

// ---------------------------------------------------------------- replacing

VXFileReplacement::~VXFileReplacement() { discard(); }

bool VXFileReplacement::failWith(const std::string& error) {
    discard();
    m_error = error;
    return false;
}

void VXFileReplacement::fail(const std::string& error) { failWith(error); }

// Opens a new temporary file beside m_target, in `folder`, exclusively under a
// fresh name; -1 with the error recorded when none can be made.
int VXFileReplacement::createTemporary(const std::string& folder, int permissions) {
    int fd = -1;
    for (int attempt = 0; attempt < 32 && fd < 0; ++attempt) {
        m_temporary = temporaryNameFor(m_target);
#if defined(_WIN32)
        (void)permissions;
        fd = ::_open(m_temporary.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT,
                     _S_IREAD | _S_IWRITE);
#else
        fd = ::open(m_temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, permissions);
#endif
        if (fd < 0 && errno != EEXIST) {
            const int code = errno;
            m_temporary.clear();
            failWith("cannot create a temporary file in " + inQuotes(folder) + ": " +
                     (code == ENOENT ? std::string("there is no such folder") : reasonOf(code)));
            return -1;
        }
    }
    if (fd < 0) {
        m_temporary.clear();
        failWith("cannot create a temporary file in " + inQuotes(folder) + ": every name tried was taken");
        return -1;
    }
    m_slot = recordTemporary(m_temporary);
    return fd;
}

bool VXFileReplacement::openStream(int fd) {
#if defined(_WIN32)
    m_stream = ::_fdopen(fd, "wb");
#else
    m_stream = ::fdopen(fd, "wb");
#endif
    if (m_stream == nullptr) {
        closeFile(fd);
        return failWith("cannot write " + inQuotes(m_temporary) + ": " + reasonOf(errno));
    }
    return true;
}

bool VXFileReplacement::beginPrivate(const std::string& folder, const std::string& name) {
    discard();
    m_error.clear();
    m_write_failed = false;
    m_mode = VXReplaceMode::CreateOnly;
    const std::string inFolder = folder.empty() ? std::string(".") : folder;
    m_path = (fs::path(inFolder) / name).string();
    m_target = m_path;
    m_private = true;
    removeStaleTemporaryFiles(inFolder);
    // Owner-only from the first moment: the umask can only narrow it further.
    const int fd = createTemporary(inFolder, 0600);
    if (fd < 0) {
        return false;
    }
    return openStream(fd);
}

bool VXFileReplacement::begin(const std::string& path, VXReplaceMode mode, const std::string& permissionsFrom) {
    discard();
    m_private = false;
    m_path = path;
    m_target = path;
    m_mode = mode;
    m_error.clear();
    m_write_failed = false;
    const std::string cannot = cannotText(mode, path);

#if !defined(_WIN32)
    struct stat link {};
    const bool isLink = ::lstat(path.c_str(), &link) == 0 && S_ISLNK(link.st_mode);
    if (isLink && mode == VXReplaceMode::ReplaceName) {
        // The rename replaces the link itself; nothing is written where it points.
    } else if (isLink) {
        // Followed only when it is ours or its folder owner's, as the kernel's
        // protected-links rule has it: a link another user planted in a shared
        // folder must not choose which file is replaced.
        struct stat folder {};
        const std::string folderPath = folderOf(path).empty() ? std::string(".") : folderOf(path);
        if (link.st_uid != ::geteuid() && (::stat(folderPath.c_str(), &folder) != 0 || folder.st_uid != link.st_uid)) {
            return failWith(cannot + ": it is a link made by another user");
        }
        std::error_code error;
        const fs::path real = fs::canonical(fs::path(path), error);
        if (error) {
            return failWith(
                cannot + ": " +
                (error == std::errc::no_such_file_or_directory ? "it is a link to a missing file" : reasonOf(error)));
        }
        m_target = real.string();
    }
#endif
    StatData old{};
    bool exists = statOf(m_target, old) == 0;
#if !defined(_WIN32)
    if (isLink && mode == VXReplaceMode::ReplaceName) {
        exists = false;
        errno = ENOENT;
    }
#endif
    if (!exists && errno != ENOENT) {
        return failWith(cannot + ": " + reasonOf(errno));
    }
    if (exists) {
        if (mode == VXReplaceMode::CreateOnly) {
            return failWith(cannot + ": a file of that name already exists");
        }
        if (isFolder(old)) {
            return failWith(cannot + ": it is a folder");
        }
        if (!isRegular(old)) {
            return failWith(cannot + ": " + kNotRegular);
        }
#if defined(_WIN32)
        const bool readOnly = (old.st_mode & _S_IWRITE) == 0;
#else
        const bool readOnly = (old.st_mode & 0222) == 0 || ::access(m_target.c_str(), W_OK) != 0;
#endif
        if (readOnly) {
            return failWith(cannot + ": it is read-only");
        }
    }

    const std::string folder = folderOf(m_target).empty() ? std::string(".") : folderOf(m_target);
    removeStaleTemporaryFiles(folder);
    const int fd = createTemporary(folder, 0666);
    if (fd < 0) {
        return false;
    }
#if !defined(_WIN32)
    StatData model{};
    const bool modelled = exists || (!permissionsFrom.empty() && statOf(permissionsFrom, model) == 0);
    if (exists) {
        model = old;
        // The group as before; the owner only where we may give it away.
        [[maybe_unused]] const int ignored = ::fchown(fd, ::geteuid() == 0 ? model.st_uid : uid_t(-1), model.st_gid);
    }
    if (modelled) {
        ::fchmod(fd, model.st_mode & 0777);
    }
#else
    (void)permissionsFrom;
#endif
    return openStream(fd);
}

bool VXFileReplacement::write(std::string_view bytes) {
    if (m_stream == nullptr) {
        return false;
    }
    if (std::fwrite(bytes.data(), 1, bytes.size(), m_stream) != bytes.size()) {
        return failWith("cannot write " + inQuotes(m_path) + ": " + reasonOf(errno));
    }
    return true;
}

bool VXFileReplacement::writeAt(std::uint64_t offset, std::string_view bytes) {
    if (m_stream == nullptr) {
        return false;
    }
#if defined(_WIN32)
    const bool placed = ::_fseeki64(m_stream, static_cast<__int64>(offset), SEEK_SET) == 0;
#else
    const bool placed = ::fseeko(m_stream, static_cast<off_t>(offset), SEEK_SET) == 0;
#endif
    if (!placed) {
        return failWith("cannot write " + inQuotes(m_path) + ": " + reasonOf(errno));
    }
    return write(bytes);
}

bool VXFileReplacement::finish() {
    if (m_stream == nullptr) {
        return !m_temporary.empty();
    }
    std::FILE* stream = m_stream;
    m_stream = nullptr;
    errno = 0;
    bool ok = std::fflush(stream) == 0 && std::ferror(stream) == 0;
    // A scratch file is read back and removed, never put in place: it need not
    // outlive a crash, and a preview made through one should not wait for the disk.
#if defined(_WIN32)
    ok = ok && (m_private || ::_commit(::_fileno(stream)) == 0);
#else
    ok = ok && (m_private || ::fsync(::fileno(stream)) == 0);
#endif
    int code = errno;
    if (!ok && code == 0) {
        // An encoder's write failed earlier and errno has moved on since: one more
        // byte at the end finds the cause (the temporary file is dropped anyway).
        code = probeWriteError(
#if defined(_WIN32)
            ::_fileno(stream)
#else
            ::fileno(stream)
#endif
        );
    }
    if (std::fclose(stream) != 0 && ok) {
        ok = false;
        code = errno;
    }
    if (!ok) {
        return failWith("cannot write " + inQuotes(m_path) + ": " + (code != 0 ? reasonOf(code) : "a write error"));
    }
    return true;
}

bool VXFileReplacement::commit() {
    if (!finish()) {
        if (m_error.empty()) {
            m_error = "cannot write " + inQuotes(m_path) + ": it was not begun";
        }
        return false;
    }
    if (m_private) {
        return failWith("cannot write " + inQuotes(m_path) + ": a scratch file is never put in place");
    }
    const std::string cannot = cannotText(m_mode, m_path);
#if defined(_WIN32)
    if (m_mode == VXReplaceMode::CreateOnly) {
        // The run-time's rename never replaces an existing file.
        if (std::rename(m_temporary.c_str(), m_target.c_str()) != 0) {
            const int code = errno;
            return failWith(cannot + ": " +
                            (code == EEXIST || code == EACCES ? "a file of that name already exists" : reasonOf(code)));
        }
    } else {
        std::error_code error;
        fs::rename(fs::path(m_temporary), fs::path(m_target), error);
        if (error) {
            return failWith(cannot + ": " + reasonOf(error));
        }
    }
#else
    if (m_mode == VXReplaceMode::CreateOnly) {
        // A hard link never replaces what is there; file systems without links get
        // a check and a rename instead.
        if (::link(m_temporary.c_str(), m_target.c_str()) == 0) {
            ::unlink(m_temporary.c_str());
        } else if (errno == EEXIST) {
            return failWith(cannot + ": a file of that name already exists");
        } else {
            struct stat there {};
            if (::lstat(m_target.c_str(), &there) == 0) {
                return failWith(cannot + ": a file of that name already exists");
            }
            if (::rename(m_temporary.c_str(), m_target.c_str()) != 0) {
                return failWith(cannot + ": " + reasonOf(errno));
            }
        }
    } else if (::rename(m_temporary.c_str(), m_target.c_str()) != 0) {
        return failWith(cannot + ": " + reasonOf(errno));
    }
#endif
    forgetTemporary(m_slot);
    m_slot = -1;
    m_temporary.clear();
    return true;
}

void VXFileReplacement::discard() {
    if (m_stream != nullptr) {
        std::fclose(m_stream);
        m_stream = nullptr;
    }
    if (!m_temporary.empty()) {
        removeFile(m_temporary.c_str());
        m_temporary.clear();
    }
    forgetTemporary(m_slot);
    m_slot = -1;
}

bool vxReplaceFile(const std::string& path, std::string_view bytes, std::string& error, VXReplaceMode mode,
                   const std::string& permissionsFrom) {
    VXFileReplacement file;
    if (!file.begin(path, mode, permissionsFrom) || !file.write(bytes) || !file.commit()) {
        error = file.error();
        return false;
    }
    return true;
}

} // namespace morvessan
