// The engine on sources people really have: joined recordings, broadcast
// clips, phone video, gaps, stills, damaged and interlaced files. Each source
// is made by the tests' media step (RealWorldMedia.cpp).

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "CommandLines.h"
#include "Engine.h"
#include "Probe.h"
#include "records/ChannelFiles.h"
#include "records/MediaInfo.h"

namespace zelvic::test {
namespace {

JobLine jobOn(const TempDir& dir, const std::string& fixtureName,
              const std::string& format = "mp4") {
    JobLine job;
    job.source = fixturePath(fixtureName);
    job.output = dir.file("out." + format);
    job.format = format;
    job.folder = dir.folder();
    job.sourceWidth = fixture(fixtureName).width;
    job.sourceHeight = fixture(fixtureName).height;
    return job;
}

ProcessEnd convert(const JobLine& job, const TempDir& dir) {
    return runEngineLine(composeCommandLine(job), dir.file("log.txt"));
}

std::string logOf(const TempDir& dir) {
    std::ifstream in(dir.file("log.txt"));
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

double identifiedLength(const std::string& source) {
    TempDir dir;
    const ProcessEnd end =
        runEngine({source, "-vo", "null", "-nosound", "-identify", "-currentfolder", dir.folder()},
                  dir.file("log.txt"));
    if (end.status != ExitStatus::Done) {
        return -1;
    }
    std::ifstream in(dir.file(std::string(pelorine::channel::kInfoFileName)), std::ios::binary);
    pelorine::MediaInfo info;
    auto bytes = info.bytes();
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return in ? info.mediaLength() : -1;
}

// What every output for the handheld must be: its own container with one
// picture and one sound stream, the asked picture at a constant rate, and
// sound and picture as long as asked, within a frame of each other.
void expectHandheldFile(const std::string& path, double length, AVRational rate = {25, 1}) {
    const MediaProbe probe = probeMedia(path);
    ASSERT_TRUE(probe.opened) << path;
    EXPECT_EQ(probe.brand, "MSNV");
    ASSERT_EQ(probe.count(AVMEDIA_TYPE_VIDEO), 1);
    ASSERT_EQ(probe.count(AVMEDIA_TYPE_AUDIO), 1);
    const double frame = 1 / av_q2d(rate);
    EXPECT_EQ(av_cmp_q(probe.video()->frameRate, rate), 0)
        << probe.video()->frameRate.num << "/" << probe.video()->frameRate.den;
    EXPECT_NEAR(probe.video()->duration, length, frame + 1e-3);
    EXPECT_NEAR(static_cast<double>(probe.video()->packets), length / frame, 1.01);
    const double aacFrame = 1024.0 / probe.audio()->sampleRate;
    EXPECT_NEAR(probe.audio()->duration, probe.video()->duration, frame + aacFrame);
}

// Recordings joined end to end restart their timestamps half way: one
// continuous timeline, the whole length in identify, a start in the second
// half found.
TEST(RealWorld, JoinedRecordingsPlayThrough) {
    for (const char* name : {"joined.ts", "joined.mpg"}) {
        SCOPED_TRACE(name);
        EXPECT_NEAR(identifiedLength(fixturePath(name)), 8.0, 0.1);
        TempDir dir;
        JobLine job = jobOn(dir, name);
        ASSERT_EQ(convert(job, dir).status, ExitStatus::Done) << logOf(dir);
        expectHandheldFile(job.output, 8.0);

        TempDir clipDir;
        job = jobOn(clipDir, name);
        job.timing = " -ss 5.000000 -endpos 2.000000 ";
        ASSERT_EQ(convert(job, clipDir).status, ExitStatus::Done) << logOf(clipDir);
        expectHandheldFile(job.output, 2.0);
        EXPECT_NEAR(readProgress(clipDir.folder()).value_or(-1), 7.0, 1e-6);
        const auto changes = pictureChanges(job.output, 10);
        ASSERT_EQ(changes.size(), 9u);
        EXPECT_GT(*std::min_element(changes.begin(), changes.end()), 0.5) << "a frozen picture";
    }
}

}  // namespace
}  // namespace zelvic::test
