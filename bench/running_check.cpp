// How long the engine running check takes with many processes around: it
// runs every 41 ms during a preview and in a loop while a batch stops.
// Starts PROCESSES (default 500) sleeping processes of this user, then times
// the check for a program that is not among them (the slowest case: every
// process is looked at).
//
//   build/bin/bench_running_check [PROCESSES]

#include <benchmark/benchmark.h>

#include <csignal>
#include <cstdlib>
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
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    for (const auto& process : started) {
        if (process) {
            process->forceEnd();
            process->wait();
        }
    }
    return 0;
}
