#include "DvdFixture.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

namespace pelorine::dvdtest {
namespace {

namespace fs = std::filesystem;

// Bump when the recipe changes, so that a stale disc is not reused.
constexpr const char* kVersion = "v2";

fs::path cacheFolder() {
    return fs::temp_directory_path() /
           ("pelorine-dvd-" + std::to_string(::getuid()) + "-" + kVersion);
}

void build(const fs::path& folder) {
    if (fs::exists(folder / "ready")) {
        return;
    }
    const fs::path building = folder.string() + ".building" + std::to_string(::getpid());
    fs::remove_all(building);
    const std::string command = std::string("'") + DVD_FIXTURE_SCRIPT + "' '" + building.string() +
                                "' > '" + building.string() + ".log' 2>&1";
    if (std::system(command.c_str()) != 0) {
        throw std::runtime_error("cannot build the test DVD; see " + building.string() + ".log");
    }
    fs::remove(building.string() + ".log");
    {
        std::FILE* ready = std::fopen((building / "ready").c_str(), "w");
        if (ready)
            std::fclose(ready);
    }
    std::error_code error;
    fs::rename(building, folder, error);
    if (error) {
        fs::remove_all(building);  // another test process got there first
    }
}

}  // namespace

const DvdFixture& dvdFixture() {
    static const DvdFixture fixture = [] {
        const fs::path folder = cacheFolder();
        build(folder);
        return DvdFixture{(folder / "DISC").string(), (folder / "DISC" / "VIDEO_TS").string(),
                          (folder / "disc.iso").string()};
    }();
    return fixture;
}

}  // namespace pelorine::dvdtest
