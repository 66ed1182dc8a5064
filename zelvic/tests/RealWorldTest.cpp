// The engine on sources people really have: joined recordings, broadcast
// clips, phone video, gaps, stills, damaged and interlaced files. Each source
// is made by the tests' media step (RealWorldMedia.cpp).

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
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

void expectNoFrozenStart(const std::string& path) {
    const auto changes = pictureChanges(path, 10);
    ASSERT_EQ(changes.size(), 9u);
    EXPECT_GT(*std::min_element(changes.begin(), changes.end()), 0.5) << "a frozen picture";
}

// Key frames 10 s apart in a transport stream that starts at 10000 s: a clip
// or a part starts decoding at the key frame before its start, whatever the
// distance, and its first pictures move.
TEST(RealWorld, ClipsOfBroadcastStreamsKeepTheirPicture) {
    for (const double start : {1.0, 16.0, 20.5}) {
        SCOPED_TRACE(start);
        TempDir dir;
        JobLine job = jobOn(dir, "keyframes.ts");
        job.timing = " -ss " + std::to_string(start) + " -endpos 3.000000 ";
        ASSERT_EQ(convert(job, dir).status, ExitStatus::Done) << logOf(dir);
        expectHandheldFile(job.output, 3.0);
        expectNoFrozenStart(job.output);
    }
}

// A clip far into a source reads from near its start, not from the
// source's: through the index of an MP4, by a search of the timestamps in a
// transport stream, which has none.
TEST(RealWorld, AClipFarIntoASourceReadsFromNearIt) {
    for (const auto& [name, start] : {std::pair{"long.mp4", 50.5}, {"keyframes.ts", 20.5}}) {
        SCOPED_TRACE(name);
        TempDir dir;
        JobLine job = jobOn(dir, name);
        job.timing = " -ss " + std::to_string(start) + " -endpos 1.000000 ";
        ASSERT_EQ(convert(job, dir).status, ExitStatus::Done) << logOf(dir);
        const std::string log = logOf(dir);
        const std::size_t at = log.find("seek: reading from ");
        ASSERT_NE(at, std::string::npos) << log;
        const double before = std::atof(log.c_str() + at + std::strlen("seek: reading from "));
        EXPECT_LE(before, 2.0) << log;
        EXPECT_EQ(log.find("the source's start"), std::string::npos) << log;
    }
}

// A run asked for a picture that makes none is a failure, not an empty success.
TEST(RealWorld, APartWithoutPictureFails) {
    TempDir dir;
    JobLine job = jobOn(dir, "keyframes.ts");
    job.timing = " -ss 30.000000 -endpos 3.000000 ";  // past the end
    EXPECT_EQ(convert(job, dir).status, ExitStatus::Failed) << logOf(dir);
    EXPECT_FALSE(fs::exists(job.output));
}

// 50 and 60 fps phone video: halved to what the handheld plays, unless a
// rate is asked for.
TEST(RealWorld, FastSourcesAreHalved) {
    struct Case {
        const char* fixture;
        const char* rate;
        AVRational expected;
    };
    const Case cases[] = {{"fps60.mp4", "default", {30, 1}},
                          {"fps50.mp4", "default", {25, 1}},
                          {"fps60.mp4", "15", {15, 1}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.fixture) + " at " + c.rate);
        TempDir dir;
        JobLine job = jobOn(dir, c.fixture);
        job.videoFrameRate = c.rate;
        ASSERT_EQ(convert(job, dir).status, ExitStatus::Done) << logOf(dir);
        expectHandheldFile(job.output, 2.0, c.expected);
    }
}

// One picture and five seconds of sound: the picture stays until the sound
// ends, also in a clip that starts after it.
TEST(RealWorld, AStillPictureLastsAsLongAsTheSound) {
    struct Case {
        const char* timing;
        double length;
    };
    for (const Case& c : {Case{"", 5.0}, Case{" -ss 1.000000 -endpos 2.000000 ", 2.0}}) {
        SCOPED_TRACE(c.timing);
        TempDir dir;
        JobLine job = jobOn(dir, "still.mp4");
        job.timing = c.timing;
        ASSERT_EQ(convert(job, dir).status, ExitStatus::Done) << logOf(dir);
        expectHandheldFile(job.output, c.length);
    }
}

// A picture stream no decoder reads: the sound is converted alone, and the
// log says why the picture is missing.
TEST(RealWorld, AnUndecodablePictureLeavesTheSound) {
    TempDir dir;
    JobLine job = jobOn(dir, "nodecoder.mkv");
    ASSERT_EQ(convert(job, dir).status, ExitStatus::Done) << logOf(dir);
    EXPECT_NE(logOf(dir).find("picture: missing"), std::string::npos);
    const MediaProbe probe = probeMedia(job.output);
    ASSERT_TRUE(probe.opened);
    EXPECT_EQ(probe.count(AVMEDIA_TYPE_VIDEO), 0);
    ASSERT_EQ(probe.count(AVMEDIA_TYPE_AUDIO), 1);
    EXPECT_NEAR(probe.audio()->duration, 3.0, 0.06);  // one AAC frame in, one out
}

// Interlaced video is made whole before scaling: no combing in the output.
TEST(RealWorld, InterlacedVideoIsDeinterlaced) {
    TempDir dir;
    JobLine job = jobOn(dir, "interlaced.ts");
    ASSERT_EQ(convert(job, dir).status, ExitStatus::Done) << logOf(dir);
    expectHandheldFile(job.output, 3.0);
    EXPECT_GT(rowToRowDifference(job.source, 1.0), 30);  // the source combs
    EXPECT_LT(rowToRowDifference(job.output, 1.0), 5);
}

// A phone video turned by its display matrix comes out as it is seen: the
// mark in the stored picture's top left corner lands top right.
TEST(RealWorld, RotatedPhoneVideoComesOutUpright) {
    TempDir dir;
    JobLine job = jobOn(dir, "rotated.mp4");  // identified as 180x320
    ASSERT_EQ(convert(job, dir).status, ExitStatus::Done) << logOf(dir);
    expectHandheldFile(job.output, 2.0);
    // Fitted to the height: a 136x240 picture centred in 320x240.
    const PictureProbe picture = probeFirstPicture(job.output);
    ASSERT_EQ(picture.width, 320);
    const double topRight = regionAt(job.output, 0.5, 206, 4, 16, 30).y;
    const double topLeft = regionAt(job.output, 0.5, 98, 4, 16, 30).y;
    const double bottomRight = regionAt(job.output, 0.5, 206, 200, 16, 30).y;
    EXPECT_GT(topRight, 200);
    EXPECT_LT(topLeft, 150);
    EXPECT_LT(bottomRight, 150);
}

// Sound lost in the middle (damage): silence takes its place, so sound and
// picture stay in step and the MP3 keeps the source's length.
TEST(RealWorld, LostSoundBecomesSilence) {
    TempDir dir;
    JobLine job = jobOn(dir, "damaged.mkv");
    ASSERT_EQ(convert(job, dir).status, ExitStatus::Done) << logOf(dir);
    expectHandheldFile(job.output, 6.0);
    const MediaProbe probe = probeMedia(job.output);
    ASSERT_TRUE(probe.opened && probe.audio());
    EXPECT_LT(probe.audio()->longestPacket, 0.03) << "a packet standing for a gap";

    TempDir mp3Dir;
    JobLine mp3 = jobOn(mp3Dir, "damaged.mkv", "mp3");
    ASSERT_EQ(convert(mp3, mp3Dir).status, ExitStatus::Done) << logOf(mp3Dir);
    const MediaProbe sound = probeMedia(mp3.output);
    ASSERT_TRUE(sound.opened && sound.audio());
    // A bare MP3 also carries the encoder's delay and last frame's padding.
    EXPECT_NEAR(sound.audio()->duration, 6.0, 0.1);
}

// A source without sound for a video profile still makes the handheld's
// container: a silent track as long as the picture.
TEST(RealWorld, PictureWithoutSoundGetsASilentTrack) {
    for (const char* timing : {"", " -ss 0.500000 -endpos 2.000000 "}) {
        SCOPED_TRACE(timing);
        TempDir dir;
        JobLine job = jobOn(dir, "silent.mp4");
        job.timing = timing;
        ASSERT_EQ(convert(job, dir).status, ExitStatus::Done) << logOf(dir);
        expectHandheldFile(job.output, std::string(timing).empty() ? 3.0 : 2.0);
        const auto levels = measureAudio(job.output);
        ASSERT_FALSE(levels.empty());
        EXPECT_LT(levels[0].rms, 1e-4);
    }
}

// Split by size: each part stays within its size and fills more than 90 %
// of it; the next part starts where the engine says the last one ended, and
// its first picture is the source's picture there.
TEST(RealWorld, PartsCutBySizeFillThemAndMeet) {
    struct Case {
        const char* limit;
        std::int64_t bytes;
        bool secondPart;
    };
    for (const Case& c : {Case{"1mb", 1024 * 1024, true}, Case{"5mb", 5 * 1024 * 1024, false}}) {
        SCOPED_TRACE(c.limit);
        TempDir dir;
        JobLine part = jobOn(dir, "long120.mp4");
        part.timing = std::string(" -ss 0 -endpos ") + c.limit + " ";
        ASSERT_EQ(convert(part, dir).status, ExitStatus::Done) << logOf(dir);
        const auto size = static_cast<std::int64_t>(fs::file_size(part.output));
        EXPECT_LE(size, c.bytes);
        EXPECT_GT(size, c.bytes * 9 / 10);
        const double end = readProgress(dir.folder()).value_or(-1);
        expectHandheldFile(part.output, end);
        if (!c.secondPart) {
            continue;
        }
        TempDir next;
        JobLine second = jobOn(next, "long120.mp4");
        char timing[64];
        std::snprintf(timing, sizeof timing, " -ss %lf -endpos %s ", end, c.limit);
        second.timing = timing;
        ASSERT_EQ(convert(second, next).status, ExitStatus::Done) << logOf(next);
        const PictureProbe first = probeFirstPicture(second.output);
        const double expected = regionAt(part.source, end, 120, 90, 80, 60).y;
        EXPECT_NEAR(regionAt(second.output, 0, 120, 90, 80, 60).y, expected, 3.0);
        EXPECT_GT(first.width, 0);
    }
}

}  // namespace
}  // namespace zelvic::test
