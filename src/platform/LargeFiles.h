#pragma once
// Files too large to hold in memory, read and written piece by piece: the
// outputs copied to the handheld's memory stick, and an output whose
// container is completed after its muxer. The real implementation is
// `systemLargeFiles()`; tests wrap it to make writes fail or a disk fill up.

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>

#include "base/Status.h"

namespace pelorine::platform {

// An open file. Messages of failures name the file as it was opened.
class OpenFile {
public:
    virtual ~OpenFile() = default;
    // Reads up to into.size() bytes at `offset`; `got` is 0 at the end of the file.
    virtual Status readAt(std::uint64_t offset, std::span<std::uint8_t> into, std::size_t& got) = 0;
    // Writes all of `bytes` at `offset`, or fails.
    virtual Status writeAt(std::uint64_t offset, std::span<const std::uint8_t> bytes) = 0;
    // The data written so far reaches the disk.
    virtual Status flushToDisk() = 0;
    // Closes the file; a delayed write error of the filesystem shows here.
    // The destructor closes a file not closed yet, ignoring errors.
    virtual Status close() = 0;
};

struct Opened {
    std::unique_ptr<OpenFile> file;  // null on failure
    Status status = Status::ok();
};

struct SpaceInfo {
    std::uint64_t available = 0;  // bytes an ordinary user may still write
    std::uint64_t total = 0;
    bool readOnly = false;  // mounted read-only
};

class LargeFiles {
public:
    virtual ~LargeFiles() = default;

    virtual Opened openForReading(const std::string& path) = 0;
    // An existing file, for reading and writing in place.
    virtual Opened openForUpdate(const std::string& path) = 0;
    // A new file; fails when `path` exists already, so nothing is ever
    // overwritten by it.
    virtual Opened createNew(const std::string& path) = 0;

    // The size of a regular file; nullopt when there is none at `path`.
    virtual std::optional<std::uint64_t> fileSize(const std::string& path) const = 0;
    // The space of the filesystem holding `path` (a folder or a file).
    virtual std::optional<SpaceInfo> space(const std::string& path) const = 0;
    // Renames `from` to `to` (one filesystem) unless `to` exists: a file
    // is never replaced by it.
    virtual Status moveIntoPlace(const std::string& from, const std::string& to) = 0;
    // A rename or a new entry in `folder` reaches the disk.
    virtual Status flushFolder(const std::string& folder) = 0;
};

// The operating system's files.
LargeFiles& systemLargeFiles();

}  // namespace pelorine::platform
