#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <string>

#include "platform/FileSystem.h"
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

class LinuxFileSystem final : public FileSystem {
public:
    bool exists(const std::string& path) const override {
        struct stat info {};
        return ::lstat(path.c_str(), &info) == 0;
    }

    std::optional<std::vector<std::uint8_t>> readPrefix(const std::string& path,
                                                        std::size_t maxBytes) const override {
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) {
            return std::nullopt;
        }
        std::vector<std::uint8_t> bytes(maxBytes);
        std::size_t total = 0;
        while (total < maxBytes) {
            const ssize_t got = ::read(fd, bytes.data() + total, maxBytes - total);
            if (got < 0 && errno == EINTR) {
                continue;
            }
            if (got <= 0) {
                break;
            }
            total += static_cast<std::size_t>(got);
        }
        ::close(fd);
        bytes.resize(total);
        return bytes;
    }

    Status replaceFile(const std::string& path, std::span<const std::uint8_t> bytes) override {
        const std::string temporary = temporaryNameFor(path);
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        if (fd < 0) {
            return errnoStatus("Cannot write \"" + path + "\"");
        }
        const bool written = writeAll(fd, bytes.data(), bytes.size());
        const int writeErrno = errno;
        const bool closed = ::close(fd) == 0;
        if (!written || !closed) {
            errno = written ? errno : writeErrno;
            Status status = errnoStatus("Cannot write \"" + path + "\"");
            ::unlink(temporary.c_str());
            return status;
        }
        if (::rename(temporary.c_str(), path.c_str()) != 0) {
            Status status = errnoStatus("Cannot replace \"" + path + "\"");
            ::unlink(temporary.c_str());
            return status;
        }
        return Status::ok();
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
};

}  // namespace

FileSystem& systemFileSystem() {
    static LinuxFileSystem fileSystem;
    return fileSystem;
}

}  // namespace pelorine::platform
