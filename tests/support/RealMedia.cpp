#include "support/RealMedia.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace pelorine::testing {

void installRealEngine(const std::string& folder) {
    const std::filesystem::path built = std::filesystem::path(ZELVIC_PATH).parent_path();
    std::filesystem::create_directories(folder);
    for (const char* file : {"zelvic", "libzelvic_play.so", "libzelvic_screen.so"}) {
        std::filesystem::copy_file(built / file, folder + file);
    }
}

std::string shell(const std::string& command) {
    std::string output;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        std::array<char, 512> buffer{};
        while (std::fgets(buffer.data(), buffer.size(), pipe)) {
            output += buffer.data();
        }
        ::pclose(pipe);
    }
    return output;
}

std::string streamsOf(const std::string& path) {
    return shell(
        "ffprobe -v error -show_entries stream=codec_name,width,height,sample_rate,channels "
        "-of csv=p=0 '" +
        path + "' 2>&1");
}

double durationOf(const std::string& path) {
    return std::atof(
        shell("ffprobe -v error -show_entries format=duration -of csv=p=0 '" + path + "'").c_str());
}

}  // namespace pelorine::testing
