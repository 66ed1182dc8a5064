#pragma once
// Making what was written reach the disk, for the files and the folders
// whose entries a rename or a new file changed.

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <string>

namespace pelorine::platform {

// Makes what was written to the file or folder at `path` reach the disk; 0 or
// an errno value. Some filesystems (FAT among them, through some drivers)
// refuse to sync a folder; they write its entries with the files.
inline int syncToDisk(const std::string& path, bool folder) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | (folder ? O_DIRECTORY : 0));
    if (fd < 0) {
        return errno;
    }
    int failure = ::fsync(fd) == 0 || (folder && errno == EINVAL) ? 0 : errno;
    if (::close(fd) != 0 && failure == 0) {
        failure = errno;
    }
    return failure;
}

}  // namespace pelorine::platform
