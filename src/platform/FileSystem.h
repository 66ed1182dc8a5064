#pragma once
// Files as the converter and the engine use them: small records read and
// replaced whole. The real implementation is `systemFileSystem()`; tests may
// substitute their own.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "base/Status.h"

namespace pelorine::platform {

class FileSystem {
public:
    virtual ~FileSystem() = default;

    virtual bool exists(const std::string& path) const = 0;
    // The size in bytes of the file at `path`; nothing when it is not a file.
    virtual std::optional<std::uint64_t> fileSize(const std::string& path) const = 0;
    // Whether `path` is a folder itself, not a symbolic link to one (so that
    // walking down folders never runs in circles).
    virtual bool isFolder(const std::string& path) const = 0;

    // The first `maxBytes` bytes of the file (fewer when it is shorter);
    // nullopt when it cannot be opened or read (a folder, for one). Memory is
    // taken as the file's bytes arrive, never `maxBytes` up front.
    virtual std::optional<std::vector<std::uint8_t>> readPrefix(const std::string& path,
                                                                std::size_t maxBytes) const = 0;

    // Replaces the file whole: the bytes go to a temporary file in the same
    // folder, which is then renamed over `path`, so a reader sees either the
    // old or the new content, never half of it.
    virtual Status replaceFile(const std::string& path, std::span<const std::uint8_t> bytes) = 0;

    // Replaces the file whole so that it survives a power cut: the bytes go
    // to a temporary file in the same folder, reach the disk, and only then
    // is it renamed over `path`, the rename reaching the disk as well. After
    // a crash at any moment `path` holds either the old or the new content.
    // A new file is private to the user. On any failure the old file is left
    // as it was and no temporary file remains.
    virtual Status writeFileDurably(const std::string& path,
                                    std::span<const std::uint8_t> bytes) = 0;

    // Saves a file of the user's (a project, a profile) as writeFileDurably
    // does, except that a new file gets the usual permissions and a replaced
    // one keeps its own, and a symbolic link is followed so the file it names
    // is replaced.
    virtual Status saveDocument(const std::string& path, std::span<const std::uint8_t> bytes) = 0;

    // Renames `from` to `to` in one step, replacing a file named `to`. Both
    // must be on one filesystem (in practice: in the same folder).
    virtual Status renameFile(const std::string& from, const std::string& to) = 0;

    // Gives a finished file its name for good, as renameFile does, so that a
    // power cut never leaves `to` naming less than the whole file: the data of
    // `from` reaches the disk first, and the rename after it.
    virtual Status renameDurably(const std::string& from, const std::string& to) = 0;

    // Deletes `path` until it no longer exists, trying at most `attempts` times.
    // Ok when the file is gone (or was never there).
    virtual Status removeFile(const std::string& path, int attempts) = 0;

    // Creates the folder and any missing parents. Ok when it exists afterwards.
    virtual Status createFolders(const std::string& path) = 0;

    // The names of the entries of a folder (no "." or ".."), in no particular
    // order; empty when it cannot be read.
    virtual std::vector<std::string> listFolder(const std::string& path) const = 0;

    // Deletes the folder with everything in it. Ok when it is gone (or was
    // never there).
    virtual Status removeFolder(const std::string& path) = 0;
};

// The operating system's files.
FileSystem& systemFileSystem();

}  // namespace pelorine::platform
