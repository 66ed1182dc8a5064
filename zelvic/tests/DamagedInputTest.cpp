#include <gtest/gtest.h>

#include <fstream>
#include <random>

#include "CommandLines.h"
#include "Engine.h"
#include "records/ChannelFiles.h"

extern "C" {
#include <libavformat/avformat.h>
}

namespace zelvic::test {
namespace {

using namespace std::chrono_literals;

std::vector<char> readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// One of a few kinds of damage: scattered bytes, a wiped block, a cut, or a
// block copied over another place.
std::vector<char> mutate(std::vector<char> bytes, std::mt19937& random) {
    std::uniform_int_distribution<std::size_t> position(0, bytes.size() - 1);
    switch (random() % 4) {
        case 0: {
            const int count = 1 + static_cast<int>(random() % 64);
            for (int i = 0; i < count; ++i) {
                bytes[position(random)] = static_cast<char>(random());
            }
            break;
        }
        case 1: {
            const std::size_t start = position(random);
            const std::size_t length =
                std::min<std::size_t>(bytes.size() - start, 64 + random() % 4096);
            std::fill_n(bytes.begin() + static_cast<std::ptrdiff_t>(start), length, '\0');
            break;
        }
        case 2:
            bytes.resize(position(random));
            break;
        default: {
            const std::size_t from = position(random);
            const std::size_t to = position(random);
            const std::size_t length =
                std::min({bytes.size() - from, bytes.size() - to, std::size_t{2048}});
            std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(from), length,
                        bytes.begin() + static_cast<std::ptrdiff_t>(to));
            break;
        }
    }
    return bytes;
}

bool opensAsMedia(const std::string& path) {
    AVFormatContext* context = nullptr;
    if (avformat_open_input(&context, path.c_str(), nullptr, nullptr) < 0) {
        return false;
    }
    const bool ok = avformat_find_stream_info(context, nullptr) >= 0 && context->nb_streams > 0;
    avformat_close_input(&context);
    return ok;
}

struct EngineRun {
    std::string source;
    std::string output;
    std::unique_ptr<TempDir> channel;
    std::unique_ptr<Process> encode;
    std::unique_ptr<Process> identify;
};

// Hundreds of damaged copies of the fixtures, two engines at a time: every
// run ends by itself with a clear status, and a failed one leaves nothing.
TEST(DamagedInput, NoCrashNoHangNoPartialOutput) {
    const char* sources[] = {"ramp43.mp4", "odd.avi", "program.mpg", "wide.mkv"};
    constexpr int kCopiesPerSource = 50;
    TempDir work;
    std::mt19937 random(20240601);
    std::vector<std::string> copies;
    for (const char* name : sources) {
        const std::vector<char> original = readAll(fixturePath(name));
        ASSERT_FALSE(original.empty());
        for (int i = 0; i < kCopiesPerSource; ++i) {
            const std::string path = work.file(std::to_string(i) + "-" + name);
            const std::vector<char> damaged = mutate(original, random);
            std::ofstream(path, std::ios::binary)
                .write(damaged.data(), static_cast<std::streamsize>(damaged.size()));
            copies.push_back(path);
        }
    }

    int finished = 0;
    int succeeded = 0;
    const auto check = [&](EngineRun& run) {
        SCOPED_TRACE(run.source);
        const ProcessEnd encoded = run.encode->wait(20s);
        ASSERT_FALSE(encoded.timedOut) << "hang";
        ASSERT_TRUE(encoded.exited) << "signal " << encoded.signal;
        EXPECT_TRUE(encoded.status == ExitStatus::Done ||
                    encoded.status == ExitStatus::SourceUnreadable ||
                    encoded.status == ExitStatus::Failed)
            << ::testing::PrintToString(encoded.status);
        if (encoded.status == ExitStatus::Done) {
            ++succeeded;
            EXPECT_TRUE(opensAsMedia(run.output));
        } else {
            EXPECT_FALSE(fs::exists(run.output));
        }
        const std::string info = run.channel->file(std::string(pelorine::channel::kInfoFileName));
        if (run.identify) {
            const ProcessEnd identified = run.identify->wait(20s);
            ASSERT_FALSE(identified.timedOut) << "hang";
            ASSERT_TRUE(identified.exited) << "signal " << identified.signal;
            EXPECT_TRUE(identified.status == ExitStatus::Done ||
                        identified.status == ExitStatus::SourceUnreadable)
                << ::testing::PrintToString(identified.status);
            if (identified.status == ExitStatus::Done) {
                EXPECT_EQ(fs::file_size(info), 199712u);
            } else {
                EXPECT_FALSE(fs::exists(info));
            }
        }
        ++finished;
    };

    std::vector<EngineRun> running;
    for (std::size_t i = 0; i < copies.size(); ++i) {
        EngineRun run;
        run.source = copies[i];
        run.channel = std::make_unique<TempDir>();
        run.output = run.channel->file("out.mp4");
        JobLine job;
        job.source = run.source;
        job.output = run.output;
        job.folder = run.channel->folder();
        job.timing = " -ss 0 -endpos 0.500000 ";
        run.encode = std::make_unique<Process>(
            enginePath(), splitCommandLine(composeCommandLine(job)), run.channel->file("log.txt"));
        if (i % 3 == 0) {
            const std::vector<std::string> args = {
                run.source,           "-vo", "null", "-nosound", "-identify", "-currentfolder",
                run.channel->folder()};
            run.identify =
                std::make_unique<Process>(enginePath(), args, run.channel->file("identify.txt"));
        }
        running.push_back(std::move(run));
        if (running.size() == 2 || i + 1 == copies.size()) {
            for (EngineRun& done : running) {
                check(done);
            }
            running.clear();
        }
    }
    EXPECT_EQ(finished, static_cast<int>(copies.size()));
    // The damage is small enough that most copies still convert.
    EXPECT_GT(succeeded, finished / 4);
}

}  // namespace
}  // namespace zelvic::test
