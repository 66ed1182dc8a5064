// Writes through the platform's durable paths, for the tests that watch the
// calls it makes (tests/support/sync_recorder.cpp):
//   durable_probe write PATH TEXT      writeFileDurably
//   durable_probe save PATH TEXT       saveDocument
//   durable_probe rename FROM TO       renameDurably
//   durable_probe project PATH SOURCE OUTPUT...
//                                      saves a project of plain Jobs, one a pair
// Exits 0 when the call succeeded, 1 (with the reason) when not, 2 on a
// mistyped command line.

#include <cstdio>
#include <cstring>
#include <span>
#include <string>

#include "platform/FileSystem.h"
#include "project/ProjectFile.h"
#include "support/Recorders.h"

namespace {

// The Jobs of the pairs after the path, each lasting 5 s.
int saveProjectOf(int argc, char** argv) {
    pelorine::JobList jobs;
    for (int i = 3; i + 1 < argc; i += 2) {
        jobs.append(pelorine::testing::plainJob(argv[i], argv[i + 1], 5));
    }
    const pelorine::Status saved =
        pelorine::saveProject(argv[2], jobs, pelorine::platform::systemFileSystem());
    if (!saved) {
        std::fprintf(stderr, "%s\n", saved.message().c_str());
    }
    return saved ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 5 && std::strcmp(argv[1], "project") == 0 && argc % 2 == 1) {
        return saveProjectOf(argc, argv);
    }
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
