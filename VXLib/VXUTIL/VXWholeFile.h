// Whole files read and replaced safely: only regular files are read, up to a limit and
// never blocking on a pipe; a file is replaced through a temporary file beside it.
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <string_view>

namespace morvessan {

enum class VXReadStatus { Read, Missing, Failed };

struct VXFileBytes {
    VXReadStatus status = VXReadStatus::Failed;
    std::string bytes;
    std::string error; // one line naming the file and the cause; empty when read
};

// Reads the whole file at `path`. Anything but a regular file (a folder, a pipe, a
// device) is refused without reading it, and so is a file of more than `limit` bytes.
VXFileBytes vxReadWholeFile(const std::string& path, std::uint64_t limit);

// Reads the regular file at `path` from start to end in pieces of at most `piece`
// bytes, each handed to `take` as it is read, so that a file of any size takes one
// piece of memory. False when the file cannot be read (the reason, naming the file,
// in `error`) or when `take` answered false (`error` then empty).
bool vxReadFileInPieces(const std::string& path, std::size_t piece,
                        const std::function<bool(std::string_view bytes)>& take, std::string& error);

// What tells one version of a file from the next: its size and its modification
// time in the finest units the system keeps (nanoseconds here, 100 ns on Windows;
// the standard library's clock has only whole seconds there).
struct VXFileStamp {
    std::uint64_t size = 0;
    std::int64_t modified = 0;
    bool operator==(const VXFileStamp&) const = default;
};

// The stamp of the regular file at `path`; false when there is none to be had.
bool vxFileStamp(const std::string& path, VXFileStamp& stamp);

enum class VXReplaceMode {
    Replace,     // the target may exist and is then replaced
    CreateOnly,  // the target must not exist, and is never replaced
    ReplaceName, // as Replace, but a link at the name is replaced itself, never
                 // followed: for files of our own making beside another (backups)
};

// Plain words for an errno value: "the disk is full", "permission denied" ...
std::string vxErrorReason(int code);

// Temporary files of ours that an interrupted program left behind are removed
// from a folder when they are this old, at the next replacement made there.
inline constexpr std::int64_t kStaleTemporarySeconds = 24 * 60 * 60;

// Writes a file so that it is replaced whole or not at all. The bytes go to a
// temporary file created exclusively, under an unpredictable name, in the target's
// folder; commit() renames it over the target. Until then, and on every failure, the
// target is untouched and the temporary file is removed (also when this object is
// destroyed, and by vxRemovePendingTemporaryFiles() on an interrupt). Temporary
// files of ours older than kStaleTemporarySeconds are cleared from the folder first.
//
// Refused with a clear error before anything is written: a target that is a folder
// or not a regular file, a read-only target, a link to a missing file, and a link
// made by another user than the caller and the folder's owner. A target
// that is a symbolic link is written through: its final target file is replaced in
// its own folder and the link stays, as editors do. Replacing the link by a plain
// file would silently cut it from the file it shares; following it is safe because
// the temporary name, the only one a stranger could plant a link at beforehand,
// is never followed.
//
// The replaced file keeps the old file's permission bits (and group, where allowed);
// a new file gets those of `permissionsFrom` when given, else the usual defaults.
class VXFileReplacement {
public:
    VXFileReplacement() = default;
    VXFileReplacement(const VXFileReplacement&) = delete;
    VXFileReplacement& operator=(const VXFileReplacement&) = delete;
    ~VXFileReplacement();

    // Checks the target and creates the temporary file; false with error() set.
    bool begin(const std::string& path, VXReplaceMode mode = VXReplaceMode::Replace,
               const std::string& permissionsFrom = {});
    // Creates a private scratch file, never put in place: a new unpredictable name in
    // `folder`, created exclusively, never through a link, readable and writable by
    // its owner alone. `name` only names it in messages and chooses the encoder by
    // its extension; whatever sits at folder/name is neither read nor touched.
    // finish() closes it; commit() is refused; discard() (or the destructor) removes it.
    bool beginPrivate(const std::string& folder, const std::string& name);
    // The temporary file, open for writing between begin() and finish().
    std::FILE* stream() const { return m_stream; }
    bool write(std::string_view bytes);
    // Writes `bytes` at `offset` from the file's start (past its end leaves a gap that
    // later writes fill); the next write() goes on from there.
    bool writeAt(std::uint64_t offset, std::string_view bytes);
    // Closes the temporary file, with its data on the disk; false when any write failed.
    bool finish();
    // Finishes when still open, then puts the temporary file in the target's place.
    bool commit();
    // Removes the temporary file; the target stays as it was.
    void discard();

    // The path as given to begin().
    const std::string& path() const { return m_path; }
    const std::string& temporaryPath() const { return m_temporary; }
    // Why the last step failed: one line naming the file.
    const std::string& error() const { return m_error; }
    // Records a failure of the caller's own (an encoder's) as this file's error.
    void fail(const std::string& error);

private:
    bool failWith(const std::string& error);
    int createTemporary(const std::string& folder, int permissions);
    bool openStream(int fd);

    std::string m_path;
    std::string m_target; // the file that is replaced (a link's final target)
    std::string m_temporary;
    std::string m_error;
    VXReplaceMode m_mode = VXReplaceMode::Replace;
    std::FILE* m_stream = nullptr;
    bool m_write_failed = false;
    bool m_private = false; // a scratch file of beginPrivate, with no target
    int m_slot = -1;
};

// Replaces `path` with `bytes` through a VXFileReplacement; false with `error` set.
bool vxReplaceFile(const std::string& path, std::string_view bytes, std::string& error,
                   VXReplaceMode mode = VXReplaceMode::Replace, const std::string& permissionsFrom = {});

// Removes the temporary files of every replacement in progress. Safe to call from a
// signal handler: it only unlinks names recorded beforehand.
void vxRemovePendingTemporaryFiles();

} // namespace morvessan
