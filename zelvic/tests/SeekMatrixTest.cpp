// Clips that start anywhere in a source, in every container the engine reads:
// each one has the asked length of moving picture from its first frame, and
// sound as long.
//
// The cases are where a seek can go wrong:
// - key frames 1, 5 and 10 s apart, and none after the first: a seek must go
//   back as far as the group's key frame, and in the last case to the
//   source's start;
// - a start early in the first group (the seek's target lies at or before
//   the source's start, where a search by timestamp lands on the first packet
//   decoded at or before it: past the first key frame, which is decoded
//   first but shown later), just after a key frame (a search by timestamp
//   lands on the packets after it), in the middle of a group (an unindexed
//   seek lands between two key frames, and the next one comes after the
//   start), and just before the next key frame (with reordered pictures that
//   key frame is decoded before the start but shown after it, and an index by
//   decoding time picks it);
// - timestamps from 0, from 1.4 s (the transport stream muxer's own offset,
//   where a seek to the source's start lands past its first key frame), and
//   from 10000 s, in every container that holds a start time.

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <fstream>
#include <iterator>
#include <mutex>
#include <ostream>
#include <thread>

#include "CommandLines.h"
#include "Engine.h"
#include "Probe.h"

namespace zelvic::test {
namespace {

constexpr double kClipLength = 1.0;
constexpr double kFrame = 0.04;  // the sources' and the outputs' rate is 25 fps
const char* const kMediaVersion = "v2";

struct TimestampStart {
    double seconds;
    std::vector<std::string> muxerArgs;
};

struct Container {
    const char* name;
    const char* extension;
    const char* profile;  // the job's video codec: the converter's MPEG-4 or H.264 profile
    std::vector<std::string> codecs;  // -g is added per source
    std::vector<TimestampStart> starts;
};

const std::vector<std::string> kFromZero = {"-muxdelay", "0", "-muxpreload", "0"};

std::vector<std::string> offset(double seconds, std::vector<std::string> more = {}) {
    std::vector<std::string> args = {"-output_ts_offset", std::to_string(seconds)};
    args.insert(args.end(), more.begin(), more.end());
    return args;
}

const std::vector<std::string> kH264 = {"-c:v", "libx264",       "-preset", "ultrafast", "-bf",
                                        "2",    "-sc_threshold", "0",       "-c:a",      "aac"};

// The clips are made with the MPEG-4 profile, whose encoder starts fastest
// (the seek comes before any encoder), and the transport stream's with the
// H.264 profile, as a broadcast recording is most often converted.
// The MPEG muxers start the timestamps a little after 0 by themselves (the
// transport stream's at 1.4 s): from 0 only when told. AVI counts frames from
// the file's first, so a later start would only be written as empty frames:
// it holds no start time, and its sources start at 0.
const Container kContainers[] = {
    {"TransportStream",
     "ts",
     "h264",
     kH264,
     {{0, kFromZero}, {1.4, {}}, {10000, offset(10000, kFromZero)}}},
    {"ProgramStream",
     "mpg",
     "MPEG4",
     {"-c:v", "mpeg2video", "-bf", "2", "-b:v", "1M", "-c:a", "mp2", "-f", "mpeg"},
     {{0, kFromZero}, {1.4, offset(1.4, kFromZero)}, {10000, offset(10000, kFromZero)}}},
    {"Matroska", "mkv", "MPEG4", kH264, {{0, {}}, {1.4, offset(1.4)}, {10000, offset(10000)}}},
    {"Mp4", "mp4", "MPEG4", kH264, {{0, {}}, {1.4, offset(1.4)}, {10000, offset(10000)}}},
    {"Flv", "flv", "MPEG4", kH264, {{0, {}}, {1.4, offset(1.4)}, {10000, offset(10000)}}},
    {"Avi", "avi", "MPEG4", {"-c:v", "mpeg4", "-bf", "2", "-c:a", "libmp3lame"}, {{0, {}}}},
};

// For gtest's names and messages.
void PrintTo(const Container& container, std::ostream* out) {
    *out << container.name;
}

// Key frames this far apart; 0: only the first.
constexpr int kKeySpacings[] = {1, 5, 10, 0};

struct Source {
    std::string name;
    int spacing = 0;
    double timestampStart = 0;
};

std::string sourceName(const Container& container, int spacing, double start) {
    return "g" + std::to_string(spacing) + "_t" + std::to_string(static_cast<int>(start * 10)) +
           "." + container.extension;
}

// The sources' centre (and a little more, so that scaling blurs none of it
// into the centre) shows a clock: its brightness steps by 2 every frame and
// comes round every 4 s. The clip's first picture must show the time asked
// for; outside, the pattern moves as a picture does.
constexpr int kClockStep = 2;
const std::string kClock = ",format=yuv420p,geq=lum='if(between(X,30,129)*between(Y,22,97),16+" +
                           std::to_string(kClockStep) +
                           "*mod(N,100),lum(X,Y))':cb='cb(X,Y)':cr='cr(X,Y)'";

std::vector<Source> makeSources(const Container& container) {
    std::vector<Source> sources;
    std::vector<MediaRecipe> recipes;
    for (const int spacing : kKeySpacings) {
        // Two groups and a clip's length after them.
        const int seconds = spacing > 0 ? 2 * spacing + 2 : 22;
        const std::string frames = std::to_string(spacing > 0 ? spacing * 25 : 100000);
        for (const TimestampStart& start : container.starts) {
            std::vector<std::string> args = movingPictureWithTone("160x120", seconds, kClock);
            args.insert(args.end(), {"-g", frames, "-keyint_min", frames});
            args.insert(args.end(), container.codecs.begin(), container.codecs.end());
            args.insert(args.end(), start.muxerArgs.begin(), start.muxerArgs.end());
            const std::string name = sourceName(container, spacing, start.seconds);
            recipes.push_back({name, args});
            sources.push_back({name, spacing, start.seconds});
        }
    }
    generateMedia(std::string("seek-") + container.extension, kMediaVersion, recipes);
    return sources;
}

struct Clip {
    std::string source;
    double start = 0;  // seconds after the source's start
    std::string what;
};

// The four starts of a source, found from its own key pictures: early in the
// first group, just after the second key frame, half way to the third, just
// before the third. Where there are none after the first, the same places on
// a 10 s grid.
std::vector<Clip> clipsOf(const Container& container, const Source& source) {
    const std::string path =
        (mediaFolder(std::string("seek-") + container.extension, kMediaVersion) / source.name)
            .string();
    const std::vector<double> keys = keyPictureTimes(path);
    EXPECT_FALSE(keys.empty()) << path;
    double first = 10;
    double next = 20;
    if (source.spacing > 0) {
        EXPECT_GE(keys.size(), 3u) << path;
        if (keys.size() < 3) {
            return {};
        }
        first = keys[1];
        next = keys[2];
    } else {
        EXPECT_EQ(keys.size(), 1u) << path;
    }
    return {{path, std::min(1.0, first / 2), "early in the first group"},
            {path, first + kFrame / 4, "just after a key frame"},
            {path, (first + next) / 2, "in the middle of a group"},
            {path, next - kFrame / 4, "just before the next key frame"}};
}

std::string readFile(const std::string& path) {
    std::ifstream in(path);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// What is wrong with the lengths of a clip's picture and sound; empty when
// nothing is.
std::string wrongLengths(const MediaProbe& probe) {
    if (!probe.video() || !probe.audio()) {
        return "picture or sound missing";
    }
    const double frames = static_cast<double>(probe.video()->packets);
    const double aacFrame = 1024.0 / probe.audio()->sampleRate;
    if (std::abs(frames - kClipLength / kFrame) > 1.01 ||
        std::abs(probe.video()->duration - kClipLength) > kFrame + 1e-3 ||
        std::abs(probe.audio()->duration - probe.video()->duration) > kFrame + aacFrame) {
        return "lengths " + std::to_string(frames) + " frames, picture " +
               std::to_string(probe.video()->duration) + " s, sound " +
               std::to_string(probe.audio()->duration) + " s";
    }
    return {};
}

// What is wrong with the clip's picture: not the source's at the start, or
// standing still; empty when nothing is.
std::string wrongPicture(const Clip& clip, const std::string& output, int frames) {
    const double shown = probeFirstPicture(output).centreMean;
    const double asked = centreLumaAt(clip.source, clip.start);
    if (std::abs(shown - asked) > 0.75 * kClockStep) {
        return "the first picture's clock shows " + std::to_string(shown) + ", the source's " +
               std::to_string(asked) + " at the start";
    }
    const std::vector<double> changes = pictureChanges(output, frames);
    const auto still =
        std::find_if(changes.begin(), changes.end(), [](double change) { return change < 0.5; });
    if (changes.size() + 1 != static_cast<std::size_t>(frames) || still != changes.end()) {
        return "the picture stands still after frame " + std::to_string(still - changes.begin());
    }
    return {};
}

// Converts the clip with `profile` and checks it; a failure message, or empty
// when the clip is as asked.
std::string checkClip(const Clip& clip, const char* profile) {
    TempDir dir;
    JobLine job;
    job.source = clip.source;
    job.output = dir.file("clip.mp4");
    job.folder = dir.folder();
    job.videoCodec = profile;
    if (job.videoCodec == "h264") {
        job.videoBitrate = "768";
    }
    job.sourceWidth = 160;
    job.sourceHeight = 120;
    job.timing =
        " -ss " + std::to_string(clip.start) + " -endpos " + std::to_string(kClipLength) + " ";
    const std::string where =
        clip.source + " -ss " + std::to_string(clip.start) + " (" + clip.what + "): ";
    const ProcessEnd end = runEngineLine(composeCommandLine(job), dir.file("log.txt"));
    if (end.status != ExitStatus::Done) {
        return where + "the run failed\n" + readFile(dir.file("log.txt"));
    }
    const MediaProbe probe = probeMedia(job.output);
    std::string wrong = wrongLengths(probe);
    if (wrong.empty()) {
        wrong = wrongPicture(clip, job.output, static_cast<int>(probe.video()->packets));
    }
    return wrong.empty() ? wrong : where + wrong;
}

class SeekMatrix : public testing::TestWithParam<Container> {};

TEST_P(SeekMatrix, EveryClipHasItsWholeLengthOfMovingPictureAndSound) {
    const Container& container = GetParam();
    std::vector<Clip> clips;
    for (const Source& source : makeSources(container)) {
        for (Clip& clip : clipsOf(container, source)) {
            clips.push_back(std::move(clip));
        }
    }
    // Two at a time: the engine runs are independent.
    std::atomic<std::size_t> next{0};
    std::mutex failuresLock;
    std::vector<std::string> failures;
    const auto work = [&] {
        for (std::size_t i = next++; i < clips.size(); i = next++) {
            if (std::string failure = checkClip(clips[i], container.profile); !failure.empty()) {
                const std::lock_guard lock(failuresLock);
                failures.push_back(std::move(failure));
            }
        }
    };
    std::thread helper(work);
    work();
    helper.join();
    for (const std::string& failure : failures) {
        ADD_FAILURE() << failure;
    }
    EXPECT_EQ(clips.size(), 4 * std::size(kKeySpacings) * container.starts.size());
}

INSTANTIATE_TEST_SUITE_P(Containers, SeekMatrix, testing::ValuesIn(kContainers),
                         [](const testing::TestParamInfo<Container>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
}  // namespace zelvic::test
