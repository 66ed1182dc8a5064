// The engine runs of one Job, with a scripted host playing the engine.

#include "conversion/JobConverter.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>

namespace pelorine {
namespace {

using ::testing::ElementsAre;

const EngineInvocation kInvocation{"/opt/p/zelvic", "/run/p/"};

class ScriptedHost final : public ConversionHost {
public:
    EngineRunResult runEngine(const CommandLineFor& commandLine,
                              const std::string& output) override {
        lines.push_back(commandLine(kInvocation.channelFolder));
        outputs.push_back(output);
        if (static_cast<int>(outputs.size()) == stopDuringRun) {
            stop = true;
        }
        const std::size_t run = outputs.size() - 1;
        return {Status::ok(), 0, run < reportedEnds.size() ? reportedEnds[run] : -1.0};
    }
    std::optional<double> measureLength(const std::string& path) override {
        measured.push_back(path);
        return partLength;
    }
    bool stopRequested() const override { return stop; }

    // The timing piece of run i: what stands between the media options and " -o ".
    std::string timing(std::size_t i) const {
        const std::string& line = lines.at(i);
        const auto end = line.find(" -o ");
        const auto ss = line.rfind(" -ss ", end);
        return ss == std::string::npos ? "" : line.substr(ss, end - ss);
    }

    std::vector<std::string> lines, outputs, measured;
    std::optional<double> partLength = 60.0;
    int stopDuringRun = 0;             // the run (1-based) during which the user stops
    std::vector<double> reportedEnds;  // where each run's output ended, as the engine reports
    bool stop = false;
};

Job splitJob() {
    Job job;
    job.sourcePath = "/v/long.avi";
    job.outputPath = "/out/M4V00001.MP4";
    job.outputFormat = "mp4";
    job.split = "00:10:00";
    job.duration = 250;
    job.videoDisabled = job.audioDisabled = "no";
    job.audioChannel = job.audioVolume = job.videoFrameRate = "default";
    return job;
}

TEST(JobConverter, UnsplitJobsRunOnce) {
    Job job = splitJob();
    job.split = "Not split";
    ScriptedHost host;
    const JobReport report = convertJob(jobSettingsOf(job), kInvocation, host);
    EXPECT_THAT(host.outputs, ElementsAre("/out/M4V00001.mp4"));
    EXPECT_EQ(host.timing(0), "");
    EXPECT_EQ(report.runs.size(), 1u);

    job.clipEnabled = 1;
    job.clipStart = 12.5;
    job.clipEnd = 20;
    ScriptedHost clipHost;
    convertJob(jobSettingsOf(job), kInvocation, clipHost);
    EXPECT_THAT(clipHost.outputs, ElementsAre("/out/M4V00001.MP4")) << "the stored name";
    EXPECT_EQ(clipHost.timing(0), " -ss 12.500000 -endpos 7.500000 ");

    job.split = "650 MB";
    job.outputFormat = "mp3";
    ScriptedHost mp3Host;
    convertJob(jobSettingsOf(job), kInvocation, mp3Host);
    EXPECT_EQ(mp3Host.lines.size(), 1u) << "MP3 outputs are never split";
    EXPECT_TRUE(mp3Host.measured.empty());
}

TEST(JobConverter, SplitPlanMeasuresThePartAndRunsTheRest) {
    ScriptedHost host;  // parts of 60 s over 250 s: 5 parts
    const JobReport report = convertJob(jobSettingsOf(splitJob()), kInvocation, host);
    EXPECT_THAT(host.measured, ElementsAre("/out/M4V00001_clip_1.mp4"));
    ASSERT_EQ(host.lines.size(), 5u);
    EXPECT_EQ(host.timing(0), " -ss 0 -endpos 00:10:00 ");
    EXPECT_EQ(host.timing(1), " -ss 60.000000 -endpos 00:10:00 ");
    EXPECT_EQ(host.timing(4), " -ss 240.000000 -endpos 00:10:00 ");
    EXPECT_EQ(host.outputs[4], "/out/M4V00001_clip_5.mp4");
    EXPECT_FALSE(report.stopped);
}

TEST(JobConverter, AnExactMultipleLeavesNoEmptyLastPart) {
    Job job = splitJob();
    job.duration = 240;
    ScriptedHost host;
    convertJob(jobSettingsOf(job), kInvocation, host);
    EXPECT_EQ(host.lines.size(), 4u);
}

TEST(JobConverter, AFailedMeasureEndsTheJobAfterPartOne) {
    for (const std::optional<double> length : {std::optional<double>(), std::optional(0.0)}) {
        ScriptedHost host;
        host.partLength = length;
        const JobReport report = convertJob(jobSettingsOf(splitJob()), kInvocation, host);
        EXPECT_EQ(host.lines.size(), 1u);
        EXPECT_TRUE(report.measureFailed);
    }
}

TEST(JobConverter, StopDuringPartTwoEndsTheJobBeforePartThree) {
    ScriptedHost host;
    host.stopDuringRun = 2;
    const JobReport report = convertJob(jobSettingsOf(splitJob()), kInvocation, host);
    EXPECT_EQ(host.lines.size(), 2u);
    EXPECT_TRUE(report.stopped);
}

TEST(JobConverter, ClipSplitPlan) {
    Job job = splitJob();
    job.clipEnabled = 1;
    job.clipStart = 60;
    job.clipEnd = 200;

    ScriptedHost oneRun;
    oneRun.partLength = 600;  // part 1 is longer than the 140 s clip
    convertJob(jobSettingsOf(job), kInvocation, oneRun);
    EXPECT_EQ(oneRun.lines.size(), 1u);
    EXPECT_EQ(oneRun.timing(0), " -ss 60.000000 -endpos 00:10:00 ");

    ScriptedHost threeRuns;  // part 1 measures 60 s: n = 2
    convertJob(jobSettingsOf(job), kInvocation, threeRuns);
    ASSERT_EQ(threeRuns.lines.size(), 3u);
    EXPECT_EQ(threeRuns.timing(0), " -ss 60.000000 -endpos 00:10:00 ");
    EXPECT_EQ(threeRuns.timing(1), " -ss 120.000000 -endpos 00:10:00 ");
    EXPECT_EQ(threeRuns.timing(2), " -ss 180.000000 -endpos 20.000000 ");
    EXPECT_THAT(threeRuns.outputs,
                ElementsAre("/out/M4V00001_clip_1.mp4", "/out/M4V00001_clip_2.mp4",
                            "/out/M4V00001_clip_3.mp4"));

    ScriptedHost shortClip;  // 90 s in parts of 60 s: n = 1, the last part is part 2
    job.clipEnd = 150;
    convertJob(jobSettingsOf(job), kInvocation, shortClip);
    ASSERT_EQ(shortClip.lines.size(), 2u);
    EXPECT_EQ(shortClip.timing(1), " -ss 120.000000 -endpos 30.000000 ");
}

TEST(JobConverter, AStopInAClipSplitPlanRunsNoFurtherPart) {
    Job job = splitJob();
    job.clipEnabled = 1;
    job.clipStart = 0;
    job.clipEnd = 250;
    ScriptedHost host;
    host.stopDuringRun = 2;
    const JobReport report = convertJob(jobSettingsOf(job), kInvocation, host);
    EXPECT_EQ(host.lines.size(), 2u);
    EXPECT_TRUE(report.stopped);

    ScriptedHost stoppedInPartOne;
    stoppedInPartOne.stopDuringRun = 1;
    convertJob(jobSettingsOf(job), kInvocation, stoppedInPartOne);
    EXPECT_EQ(stoppedInPartOne.lines.size(), 1u);
    EXPECT_TRUE(stoppedInPartOne.measured.empty()) << "nothing left to plan";
}

// Each part starts where the previous one's output ended, as the engine's
// last progress record says, not at a multiple of the first part's length.
TEST(JobConverter, PartsStartWhereThePreviousOneEnded) {
    ScriptedHost host;
    host.reportedEnds = {59.96, 119.92, 179.88, 239.84};
    convertJob(jobSettingsOf(splitJob()), kInvocation, host);
    ASSERT_EQ(host.lines.size(), 5u);
    EXPECT_EQ(host.timing(1), " -ss 59.960000 -endpos 00:10:00 ");
    EXPECT_EQ(host.timing(4), " -ss 239.840000 -endpos 00:10:00 ");

    Job job = splitJob();
    job.clipEnabled = 1;
    job.clipStart = 60;
    job.clipEnd = 200;
    ScriptedHost clip;
    clip.reportedEnds = {120.04, 180.08};
    convertJob(jobSettingsOf(job), kInvocation, clip);
    ASSERT_EQ(clip.lines.size(), 3u);
    EXPECT_EQ(clip.timing(1), " -ss 120.040000 -endpos 00:10:00 ");
    EXPECT_EQ(clip.timing(2), " -ss 180.080000 -endpos 19.920000 ");

    // A run that reports nothing usable: the measured length on from its start.
    ScriptedHost silent;
    silent.reportedEnds = {-1, 30};
    convertJob(jobSettingsOf(splitJob()), kInvocation, silent);
    EXPECT_EQ(silent.timing(1), " -ss 60.000000 -endpos 00:10:00 ");
    EXPECT_EQ(silent.timing(2), " -ss 120.000000 -endpos 00:10:00 ");
}

// Floating-point rounding must not leave a last part shorter than a frame.
TEST(JobConverter, NoLastPartShorterThanAFrame) {
    Job job = splitJob();
    job.clipEnabled = 1;
    job.clipStart = 0.1;
    job.clipEnd = 0.1 + 3 * 0.7;  // three parts of 0.7 s, give or take 1e-16
    ScriptedHost host;
    host.partLength = 0.7;
    convertJob(jobSettingsOf(job), kInvocation, host);
    EXPECT_EQ(host.lines.size(), 3u);
    for (std::size_t i = 0; i < host.lines.size(); ++i) {
        EXPECT_EQ(host.timing(i).find("-endpos 0.000000"), std::string::npos) << host.timing(i);
    }
}

}  // namespace
}  // namespace pelorine
