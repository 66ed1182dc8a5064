#include "DvdFixture.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <vector>

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

std::string scrambledCopy(const std::string& into, long firstSector) {
    fs::copy(dvdFixture().disc, into, fs::copy_options::recursive);
    const fs::path vob = fs::path(into) / "VIDEO_TS" / "VTS_01_1.VOB";
    std::fstream file(vob, std::ios::in | std::ios::out | std::ios::binary);
    std::vector<char> sector(2048);
    file.seekg(firstSector * 2048);
    for (std::streamoff at = firstSector * 2048; file.read(sector.data(), 2048); at += 2048) {
        // The first packet after a plain pack header; video packets only.
        const auto* p = reinterpret_cast<unsigned char*>(sector.data());
        if (p[14] == 0 && p[15] == 0 && p[16] == 1 && p[17] == 0xE0) {
            sector[14 + 6] = static_cast<char>(sector[14 + 6] | 0x10);
            file.seekp(at);
            file.write(sector.data(), 2048);
            file.seekg(at + 2048);
        }
    }
    return into;
}

}  // namespace pelorine::dvdtest
