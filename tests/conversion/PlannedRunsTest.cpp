// The command lines a batch would run, planned without running any: the same
// lines a batch with an engine gives when part 1 has the planned length.

#include "conversion/PlannedRuns.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "conversion/JobConverter.h"

namespace pelorine {
namespace {

using ::testing::HasSubstr;

const EngineInvocation kInvocation{"/opt/p/zelvic", "/run/p/"};

Job job(const std::string& split, double duration) {
    Job job;
    job.sourcePath = "/v/long.avi";
    job.outputPath = "/out/M4V00001.MP4";
    job.outputFormat = "mp4";
    job.videoCodec = "MPEG4";
    job.videoSize = "320x240";
    job.audioCodec = "aac";
    job.split = split;
    job.duration = job.clipEnd = duration;
    job.videoBitrate = "1200";
    job.audioBitrate = "128";
    job.audioSampleRate = "44100";
    job.videoDisabled = job.audioDisabled = "no";
    job.audioChannel = job.audioVolume = job.videoFrameRate = "default";
    job.quantizerMin = "1";
    job.quantizerMax = "31";
    return job;
}

// A host that converts each part as long as the plan says, recording the lines.
class RecordingHost final : public ConversionHost {
public:
    explicit RecordingHost(double partLength) : partLength_(partLength) {}
    EngineRunResult runEngine(const CommandLineFor& commandLine, const std::string&) override {
        lines.push_back(commandLine(kInvocation.channelFolder));
        return {Status::ok(), 0};
    }
    std::optional<double> measureLength(const std::string&) override { return partLength_; }
    bool stopRequested() const override { return false; }
    std::vector<std::string> lines;

private:
    double partLength_;
};

TEST(PlannedRuns, ASplitByTimeHasOneLinePerPartAsTheBatchRunsThem) {
    for (const Job& planned : {job("00:10:00", 1500), job("Not split", 1500)}) {
        const PlannedRuns runs = planRuns(planned, kInvocation);
        RecordingHost host(600);
        convertJob(jobSettingsOf(planned), kInvocation, host);
        EXPECT_EQ(runs.commandLines, host.lines);
        EXPECT_FALSE(runs.estimated);
    }
    const PlannedRuns split = planRuns(job("00:10:00", 1500), kInvocation);
    ASSERT_EQ(split.commandLines.size(), 3u);
    EXPECT_EQ(split.partLength, 600.0);
    EXPECT_THAT(split.commandLines[2], HasSubstr(" -ss 1200.000000 -endpos 00:10:00 "));
    EXPECT_THAT(split.commandLines[2], HasSubstr("/out/M4V00001_clip_3.mp4"));
}

TEST(PlannedRuns, ASplitBySizeIsPlannedFromTheBitrates) {
    bool estimated = false;
    // 650 MiB at 1328 kbit/s, 98 % of it picture and sound: 4023.6 s.
    const auto length = plannedPartLength(jobSettingsOf(job("650 MB", 9000)), estimated);
    ASSERT_TRUE(length);
    EXPECT_NEAR(*length, 650.0 * 1048576 * 8 * 0.98 / 1328000, 1e-6);
    EXPECT_TRUE(estimated);
    Job silent = job("700 MB", 9000);
    silent.audioDisabled = "yes";
    EXPECT_NEAR(*plannedPartLength(jobSettingsOf(silent), estimated),
                700.0 * 1048576 * 8 * 0.98 / 1200000, 1e-6);
    const PlannedRuns runs = planRuns(job("650 MB", 9000), kInvocation);
    EXPECT_EQ(runs.commandLines.size(), 3u);
    EXPECT_TRUE(runs.estimated);
}

TEST(PlannedRuns, AJobTheBatchWouldRefuseHasNoLines) {
    Job typed = job("Not split", 100);
    typed.videoBitrate = "1200 -o /etc/passwd";
    const PlannedRuns runs = planRuns(typed, kInvocation);
    EXPECT_FALSE(runs.settings);
    EXPECT_TRUE(runs.commandLines.empty());
}

}  // namespace
}  // namespace pelorine
