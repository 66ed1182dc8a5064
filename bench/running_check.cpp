// How long the engine running check takes with many processes around: it
// runs every 41 ms during a preview and in a loop while a batch stops.
// Starts PROCESSES (default 500) sleeping processes of this user, then times
// the check for a program that is not among them (the slowest case: every
// process is looked at), and the check that leaves out engines of our own
// runs with four of them running (their command lines are read as well): a
// copy of the shell, standing for the engine, with the channel folder option.
//
//   build/bin/bench_running_check [PROCESSES]

#include <benchmark/benchmark.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/Processes.h"

namespace {

int processCount = 500;

void BM_EngineRunningCheck(benchmark::State& state) {
    auto& processes = pelorine::platform::systemProcessList();
    for (auto _ : state) {
        benchmark::DoNotOptimize(processes.isRunning("/nonexistent/zelvic"));
    }
    state.counters["processes"] = processCount;
}
BENCHMARK(BM_EngineRunningCheck)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

std::string ownEngine;  // the stand-in engine's path
std::string ownFolder;  // the private folder its runs talk through

void BM_ForeignEngineCheck(benchmark::State& state) {
    auto& processes = pelorine::platform::systemProcessList();
    const pelorine::platform::InsideFolder ours{"-currentfolder", ownFolder};
    for (auto _ : state) {
        benchmark::DoNotOptimize(processes.isRunningExcept(ownEngine, ours));
    }
    state.counters["processes"] = processCount;
}
BENCHMARK(BM_ForeignEngineCheck)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && argv[1][0] != '-') {
        processCount = std::atoi(argv[1]);
    }
    auto& launcher = pelorine::platform::systemProcessLauncher();
    std::vector<std::unique_ptr<pelorine::platform::ChildProcess>> started;
    for (int i = 0; i < processCount; ++i) {
        started.push_back(launcher.start("/bin/sleep 120", "").process);
    }
    // Four engines of ours: the shell as "zelvic", kept from replacing itself
    // with its sleep by the command after it.
    char folder[] = "/tmp/bench-running-check-XXXXXX";
    if (::mkdtemp(folder) == nullptr) {
        return 1;
    }
    ownFolder = std::string(folder) + "/";
    ownEngine = ownFolder + "zelvic";
    std::filesystem::copy_file("/bin/bash", ownEngine);
    for (int i = 0; i < 4; ++i) {
        started.push_back(launcher
                              .start(ownEngine + " -c \"sleep 60; :\" -currentfolder " + ownFolder +
                                         "run-1-" + std::to_string(i) + "/",
                                     "")
                              .process);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    for (const auto& process : started) {
        if (process) {
            process->forceEnd();
            process->wait();
        }
    }
    std::filesystem::remove_all(folder);
    return 0;
}
