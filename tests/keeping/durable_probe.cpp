// Writes through the platform's durable paths, for the tests that watch the
// calls it makes under strace:
//   durable_probe write PATH TEXT      writeFileDurably
//   durable_probe save PATH TEXT       saveDocument
//   durable_probe rename FROM TO       renameDurably
// Exits 0 when the call succeeded, 1 (with the reason) when not, 2 on a
// mistyped command line.

#include <cstdio>
#include <cstring>
#include <span>
#include <string>

#include "platform/FileSystem.h"

int main(int argc, char** argv) {
    if (argc != 4) {
        return 2;
    }
    auto& files = pelorine::platform::systemFileSystem();
    const std::string what = argv[1];
    const auto* text = reinterpret_cast<const std::uint8_t*>(argv[3]);
    const std::span<const std::uint8_t> bytes(text, std::strlen(argv[3]));
    pelorine::Status status = pelorine::Status::error("unknown call " + what);
    if (what == "write") {
        status = files.writeFileDurably(argv[2], bytes);
    } else if (what == "save") {
        status = files.saveDocument(argv[2], bytes);
    } else if (what == "rename") {
        status = files.renameDurably(argv[2], argv[3]);
    } else {
        return 2;
    }
    if (!status) {
        std::fprintf(stderr, "%s\n", status.message().c_str());
        return 1;
    }
    return 0;
}
