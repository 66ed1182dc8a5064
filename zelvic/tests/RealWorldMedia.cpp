#include <algorithm>
#include <cstdint>
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

// The first `from` in the file becomes `to` (of the same length).
auto replacing(std::string from, std::string to) {
    return [from, to](const fs::path&, const fs::path& path) {
        std::vector<char> bytes = readBytes(path);
        const auto found = std::search(bytes.begin(), bytes.end(), from.begin(), from.end());
        if (found != bytes.end()) {
            std::copy(to.begin(), to.end(), found);
        }
        writeBytes(path, bytes);
    };
}

// Gives the first track (the picture) of an MP4 the display matrix of a
// quarter turn clockwise, as a phone held upright writes it.
auto turnedClockwise(std::uint32_t storedHeight) {
    return [storedHeight](const fs::path&, const fs::path& path) {
        std::vector<char> bytes = readBytes(path);
        const std::string box = "tkhd";
        const auto found = std::search(bytes.begin(), bytes.end(), box.begin(), box.end());
        const auto matrix = found + 4 + 40;  // version 0: the matrix follows 40 bytes of fields
        const std::uint32_t values[9] = {0, 0x10000,   0, 0xFFFF0000, 0, 0, storedHeight << 16,
                                         0, 0x40000000};
        for (int i = 0; i < 9; ++i) {
            for (int b = 0; b < 4; ++b) {
                matrix[i * 4 + b] = static_cast<char>(values[i] >> (24 - 8 * b));
            }
        }
        writeBytes(path, bytes);
    };
}

auto wipedInTheMiddle(std::size_t length) {
    return [length](const fs::path&, const fs::path& path) {
        std::vector<char> bytes = readBytes(path);
        std::fill_n(bytes.begin() + static_cast<std::ptrdiff_t>(bytes.size() / 2), length, '\0');
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
        // A broadcast clip: H.264 with key frames 10 s apart, starting at 10000 s.
        {{"keyframes.ts", 320, 240, 25.0, 1, 2, 0},
         ffmpegArgs({moving("320x240", "25", 25), tone(25)},
                    {"-ac", "2", "-c:v", "libx264", "-preset", "ultrafast", "-g", "250",
                     "-keyint_min", "250", "-sc_threshold", "0", "-c:a", "aac", "-output_ts_offset",
                     "10000", "-f", "mpegts"}),
         {}},
        {{"fps60.mp4", 320, 240, 2.0, 1, 1, 0},
         with({"-f", "lavfi", "-i", moving("320x240", "60", 2), "-f", "lavfi", "-i", tone(2),
               "-c:v", "libx264", "-preset", "ultrafast", "-c:a", "aac"}),
         {}},
        {{"fps50.mp4", 320, 240, 2.0, 1, 1, 0},
         with({"-f", "lavfi", "-i", moving("320x240", "50", 2), "-f", "lavfi", "-i", tone(2),
               "-c:v", "libx264", "-preset", "ultrafast", "-c:a", "aac"}),
         {}},
        // Music with a picture: one frame, five seconds of sound.
        {{"still.mp4", 320, 240, 5.0, 1, 1, 0},
         with({"-f", "lavfi", "-i", "color=c=gray:s=320x240:r=25:d=0.04", "-f", "lavfi", "-i",
               tone(5), "-c:v", "libx264", "-preset", "ultrafast", "-c:a", "aac"}),
         {}},
        {{"silent.mp4", 320, 240, 3.0, 0, 0, 0},
         with({"-f", "lavfi", "-i", moving("320x240", "25", 3), "-c:v", "libx264", "-preset",
               "ultrafast"}),
         {}},
        // A picture stream of a codec nobody knows, beside good sound.
        {{"nodecoder.mkv", 320, 240, 3.0, 1, 1, 0},
         with({"-f", "lavfi", "-i", moving("320x240", "25", 3), "-f", "lavfi", "-i", tone(3),
               "-c:v", "libx264", "-preset", "ultrafast", "-c:a", "aac"}),
         replacing("V_MPEG4/ISO/AVC", "V_UNKNOWN/XXXXX")},
        // A phone held upright: stored 320x180 with a white mark top left,
        // shown turned a quarter clockwise (180x320, the mark top right).
        {{"rotated.mp4", 180, 320, 2.0, 1, 1, 0},
         with({"-f", "lavfi", "-i",
               "color=c=gray:s=320x180:r=25:d=2,drawbox=x=0:y=0:w=64:h=36:color=white:t=fill", "-f",
               "lavfi", "-i", tone(2), "-c:v", "libx264", "-preset", "ultrafast", "-c:a", "aac"}),
         turnedClockwise(180)},
        // 4 KB wiped in the middle of a Matroska file: about a second of
        // sound is lost.
        {{"damaged.mkv", 320, 240, 6.0, 1, 1, 0},
         with({"-f", "lavfi", "-i", moving("320x240", "25", 6), "-f", "lavfi", "-i", tone(6),
               "-c:v", "libx264", "-preset", "ultrafast", "-g", "25", "-c:a", "aac",
               "-cluster_time_limit", "1000"}),
         wipedInTheMiddle(4096)},
        {{"long120.mp4", 320, 240, 120.0, 1, 2, 0},
         with({"-f", "lavfi", "-i", moving("320x240", "25", 120), "-f", "lavfi", "-i", tone(120),
               "-ac", "2", "-c:v", "libx264", "-preset", "ultrafast", "-c:a", "aac"}),
         {}},
        // Fields of a moving stripe pattern, stored interlaced.
        {{"interlaced.ts", 320, 240, 3.0, 1, 1, 0},
         ffmpegArgs(
             {"color=c=black:s=320x240:r=50:d=3,geq=lum='if(lt(mod(X+N*8,64),32),235,16)':"
              "cb=128:cr=128",
              tone(3)},
             {"-vf", "tinterlace=mode=interleave_top,setfield=tff", "-flags", "+ilme+ildct", "-top",
              "1", "-c:v", "mpeg2video", "-b:v", "4M", "-c:a", "mp2", "-f", "mpegts"}),
         {}},
    };
}

}  // namespace zelvic::test
