#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "platform/FileSystem.h"
#include "platform/linux/DiskSync.h"
#include "platform/linux/Errno.h"

namespace pelorine::platform {
namespace {

bool writeAll(int fd, const std::uint8_t* data, std::size_t size) {
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

std::string temporaryNameFor(const std::string& path) {
    static std::atomic<unsigned> counter{0};
    return path + ".tmp" + std::to_string(::getpid()) + "_" + std::to_string(counter++);
}

// How a file is written through a temporary one.
struct TemporaryWrite {
    mode_t createMode = 0600;  // for the new file, less the umask
    bool keepMode = false;     // give it the replaced file's permissions instead
    bool sync = false;         // the data reaches the disk before the rename, the rename after it
};

// The folder a path's entry is in ("." for a bare name).
std::string folderOfEntry(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

// Renames `from` over `to` and, when `sync`, makes the rename reach the disk.
// A failure is told in the words of `replaceWhat` for the rename, of
// `writeWhat` for the sync.
Status renameInPlace(const std::string& from, const std::string& to, bool sync,
                     const std::string& replaceWhat, const std::string& writeWhat) {
    if (::rename(from.c_str(), to.c_str()) != 0) {
        return errnoStatus(replaceWhat);
    }
    if (sync) {
        if (const int failure = syncToDisk(folderOfEntry(to), true); failure != 0) {
            errno = failure;
            return errnoStatus(writeWhat);
        }
    }
    return Status::ok();
}

// Writes `bytes` to a temporary file beside `target` and renames it over
// `target`; messages name `shown`. On failure the temporary file is removed
// and `target` is untouched.
Status writeThroughTemporary(const std::string& shown, const std::string& target,
                             std::span<const std::uint8_t> bytes, TemporaryWrite how) {
    const std::string temporary = temporaryNameFor(target);
    const int fd =
        ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, how.createMode);
    if (fd < 0) {
        return errnoStatus("Cannot write \"" + shown + "\"");
    }
    struct stat replaced {};
    if (how.keepMode && ::stat(target.c_str(), &replaced) == 0) {
        ::fchmod(fd, replaced.st_mode & 07777);  // best effort, as a copy would do
    }
    int failure = 0;
    if (!writeAll(fd, bytes.data(), bytes.size()) || (how.sync && ::fsync(fd) != 0)) {
        failure = errno;
    }
    if (::close(fd) != 0 && failure == 0) {
        failure = errno;
    }
    if (failure != 0) {
        errno = failure;
        Status status = errnoStatus("Cannot write \"" + shown + "\"");
        ::unlink(temporary.c_str());
        return status;
    }
    Status renamed = renameInPlace(temporary, target, how.sync, "Cannot replace \"" + shown + "\"",
                                   "Cannot write \"" + shown + "\"");
    if (!renamed) {
        ::unlink(temporary.c_str());  // gone already when only the folder's sync failed
    }
    return renamed;
}

class LinuxFileSystem final : public FileSystem {
public:
    bool exists(const std::string& path) const override {
        struct stat info {};
        return ::lstat(path.c_str(), &info) == 0;
    }

    std::optional<std::uint64_t> fileSize(const std::string& path) const override {
        struct stat info {};
        if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
            return std::nullopt;
        }
        return static_cast<std::uint64_t>(info.st_size);
    }

    bool isFolder(const std::string& path) const override {
        struct stat info {};
        return ::lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
    }

    std::optional<std::vector<std::uint8_t>> readPrefix(const std::string& path,
                                                        std::size_t maxBytes) const override {
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) {
            return std::nullopt;
        }
        std::vector<std::uint8_t> bytes;
        struct stat info {};
        if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
            bytes.reserve(std::min(maxBytes, static_cast<std::size_t>(info.st_size)));
        }
        std::uint8_t chunk[64 * 1024];
        bool failed = false;
        while (bytes.size() < maxBytes) {
            const ssize_t got = ::read(fd, chunk, std::min(sizeof chunk, maxBytes - bytes.size()));
            if (got < 0 && errno == EINTR) {
                continue;
            }
            failed = got < 0;
            if (got <= 0) {
                break;
            }
            bytes.insert(bytes.end(), chunk, chunk + got);
        }
        ::close(fd);
        if (failed) {
            return std::nullopt;
        }
        return bytes;
    }

    Status replaceFile(const std::string& path, std::span<const std::uint8_t> bytes) override {
        return writeThroughTemporary(path, path, bytes, TemporaryWrite{});
    }

    Status writeFileDurably(const std::string& path, std::span<const std::uint8_t> bytes) override {
        return writeThroughTemporary(path, path, bytes, TemporaryWrite{0600, false, true});
    }

    Status saveDocument(const std::string& path, std::span<const std::uint8_t> bytes) override {
        // Follow a link to the file it names, so the link stays a link.
        std::string target = path;
        if (char* resolved = ::realpath(path.c_str(), nullptr)) {
            target = resolved;
            ::free(resolved);
        }
        return writeThroughTemporary(path, target, bytes, TemporaryWrite{0666, true, true});
    }

    Status renameFile(const std::string& from, const std::string& to) override {
        if (::rename(from.c_str(), to.c_str()) != 0) {
            return errnoStatus("Cannot rename \"" + from + "\" to \"" + to + "\"");
        }
        return Status::ok();
    }

    Status renameDurably(const std::string& from, const std::string& to) override {
        if (const int failure = syncToDisk(from, false); failure != 0) {
            errno = failure;
            return errnoStatus("Cannot write \"" + from + "\"");
        }
        return renameInPlace(from, to, true, "Cannot rename \"" + from + "\" to \"" + to + "\"",
                             "Cannot write \"" + to + "\"");
    }

    Status removeFile(const std::string& path, int attempts) override {
        for (int attempt = 0; attempt < attempts; ++attempt) {
            if (::unlink(path.c_str()) == 0 || errno == ENOENT) {
                if (!exists(path)) {
                    return Status::ok();
                }
            }
            if (errno == EISDIR || errno == EPERM || errno == EACCES || errno == EROFS) {
                break;  // trying again cannot help
            }
            ::usleep(10'000);
        }
        if (!exists(path)) {
            return Status::ok();
        }
        return errnoStatus("Cannot delete \"" + path + "\"");
    }

    Status createFolders(const std::string& path) override {
        std::string partial;
        std::size_t position = 0;
        while (position != std::string::npos) {
            position = path.find('/', position + 1);
            partial = path.substr(0, position);
            if (partial.empty() || ::mkdir(partial.c_str(), 0755) == 0 || errno == EEXIST) {
                continue;
            }
            return errnoStatus("Cannot create the folder \"" + partial + "\"");
        }
        struct stat info {};
        if (::stat(path.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
            return Status::error("\"" + path + "\" is not a folder.");
        }
        return Status::ok();
    }

    std::vector<std::string> listFolder(const std::string& path) const override {
        std::vector<std::string> names;
        std::error_code error;
        for (std::filesystem::directory_iterator entry(path, error), end; !error && entry != end;
             entry.increment(error)) {
            names.push_back(entry->path().filename().string());
        }
        return names;
    }

    Status removeFolder(const std::string& path) override {
        std::error_code error;
        std::filesystem::remove_all(path, error);
        if (error) {
            return Status::error("Cannot delete the folder \"" + path + "\": " + error.message());
        }
        return Status::ok();
    }
};

}  // namespace

FileSystem& systemFileSystem() {
    static LinuxFileSystem fileSystem;
    return fileSystem;
}

}  // namespace pelorine::platform
