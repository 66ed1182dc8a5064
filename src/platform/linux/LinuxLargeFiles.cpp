#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cstdio>

#include <cerrno>

#include "platform/LargeFiles.h"
#include "platform/linux/DiskSync.h"
#include "platform/linux/Errno.h"

namespace pelorine::platform {
namespace {

class LinuxOpenFile final : public OpenFile {
public:
    LinuxOpenFile(int fd, std::string path) : fd_(fd), path_(std::move(path)) {}
    ~LinuxOpenFile() override {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }

    Status readAt(std::uint64_t offset, std::span<std::uint8_t> into, std::size_t& got) override {
        got = 0;
        while (true) {
            const ssize_t read = ::pread(fd_, into.data(), into.size(), static_cast<off_t>(offset));
            if (read >= 0) {
                got = static_cast<std::size_t>(read);
                return Status::ok();
            }
            if (errno != EINTR) {
                return errnoStatus("Cannot read \"" + path_ + "\"");
            }
        }
    }

    Status writeAt(std::uint64_t offset, std::span<const std::uint8_t> bytes) override {
        while (!bytes.empty()) {
            const ssize_t written =
                ::pwrite(fd_, bytes.data(), bytes.size(), static_cast<off_t>(offset));
            if (written < 0 && errno == EINTR) {
                continue;
            }
            if (written <= 0) {
                if (written == 0) {
                    errno = ENOSPC;
                }
                return errnoStatus("Cannot write \"" + path_ + "\"");
            }
            offset += static_cast<std::uint64_t>(written);
            bytes = bytes.subspan(static_cast<std::size_t>(written));
        }
        return Status::ok();
    }

    Status flushToDisk() override {
        return ::fsync(fd_) == 0 ? Status::ok() : errnoStatus("Cannot write \"" + path_ + "\"");
    }

    Status close() override {
        const int fd = fd_;
        fd_ = -1;
        return fd < 0 || ::close(fd) == 0 ? Status::ok()
                                          : errnoStatus("Cannot write \"" + path_ + "\"");
    }

private:
    int fd_;
    std::string path_;
};

Opened openWith(const std::string& path, int flags, const char* verb) {
    const int fd = ::open(path.c_str(), flags | O_CLOEXEC, 0644);
    if (fd < 0) {
        return {nullptr, errnoStatus(std::string(verb) + " \"" + path + "\"")};
    }
    return {std::make_unique<LinuxOpenFile>(fd, path), Status::ok()};
}

class LinuxLargeFiles final : public LargeFiles {
public:
    Opened openForReading(const std::string& path) override {
        return openWith(path, O_RDONLY, "Cannot open");
    }
    Opened openForUpdate(const std::string& path) override {
        return openWith(path, O_RDWR, "Cannot open");
    }
    Opened createNew(const std::string& path) override {
        return openWith(path, O_WRONLY | O_CREAT | O_EXCL, "Cannot create");
    }

    std::optional<std::uint64_t> fileSize(const std::string& path) const override {
        struct stat status {};
        if (::stat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) {
            return std::nullopt;
        }
        return static_cast<std::uint64_t>(status.st_size);
    }

    std::optional<SpaceInfo> space(const std::string& path) const override {
        struct statvfs info {};
        if (::statvfs(path.c_str(), &info) != 0) {
            return std::nullopt;
        }
        SpaceInfo space;
        space.available = static_cast<std::uint64_t>(info.f_bavail) * info.f_frsize;
        space.total = static_cast<std::uint64_t>(info.f_blocks) * info.f_frsize;
        space.readOnly = (info.f_flag & ST_RDONLY) != 0;
        return space;
    }

    Status moveIntoPlace(const std::string& from, const std::string& to) override {
        if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
            return Status::ok();
        }
        if (errno != EINVAL && errno != ENOSYS) {
            return errnoStatus("Cannot rename \"" + from + "\" to \"" + to + "\"");
        }
        // A filesystem without that kind of rename: look first.
        struct stat existing {};
        if (::lstat(to.c_str(), &existing) == 0) {
            errno = EEXIST;
            return errnoStatus("Cannot rename \"" + from + "\" to \"" + to + "\"");
        }
        return ::rename(from.c_str(), to.c_str()) == 0
                   ? Status::ok()
                   : errnoStatus("Cannot rename \"" + from + "\" to \"" + to + "\"");
    }

    Status flushFolder(const std::string& folder) override {
        if (const int failure = syncToDisk(folder, true); failure != 0) {
            errno = failure;
            return errnoStatus("Cannot write \"" + folder + "\"");
        }
        return Status::ok();
    }
};

}  // namespace

LargeFiles& systemLargeFiles() {
    static LinuxLargeFiles files;
    return files;
}

}  // namespace pelorine::platform
