#include <fstream>
#include <iterator>

#include "Fixtures.h"

namespace zelvic::test {
namespace {

std::vector<char> readBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeBytes(const fs::path& path, const std::vector<char>& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Two recordings joined end to end, as `cat a b > joined` does: the
// timestamps of the second start again where those of the first started.
auto joinedTwice(const std::string& piece) {
    return [piece](const fs::path& folder, const fs::path& path) {
        std::vector<char> bytes = readBytes(folder / piece);
        const std::vector<char> copy = bytes;
        bytes.insert(bytes.end(), copy.begin(), copy.end());
        writeBytes(path, bytes);
    };
}

// A moving pattern: consecutive frames differ everywhere.
std::string moving(const std::string& size, const std::string& rate, double seconds) {
    return "testsrc2=size=" + size + ":rate=" + rate + ":duration=" + std::to_string(seconds);
}

std::string tone(double seconds, int rate = 48000) {
    return "sine=frequency=440:sample_rate=" + std::to_string(rate) +
           ":duration=" + std::to_string(seconds);
}

}  // namespace

std::vector<Recipe> realWorldRecipes(const std::vector<std::string>& quiet) {
    auto with = [&](std::vector<std::string> args) {
        std::vector<std::string> all = quiet;
        all.insert(all.end(), args.begin(), args.end());
        return all;
    };
    return {
        {{"piece.ts", 320, 240, 4.0, 1, 1, 0},
         with({"-f", "lavfi", "-i", moving("320x240", "25", 4), "-f", "lavfi", "-i", tone(4),
               "-c:v", "mpeg2video", "-b:v", "1M", "-c:a", "mp2", "-f", "mpegts"}),
         {}},
        {{"joined.ts", 320, 240, 8.0, 1, 1, 0}, {}, joinedTwice("piece.ts")},
        {{"piece.mpg", 320, 240, 4.0, 1, 1, 0},
         with({"-f", "lavfi", "-i", moving("320x240", "25", 4), "-f", "lavfi", "-i", tone(4),
               "-c:v", "mpeg2video", "-b:v", "1M", "-bf", "2", "-c:a", "mp2", "-f", "vob"}),
         {}},
        {{"joined.mpg", 320, 240, 8.0, 1, 1, 0}, {}, joinedTwice("piece.mpg")},
    };
}

}  // namespace zelvic::test
