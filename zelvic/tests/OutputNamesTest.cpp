// Where a run leaves its output: the final name only when whole, the
// stopped name after a quit (ChannelTest), nothing after a failure; and the
// last progress record tells where the output ends in the source.

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>

#include "CommandLines.h"
#include "Engine.h"
#include "Probe.h"
#include "records/OutputFiles.h"

namespace zelvic::test {
namespace {

std::string readText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

JobLine jobOn(const TempDir& dir, const std::string& fixtureName) {
    JobLine job;
    job.source = fixturePath(fixtureName);
    job.output = dir.file("out.mp4");
    job.folder = dir.folder();
    job.sourceWidth = fixture(fixtureName).width;
    job.sourceHeight = fixture(fixtureName).height;
    return job;
}

TEST(OutputNames, AWholeRunReplacesTheFinalNameAndLeavesNoPartialFile) {
    TempDir dir;
    const JobLine job = jobOn(dir, "ramp43.mp4");
    std::ofstream(job.output) << "an earlier conversion";
    ASSERT_EQ(runEngineLine(composeCommandLine(job), dir.file("log.txt")).status, ExitStatus::Done);
    EXPECT_FALSE(fs::exists(pelorine::partialOutputPath(job.output)));
    EXPECT_TRUE(probeMedia(job.output).opened);
}

TEST(OutputNames, AFailedRunKeepsAnEarlierFileAndLeavesNothingElse) {
    TempDir dir;
    // An audio-only output from a source without audio fails once the source is open.
    JobLine silent = jobOn(dir, "ramp43.mp4");
    silent.audioDisabled = "yes";
    silent.output = dir.file("silent.mp4");
    ASSERT_EQ(runEngineLine(composeCommandLine(silent), dir.file("log.txt")).status,
              ExitStatus::Done);
    JobLine job = jobOn(dir, "ramp43.mp4");
    job.source = silent.output;
    job.format = "mp3";
    job.output = dir.file("out.mp3");
    std::ofstream(job.output) << "an earlier conversion";
    ASSERT_EQ(runEngineLine(composeCommandLine(job), dir.file("log.txt")).status,
              ExitStatus::Failed);
    EXPECT_EQ(readText(job.output), "an earlier conversion");
    EXPECT_FALSE(fs::exists(pelorine::partialOutputPath(job.output)));
}

// Every run that ends well says, in its last progress record, where in the
// source its output ends: the next split part starts exactly there. With a
// constant-rate picture that is on the frame grid, and picture and sound end
// there together.
TEST(OutputNames, TheLastProgressRecordIsWhereTheOutputEnds) {
    struct Case {
        const char* name;
        const char* fixture;
        double start;
        const char* timing;
    };
    const Case cases[] = {
        {"whole file", "ramp43.mp4", 0, ""},
        {"clip", "ramp43.mp4", 0.5, " -ss 0.500000 -endpos 1.500000 "},
        {"time part at 29.97", "portrait.mp4", 0.4, " -ss 0.400000 -endpos 00:00:01 "},
        {"size part", "long.mp4", 0, " -ss 0 -endpos 200kb "},
        {"size part further on", "long.mp4", 12.345, " -ss 12.345000 -endpos 200kb "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        JobLine job = jobOn(dir, c.fixture);
        job.timing = c.timing;
        ASSERT_EQ(runEngineLine(composeCommandLine(job), dir.file("log.txt")).status,
                  ExitStatus::Done);
        const auto position = readProgress(dir.folder());
        ASSERT_TRUE(position.has_value());
        const MediaProbe probe = probeMedia(job.output);
        ASSERT_TRUE(probe.opened && probe.video() && probe.audio());
        const double length = *position - c.start;
        // The sound as read from the file counts the encoder's priming
        // packet too: allow one AAC frame.
        const double aacFrame = 1024.0 / probe.audio()->sampleRate;
        EXPECT_NEAR(probe.span, length, aacFrame + 1e-3);
        if (c.start == 0 && std::string(c.timing).empty()) {
            continue;  // the whole file ends where its longer stream ends
        }
        EXPECT_NEAR(probe.video()->duration, length, 1e-3);
        EXPECT_NEAR(probe.audio()->duration, length, aacFrame + 1e-3);
        const double frames = length * av_q2d(probe.video()->frameRate);
        EXPECT_NEAR(frames, std::round(frames), 1e-3);
    }
}

}  // namespace
}  // namespace zelvic::test
