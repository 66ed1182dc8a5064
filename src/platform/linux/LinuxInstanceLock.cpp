#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

#include "platform/InstanceLock.h"
#include "platform/linux/Errno.h"

namespace pelorine::platform {
namespace {

class FileLock final : public InstanceLock {
public:
    explicit FileLock(int fd) : fd_(fd) {}
    ~FileLock() override { ::close(fd_); }
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

private:
    int fd_;
};

}  // namespace

std::unique_ptr<InstanceLock> acquireInstanceLock(const std::string& folder,
                                                  const std::string& name, std::string* error) {
    const std::string path = folder + name + ".lock";
    // An advisory lock on an open file: the kernel drops it with the last
    // descriptor, which the end of the process closes.
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) {
        if (error) {
            *error = errnoStatus("Cannot open \"" + path + "\"").message();
        }
        return nullptr;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (error) {
            *error = errno == EWOULDBLOCK ? std::string()
                                          : errnoStatus("Cannot lock \"" + path + "\"").message();
        }
        ::close(fd);
        return nullptr;
    }
    return std::make_unique<FileLock>(fd);
}

}  // namespace pelorine::platform
