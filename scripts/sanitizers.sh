#!/usr/bin/env bash
# The sanitizer builds, run by CI after the ordinary test run:
#   build-asan: AddressSanitizer with UndefinedBehaviorSanitizer; the whole suite.
#   build-tsan: ThreadSanitizer; the tests that use threads (the batch and its
#               worker, adding files, the window logic, engine runs and their
#               channel files, started processes, the preview's player, the
#               command-line front end's batch), with the fake engine. The real
#               engine's threads are FFmpeg's, which this build cannot
#               instrument (their atomics look like races), so the tests that
#               start the real engine run in the AddressSanitizer build only.
# Any report fails the run. Suppressions (scripts/sanitizers/) cover only what
# is provably inside a system library, each with its reason.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
export QT_QPA_PLATFORM=offscreen
supp="$PWD/scripts/sanitizers"
jobs="$(nproc)"

echo "== AddressSanitizer + UndefinedBehaviorSanitizer: every test"
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0:halt_on_error=1:detect_stack_use_after_return=0"
export LSAN_OPTIONS="suppressions=$supp/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1:suppressions=$supp/ubsan.supp"
bash scripts/build.sh build-asan -DPELORINE_SANITIZE=address -DPELORINE_BENCHMARKS=OFF
ctest --test-dir build-asan --output-on-failure -j "$jobs"
unset ASAN_OPTIONS LSAN_OPTIONS UBSAN_OPTIONS

echo "== ThreadSanitizer: the tests that use threads"
export TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1:suppressions=$supp/tsan.supp"
PELORINE_TARGETS="pelorine_tests cli_process_tests fake_zelvic pelorine-cli" \
    bash scripts/build.sh build-tsan -DPELORINE_SANITIZE=thread -DPELORINE_BENCHMARKS=OFF
threaded='BatchRunTest.*:SplitRerunTest.*:MainControllerTest.*:ForeignEngineTest.*'
threaded+=':JobListOperationsTest.*:EngineTest.*:EngineConversionHost.*:LinuxChildProcess.*'
threaded+=':LinuxProcessList.*:EngineLink*:PreviewControllerTest.*:RunFolderOwner.*'
threaded+=':SideBySideBatchTest.*'
build-tsan/bin/pelorine_tests --gtest_filter="$threaded" --gtest_brief=1
# The command-line front end: its batch on a worker, the interrupt watch.
build-tsan/bin/cli_process_tests --gtest_filter='-CliRealEngineTest.*' --gtest_brief=1
