// What keeping the list costs with 1000 Jobs in it. The window's thread only
// copies the list and hands it on ("window thread"); the write itself (the
// project file and the state file, each through the durable write) runs on
// the keeper's thread ("write"). The state folder should be on a real disk,
// where a sync waits for it:
//
//   build/bin/bench_keep_list [FOLDER]     (default /var/tmp/pelorine-bench-keep)

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "keeping/KeepThread.h"
#include "keeping/ListKeeper.h"
#include "platform/FileSystem.h"

namespace {

using namespace pelorine;

std::string folder = "/var/tmp/pelorine-bench-keep/";

KeptList thousandJobs() {
    KeptList list;
    for (int i = 0; i < 1000; ++i) {
        Job job;
        job.videoDisabled = job.audioDisabled = "no";
        job.videoBitrate = "768";
        job.videoFrameRate = "default";
        job.videoSize = "320x240";
        job.videoCodec = "h264";
        job.audioVolume = job.audioChannel = "default";
        job.audioBitrate = "128";
        job.audioSampleRate = "44100";
        job.audioCodec = "aac";
        job.quantizerMin = "20";
        job.quantizerMax = "28";
        job.startText = "00:00:00.00";
        job.endText = "00:42:17.50";
        job.outputFormat = "mp4";
        job.split = "Not split";
        job.sourcePath = "/home/someone/Videos/Series/Season 2/Episode " + std::to_string(i) +
                         " - A Rather Long Title.mkv";
        job.outputPath = "/home/someone/Videos/PSP/MAQ" + std::to_string(10000 + i) + ".MP4";
        job.duration = job.clipEnd = 2537.5;
        job.sourceWidth = 1280;
        job.sourceHeight = 720;
        job.profileIndex = 2;
        list.jobs.push_back(job);
        list.outcomes.push_back(i < 300 ? JobOutcome::Done : JobOutcome::Pending);
    }
    list.running = {300};
    return list;
}

class FiringTimer final : public KeepTimer {
public:
    void start(std::chrono::milliseconds, std::function<void()> due) override {
        due_ = std::move(due);
    }
    void cancel() override { due_ = nullptr; }
    void fire() {
        auto due = std::move(due_);
        due_ = nullptr;
        if (due) {
            due();
        }
    }

private:
    std::function<void()> due_;
};

class Silent final : public KeepDialogs {
public:
    bool askRestore(const std::string&) override { return false; }
    void tell(const std::string& text) override { std::fprintf(stderr, "%s\n", text.c_str()); }
};

class Inline final : public KeepWriter {
public:
    void post(std::function<Status()> work, std::function<void(Status)> done) override {
        done(work());
    }
    void drain() override {}
};

// One keeper over the bench folder, its writes run by `writer`.
void keepWith(benchmark::State& state, KeepWriter& writer) {
    const KeptList list = thousandJobs();
    FiringTimer timer;
    Silent dialogs;
    std::filesystem::remove_all(folder);
    ListKeeper keeper(folder, {platform::systemFileSystem(), timer, writer, dialogs},
                      [&] { return list; });
    keeper.start(false);
    for (auto _ : state) {
        keeper.changed();
        timer.fire();
        state.PauseTiming();
        writer.drain();
        state.ResumeTiming();
    }
    keeper.finish();
}

void BM_Write(benchmark::State& state) {
    Inline writer;
    keepWith(state, writer);
}
BENCHMARK(BM_Write)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_WindowThread(benchmark::State& state) {
    KeepThread writer([](std::function<void()> work) { work(); });
    keepWith(state, writer);
}
// Each round waits, untimed, for its write: a fixed number of rounds.
BENCHMARK(BM_WindowThread)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(50)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && argv[1][0] != '-') {
        folder = std::string(argv[1]) + "/";
        argv[1] = argv[0];
        --argc;
        ++argv;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove_all(folder);
    return 0;
}
