// Same command line, same bytes: a converted file can be compared byte for
// byte with one converted before.

#include <gtest/gtest.h>
#include <sched.h>

#include <algorithm>
#include <fstream>
#include <iterator>

#include "CommandLines.h"
#include "Engine.h"

namespace zelvic::test {
namespace {

std::string contentOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The first byte at which two files differ, or -1.
long firstDifference(const std::string& a, const std::string& b) {
    const auto [left, right] = std::mismatch(a.begin(), a.end(), b.begin(), b.end());
    return left == a.end() && right == b.end() ? -1 : static_cast<long>(left - a.begin());
}

// Runs the engine as on a machine with one processor: a thread count taken
// from the machine would show as different bytes.
ProcessEnd runOnOneProcessor(const std::string& line, const std::string& logPath) {
    cpu_set_t all;
    CPU_ZERO(&all);
    EXPECT_EQ(::sched_getaffinity(0, sizeof all, &all), 0);
    cpu_set_t one;
    CPU_ZERO(&one);
    for (int cpu = 0; cpu < CPU_SETSIZE; ++cpu) {
        if (CPU_ISSET(cpu, &all)) {
            CPU_SET(cpu, &one);
            break;
        }
    }
    // The engine inherits the mask of the thread that starts it.
    EXPECT_EQ(::sched_setaffinity(0, sizeof one, &one), 0);
    const ProcessEnd end = runEngineLine(line, logPath);
    EXPECT_EQ(::sched_setaffinity(0, sizeof all, &all), 0);
    return end;
}

TEST(SameBytes, EveryBuiltInProfileGivesTheSameFileOnEveryRun) {
    struct Profile {
        const char* name;
        const char* format;
        const char* codec;
        const char* size;
        const char* bitrate;
    };
    const Profile profiles[] = {{"MPEG-4 320x240", "mp4", "MPEG4", "320x240", "1200"},
                                {"MPEG-4 480x272", "mp4", "MPEG4", "480x272", "1200"},
                                {"H.264 320x240", "mp4", "h264", "320x240", "768"},
                                {"MP3", "mp3", "MPEG4", "320x240", "1200"}};
    // Twenty seconds of moving pictures: enough frames for encoder threads
    // that race each other to show it (now and then; the run on one
    // processor shows a thread count that follows the machine every time).
    const Fixture& source = fixture("long.mp4");
    for (const Profile& profile : profiles) {
        SCOPED_TRACE(profile.name);
        TempDir dir;
        JobLine job;
        job.source = fixturePath(source.name);
        job.output = dir.file(std::string("out.") + profile.format);
        job.folder = dir.folder();
        job.format = profile.format;
        job.videoCodec = profile.codec;
        job.videoSize = profile.size;
        job.videoBitrate = profile.bitrate;
        job.sourceWidth = source.width;
        job.sourceHeight = source.height;
        job.timing = " -ss 0 -endpos 20 ";
        const std::string line = composeCommandLine(job);
        std::string first;
        for (int run = 0; run < 3; ++run) {
            const ProcessEnd end = run == 1 ? runOnOneProcessor(line, dir.file("log.txt"))
                                            : runEngineLine(line, dir.file("log.txt"));
            ASSERT_TRUE(end.exited) << "run " << run;
            ASSERT_EQ(end.status, ExitStatus::Done) << "run " << run;
            const std::string bytes = contentOf(job.output);
            ASSERT_GT(bytes.size(), 10000u);
            if (run == 0) {
                first = bytes;
            } else {
                EXPECT_EQ(firstDifference(first, bytes), -1) << "run " << run;
            }
        }
    }
}

}  // namespace
}  // namespace zelvic::test
