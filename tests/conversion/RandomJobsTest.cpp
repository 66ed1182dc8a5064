// The command lines of a few thousand random Jobs, compared with the lines
// recorded in data/random_jobs.txt. Each Job is drawn from a fixed seed with
// every profile's values, typed values the grid accepts, clips, splits, DVD
// titles and video CDs, paths with blanks and quotes; its encode lines (as a
// batch plans them) and its preview line must stay exactly as recorded.
//
// The record holds a hash of every Job's lines and, for every 50th Job, the
// lines themselves. PELORINE_RECORD_RANDOM_JOBS=1 writes it anew (only ever
// on purpose: the point is that the lines do not change).

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "conversion/PlannedRuns.h"
#include "jobs/Job.h"
#include "preview/PreviewCommandLine.h"

namespace pelorine {
namespace {

constexpr int kJobCount = 3000;
constexpr int kShownEvery = 50;
constexpr std::size_t kShownLines = 4;
constexpr std::uint32_t kSeed = 20261208;

class Draw {
public:
    explicit Draw(std::uint32_t seed) : rng_(seed) {}
    // 0 .. n-1; plain modulo keeps the draws the same on every library.
    int below(int n) { return static_cast<int>(rng_() % static_cast<std::uint32_t>(n)); }
    bool chance(int percent) { return below(100) < percent; }
    template <typename T>
    const T& pick(const std::vector<T>& from) {
        return from[static_cast<std::size_t>(below(static_cast<int>(from.size())))];
    }
    // Seconds with hundredths, 0 .. limit.
    double seconds(int limit) { return below(limit * 100 + 1) / 100.0; }

private:
    std::mt19937 rng_;
};

using Texts = std::vector<std::string>;

const Texts kFrameRates = {"default", "13",     "14.985", "15", "18",    "20",
                           "23",      "23.976", "24",     "25", "29.97", "30"};
const Texts kSizes = {"160x112", "320x240", "368x208", "480x272", "720x480", "480:272", "640X480"};
const Texts kMpeg4Bitrates = {"512", "1200", "1500", "2500"};
const Texts kH264Bitrates = {"100", "200", "400", "500", "600", "768", "1200"};
const Texts kSamples = {"8000",  "11025", "12000", "16000", "22050",
                        "24000", "32000", "44100", "48000"};
const Texts kAudioBitrates = {"8",  "16",  "24",  "32",  "40",  "48",  "56",  "64", "80",
                              "96", "112", "128", "160", "192", "224", "256", "320"};
const Texts kChannels = {"default",    "left stereo", "right stereo", "left mono",
                         "right mono", "mixed mono",  "Left Stereo"};
const Texts kVolumes = {"default", "-20", "-15", "-10", "-5", "normalize",
                        "+5",      "+10", "+15", "+20", "3",  "-7"};
const Texts kSplits = {"Not split", "Not split", "Not split", "00:10:00", "00:20:00",
                       "01:00:00",  "650 MB",    "700 MB",    "800 MB",   "4.7 GB",
                       "300 KB",    "2 mb",      "not split"};
const Texts kSources = {
    "/home/ana/Videos/clip.avi", "/media/My Films/Le \"grand\" jour.mkv", "/v/it's here.mp4",
    "/tmp/a b/c\\d.mov",         "/home/ana/Видео/серия 1.wmv",           "relative.flv"};
const Texts kDrives = {"/dev/sr0", "/media/disc/VIDEO_TS", "/home/ana/My Disc.iso",
                       "/mnt/dvd \"copy\""};
const Texts kOutputFolders = {"/home/ana/PSP/", "/out/", "/media/a b/PSP video/", "/o'q/"};

std::string quantizer(Draw& draw) {
    return std::to_string(1 + draw.below(31));
}

// The video settings of one of the profiles, sometimes with a value typed in.
void drawVideo(Draw& draw, Job& job, int profile) {
    const bool h264 = profile == 2 || (profile == 4 && draw.chance(50));
    job.videoCodec = h264 ? "h264" : "MPEG4";
    job.videoSize = profile == 1 ? "480x272" : draw.chance(70) ? "320x240" : draw.pick(kSizes);
    job.videoFrameRate = draw.chance(60) ? "default" : draw.pick(kFrameRates);
    job.videoBitrate = draw.chance(80) ? draw.pick(h264 ? kH264Bitrates : kMpeg4Bitrates)
                                       : std::to_string(1 + draw.below(5000));
    job.videoDisabled = draw.chance(8) ? "yes" : "no";
    job.quantizerMin = quantizer(draw);
    job.quantizerMax = quantizer(draw);
}

void drawAudio(Draw& draw, Job& job, bool mp3) {
    job.audioCodec = mp3 ? "mp3" : draw.chance(50) ? "AAC" : "aac";
    job.audioSampleRate = draw.chance(60) ? "44100" : draw.pick(kSamples);
    job.audioBitrate = draw.chance(60) ? "128" : draw.pick(kAudioBitrates);
    job.audioChannel = draw.chance(60) ? "default" : draw.pick(kChannels);
    job.audioVolume = draw.chance(60) ? "default" : draw.pick(kVolumes);
    job.audioDisabled = draw.chance(8) ? "yes" : "no";
}

std::string clipText(double seconds) {
    char text[32];
    const auto whole = static_cast<long>(seconds);
    std::snprintf(text, sizeof text, "%02ld:%02ld:%02ld.%02d", whole / 3600, whole / 60 % 60,
                  whole % 60, static_cast<int>((seconds - whole) * 100));
    return text;
}

void drawClip(Draw& draw, Job& job) {
    job.clipEnabled = draw.chance(35) ? 1 : 0;
    job.clipStart = job.clipEnabled ? draw.seconds(static_cast<int>(job.duration / 2)) : 0.0;
    job.clipEnd = job.clipEnabled ? job.clipStart + 0.01 +
                                        draw.seconds(static_cast<int>(job.duration - job.clipStart))
                                  : job.duration;
    job.startText = clipText(job.clipStart);
    job.endText = clipText(job.clipEnd);
}

void drawSource(Draw& draw, Job& job) {
    const int kind = draw.below(10);
    job.isDvd = kind < 7 ? 0 : kind < 9 ? 1 : 2;
    if (job.isDvd == 1) {
        job.sourcePath = "DVD_DRIVE_" + draw.pick(kDrives);
        job.dvdTitle = 1 + draw.below(20);
        job.dvdChapterFirst = 1 + draw.below(10);
        job.dvdChapterLast = job.dvdChapterFirst + draw.below(10);
        job.dvdAudioId = draw.chance(20) ? -1 : 128 + draw.below(8);
        job.dvdSubtitleId = draw.chance(60) ? -1 : draw.below(32);
        job.dvdAudioChannel = draw.below(3);
    } else if (job.isDvd == 2) {
        job.sourcePath = "/media/cdrom/MPEGAV/AVSEQ0" + std::to_string(1 + draw.below(3)) + ".DAT";
    } else {
        job.sourcePath = draw.pick(kSources);
    }
    job.duration = 1.0 + draw.seconds(7200);
    job.sourceWidth = draw.chance(5) ? 0 : draw.pick(std::vector<int>{320, 640, 720, 1280, 1920});
    job.sourceHeight =
        draw.chance(5) ? 0 : draw.pick(std::vector<int>{240, 272, 360, 480, 576, 720, 1080});
}

Job drawJob(Draw& draw) {
    Job job;
    job.profileIndex = draw.below(5);
    const bool mp3 = job.profileIndex == 3 || (job.profileIndex == 4 && draw.chance(30));
    drawSource(draw, job);
    drawVideo(draw, job, job.profileIndex);
    drawAudio(draw, job, mp3);
    drawClip(draw, job);
    job.outputFormat = mp3 ? (draw.chance(90) ? "mp3" : "MP3") : (draw.chance(90) ? "mp4" : "MP4");
    job.split = draw.pick(kSplits);
    const std::string name = mp3 ? "song \"one\""
                                 : (job.videoCodec == "h264" ? "MAQ" : "M4V") +
                                       std::to_string(10000 + draw.below(90000));
    job.outputPath = draw.pick(kOutputFolders) + name + (mp3 ? ".MP3" : ".MP4");
    job.reservedValue = draw.below(3);
    if (draw.chance(2)) {
        // As only a damaged or hand-made project brings in.
        (draw.chance(50) ? job.videoBitrate : job.audioVolume) = "12 \"00";
    }
    return job;
}

// Every line of one Job: its planned encode lines (or the reason the batch
// would refuse it), then its preview line.
Texts linesOf(const Job& job, Draw& draw) {
    const bool thumbnails = draw.chance(50);
    const EngineInvocation invocation{
        draw.chance(50) ? "/usr/libexec/pelorine/zelvic" : "/opt/my apps/zelvic",
        "/run/user/1000/pelorine/run-42-7/", thumbnails};
    Texts lines;
    const PlannedRuns planned = planRuns(job, invocation);
    if (!planned.settings) {
        lines.push_back("refused: " + planned.settings.message());
    }
    for (const std::string& line : planned.commandLines) {
        lines.push_back(line);
    }
    const preview::PreviewTarget target{draw.below(721), draw.below(541),
                                        static_cast<std::uint64_t>(draw.below(1 << 30))};
    const double start = job.clipEnabled ? job.clipStart : draw.seconds(100);
    lines.push_back(
        preview::previewCommandLine(job, start, start + 1 + draw.seconds(600), target, invocation));
    return lines;
}

std::uint64_t fnv1a(const Texts& lines) {
    std::uint64_t hash = 14695981039346656037ull;
    for (const std::string& line : lines) {
        for (const char c : line + '\n') {
            hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
        }
    }
    return hash;
}

std::string hexOf(std::uint64_t value) {
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(value));
    return text;
}

// The record as this build composes it.
std::string composeRecord() {
    Draw draw(kSeed);
    std::ostringstream out;
    for (int i = 0; i < kJobCount; ++i) {
        const Job job = drawJob(draw);
        const Texts lines = linesOf(job, draw);
        out << "job " << i << ' ' << hexOf(fnv1a(lines)) << '\n';
        if (i % kShownEvery != 0) {
            continue;
        }
        // A split by a small size gives hundreds of parts: the first few and the last.
        for (std::size_t k = 0; k < lines.size(); ++k) {
            if (k < kShownLines || k + 1 == lines.size()) {
                out << "  " << lines[k] << '\n';
            }
        }
    }
    return out.str();
}

std::string recordPath() {
    return std::string(PELORINE_TEST_DATA) + "/random_jobs.txt";
}

TEST(RandomJobs, CommandLinesAreExactlyAsRecorded) {
    const std::string composed = composeRecord();
    if (std::getenv("PELORINE_RECORD_RANDOM_JOBS")) {
        std::ofstream(recordPath(), std::ios::binary) << composed;
    }
    std::ifstream in(recordPath(), std::ios::binary);
    ASSERT_TRUE(in) << recordPath();
    std::stringstream recorded;
    recorded << in.rdbuf();
    // Line by line, so that a difference names its Job.
    std::istringstream want(recorded.str());
    std::istringstream got(composed);
    std::string wantLine;
    std::string gotLine;
    int differences = 0;
    while (std::getline(want, wantLine) && differences < 5) {
        std::getline(got, gotLine);
        if (wantLine != gotLine) {
            ADD_FAILURE() << "recorded: " << wantLine << "\ncomposed: " << gotLine;
            ++differences;
        }
    }
    EXPECT_EQ(composed.size(), recorded.str().size());
}

}  // namespace
}  // namespace pelorine
