#include <gtest/gtest.h>

#include <filesystem>

#include "conversion/EncoderCommandLine.h"
#include "conversion/SizeEstimate.h"
#include "profiles/Profile.h"
#include "support/RealMedia.h"
#include "support/TestSupport.h"

namespace pelorine {
namespace {

Job jobOf(int profile, double seconds) {
    Job job;
    applyProfile(builtInProfile(profile), job);
    job.duration = seconds;
    job.sourceWidth = 320;
    job.sourceHeight = 240;
    job.outputPath = "/out/a." + job.outputFormat;
    return job;
}

// An MP4 part's container: 2 KB of headers and 640 bytes of index a second.
std::uint64_t mp4Container(int seconds) {
    return 2048 + 640 * static_cast<std::uint64_t>(seconds);
}

TEST(SizeEstimate, BitratesOverTheLengthConverted) {
    Job job = jobOf(kProfileH264, 100);  // 1200 + 128 kbit/s
    EXPECT_EQ(estimateOutput(job).bytes, 16600000 + mp4Container(100));
    job.clipEnabled = 1;
    job.clipStart = 30;
    job.clipEnd = 40;
    EXPECT_EQ(estimateOutput(job).bytes, 1660000 + mp4Container(10));
    EXPECT_DOUBLE_EQ(estimateOutput(job).seconds, 10);
    job.audioDisabled = "yes";
    EXPECT_EQ(estimateOutput(job).bytes, 1500000 + mp4Container(10));

    Job music = jobOf(kProfileMp3, 60);  // the picture's bitrate does not count
    EXPECT_EQ(estimateOutput(music).bytes, 960000u);
}

TEST(SizeEstimate, SplitJobsCountEveryPart) {
    Job job = jobOf(kProfileMpeg4Small, 1500);  // 25 minutes
    job.split = "00:10:00";
    EXPECT_EQ(estimateOutput(job).parts, 3);
    EXPECT_EQ(estimateOutput(job).bytes, 249000000 + 3 * mp4Container(500));
    job.split = "650 MB";  // 237 MB of streams: one part
    EXPECT_EQ(estimateOutput(job).parts, 1);
    job.duration = 6 * 3600;  // 3.4 GB
    EXPECT_EQ(estimateOutput(job).parts, 6);
    Job music = jobOf(kProfileMp3, 3000);
    music.split = "00:10:00";  // MP3 outputs are never split
    EXPECT_EQ(estimateOutput(music).parts, 1);
}

// The estimate against the engine's real outputs of every built-in profile,
// on two sources of different lengths with enough detail and motion that
// the encoders spend their bitrates, as they do on real video.
TEST(SizeEstimate, WithinTenPercentOfRealOutputs) {
    testing::TempFolder folder;
    for (const int seconds : {8, 24}) {
        const std::string source = folder.file("source" + std::to_string(seconds) + ".mp4");
        testing::shell(
            "ffmpeg -v error -y -f lavfi -i 'testsrc2=size=320x240:rate=25:duration=" +
            std::to_string(seconds) +
            ",noise=alls=6:allf=t' -f lavfi -i 'anoisesrc=a=0.3:d=" + std::to_string(seconds) +
            "' -ac 2 -c:v libx264 -preset ultrafast -crf 26 -c:a aac -shortest '" + source +
            "' 2>&1");
        ASSERT_TRUE(std::filesystem::exists(source));
        for (const int profile :
             {kProfileMpeg4Small, kProfileMpeg4Wide, kProfileH264, kProfileMp3}) {
            SCOPED_TRACE(std::string(kProfileNames[profile]) + ", " + std::to_string(seconds) +
                         " s");
            Job job = jobOf(profile, testing::durationOf(source));
            job.sourcePath = source;
            job.outputPath = folder.file("out" + std::to_string(profile) + "." + job.outputFormat);
            const EncoderCommandLine line(job, EngineInvocation{ZELVIC_PATH, folder.path()});
            testing::shell(line.commandLine("", line.firstOutput()) + " > /dev/null 2>&1");
            const auto real = std::filesystem::file_size(line.firstOutput());
            const auto estimate = static_cast<double>(estimateOutput(job).bytes);
            EXPECT_NEAR(estimate / static_cast<double>(real), 1.0, 0.10)
                << "estimate " << estimate << ", real " << real;
        }
    }
}

}  // namespace
}  // namespace pelorine
