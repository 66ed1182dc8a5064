// Preloaded into a program under test, records every sync and rename it asks
// of the C library, in the order the calls return, one line each into the file
// named by PELORINE_SYNC_LOG:
//   name<TAB>result<TAB>path[<TAB>path]
// Descriptors are written as the files behind them, relative names with the
// folder they are relative to. Needs no tracing rights, so it works wherever
// the tests run; every thread and child appends to the same file.

#include <dlfcn.h>
#include <fcntl.h>
#include <limits.h>
#include <stdio.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>

namespace {

std::string fileOf(int fd) {
    if (fd == AT_FDCWD) {
        char here[PATH_MAX];
        return getcwd(here, sizeof here) != nullptr ? here : "";
    }
    char link[64];
    char target[PATH_MAX];
    snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    const ssize_t length = readlink(link, target, sizeof target - 1);
    return length > 0 ? std::string(target, static_cast<std::size_t>(length)) : "";
}

std::string pathAt(int folder, const char* name) {
    if (name == nullptr || name[0] == '/') {
        return name != nullptr ? name : "";
    }
    return fileOf(folder) + "/" + name;
}

void record(const char* name, long result, const std::string& first, const std::string& second) {
    const char* log = std::getenv("PELORINE_SYNC_LOG");
    if (log == nullptr) {
        return;
    }
    std::string line = std::string(name) + "\t" + std::to_string(result) + "\t" + first;
    if (!second.empty()) {
        line += "\t" + second;
    }
    line += "\n";
    const int saved = errno;
    const int fd = open(log, O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0600);
    if (fd >= 0) {
        // One write per line, so lines of different threads never mix.
        [[maybe_unused]] const ssize_t written = write(fd, line.data(), line.size());
        close(fd);
    }
    errno = saved;
}

template <typename Function>
Function next(const char* name) {
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

}  // namespace

extern "C" {

int fsync(int fd) {
    static const auto real = next<int (*)(int)>("fsync");
    const int result = real(fd);
    record("fsync", result, fileOf(fd), "");
    return result;
}

int fdatasync(int fd) {
    static const auto real = next<int (*)(int)>("fdatasync");
    const int result = real(fd);
    record("fdatasync", result, fileOf(fd), "");
    return result;
}

int rename(const char* from, const char* to) {
    static const auto real = next<int (*)(const char*, const char*)>("rename");
    const int result = real(from, to);
    record("rename", result, pathAt(AT_FDCWD, from), pathAt(AT_FDCWD, to));
    return result;
}

int renameat(int fromFolder, const char* from, int toFolder, const char* to) {
    static const auto real = next<int (*)(int, const char*, int, const char*)>("renameat");
    const int result = real(fromFolder, from, toFolder, to);
    record("renameat", result, pathAt(fromFolder, from), pathAt(toFolder, to));
    return result;
}

int renameat2(int fromFolder, const char* from, int toFolder, const char* to, unsigned flags) {
    static const auto real =
        next<int (*)(int, const char*, int, const char*, unsigned)>("renameat2");
    const int result = real(fromFolder, from, toFolder, to, flags);
    record("renameat2", result, pathAt(fromFolder, from), pathAt(toFolder, to));
    return result;
}

}  // extern "C"
