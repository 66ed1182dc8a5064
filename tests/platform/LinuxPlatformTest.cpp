// The Linux platform layer against the real system: folders, files,
// processes and the process list.

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <csignal>

#include <map>

#include <sched.h>

#include "platform/FileSystem.h"
#include "platform/Machine.h"
#include "platform/Processes.h"
#include "platform/SystemPaths.h"
#include "support/TestSupport.h"

namespace pelorine::platform {
namespace {

using pelorine::testing::TempFolder;

LinuxEnvironment environment(std::map<std::string, std::string> variables,
                             std::string executable = "/opt/pelorine/bin/pelorine") {
    return LinuxEnvironment{[variables](const std::string& name) -> std::optional<std::string> {
                                const auto found = variables.find(name);
                                return found == variables.end() ? std::nullopt
                                                                : std::optional(found->second);
                            },
                            std::move(executable), "/nonexistent-home"};
}

TEST(LinuxSystemPaths, FollowTheDesktopConventions) {
    TempFolder home;
    const auto paths = makeLinuxSystemPaths(environment({{"HOME", home.path()}}));
    EXPECT_EQ(paths->programFolder(), "/opt/pelorine/bin/");
    EXPECT_EQ(paths->enginePath(), "/opt/pelorine/libexec/pelorine/zelvic");
    EXPECT_EQ(paths->settingsFilePath(), home.file(".config/pelorine/zelvic.ini"));
    EXPECT_EQ(paths->defaultOutputFolder(), home.file("Videos/PSP"));
    EXPECT_EQ(paths->logFolder(), home.file(".local/state/pelorine/logs/"));
    EXPECT_EQ(paths->stateFolder(), home.file(".local/state/pelorine/"));

    std::string folder;
    ASSERT_TRUE(paths->ensureChannelFolder(folder));
    EXPECT_EQ(folder, home.file(".cache/pelorine/run/"));
    struct stat info {};
    ASSERT_EQ(::stat(folder.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
}

TEST(LinuxSystemPaths, HonourTheXdgVariablesAndTheVideosFolder) {
    TempFolder home;
    std::filesystem::create_directories(home.file("conf"));
    home.write("conf/user-dirs.dirs",
               "# written by xdg-user-dirs-update\n"
               "XDG_VIDEOS_DIR=\"$HOME/Filme\"\n");
    const auto paths = makeLinuxSystemPaths(environment({{"HOME", home.path()},
                                                         {"XDG_CONFIG_HOME", home.file("conf")},
                                                         {"XDG_RUNTIME_DIR", home.file("rt")},
                                                         {"XDG_STATE_HOME", home.file("st")}}));
    EXPECT_EQ(paths->settingsFilePath(), home.file("conf/pelorine/zelvic.ini"));
    EXPECT_EQ(paths->defaultOutputFolder(), home.file("Filme/PSP"));
    EXPECT_EQ(paths->logFolder(), home.file("st/pelorine/logs/"));
    EXPECT_EQ(paths->stateFolder(), home.file("st/pelorine/"));
    std::string folder;
    ASSERT_TRUE(paths->ensureChannelFolder(folder));
    EXPECT_EQ(folder, home.file("rt/pelorine/"));
}

TEST(LinuxSystemPaths, EnginePathIsCanonical) {
    TempFolder folder;
    std::filesystem::create_directories(folder.file("real"));
    std::filesystem::create_directory_symlink(folder.file("real"), folder.file("link"));
    pelorine::testing::installFakeEngine(folder.file("real/"));
    const auto paths = makeLinuxSystemPaths(environment({}, folder.file("link/pelorine")));
    EXPECT_EQ(paths->enginePath(), std::filesystem::canonical(folder.file("real/zelvic")).string());
}

// In the build tree the engine and the help sit beside the program; installed,
// the engine is in libexec/pelorine and the help in share/pelorine/help.
TEST(LinuxSystemPaths, EngineAndHelpBesideTheProgramOrInstalled) {
    TempFolder folder;
    std::filesystem::create_directories(folder.file("build/help"));
    pelorine::testing::installFakeEngine(folder.file("build/"));
    folder.write("build/help/index.html", "help");
    const auto built = makeLinuxSystemPaths(environment({}, folder.file("build/pelorine")));
    EXPECT_EQ(built->enginePath(), folder.file("build/zelvic"));
    EXPECT_EQ(built->helpStartPage(), folder.file("build/help/index.html"));

    std::filesystem::create_directories(folder.file("usr/bin"));
    std::filesystem::create_directories(folder.file("usr/libexec/pelorine"));
    pelorine::testing::installFakeEngine(folder.file("usr/libexec/pelorine/"));
    const auto installed = makeLinuxSystemPaths(environment({}, folder.file("usr/bin/pelorine")));
    EXPECT_EQ(installed->enginePath(), folder.file("usr/libexec/pelorine/zelvic"));
    EXPECT_EQ(installed->helpStartPage(), folder.file("usr/share/pelorine/help/index.html"));
}

TEST(LinuxFileSystem, ReplacesReadsAndRemovesFiles) {
    TempFolder folder;
    FileSystem& files = systemFileSystem();
    const std::string path = folder.file("record.dat");
    const std::vector<std::uint8_t> bytes = {1, 2, 3, 4, 5};
    ASSERT_TRUE(files.replaceFile(path, bytes));
    EXPECT_EQ(files.readPrefix(path, 100), bytes);
    EXPECT_EQ(files.readPrefix(path, 2), std::vector<std::uint8_t>({1, 2}));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1)
        << "no temporary file is left behind";

    EXPECT_TRUE(files.removeFile(path, 3));
    EXPECT_FALSE(files.exists(path));
    EXPECT_FALSE(files.readPrefix(path, 8));
    EXPECT_TRUE(files.removeFile(path, 3)) << "a missing file is already deleted";

    std::filesystem::create_directories(folder.file("dir.dat"));
    const Status status = files.removeFile(folder.file("dir.dat"), 3);
    EXPECT_FALSE(status);
    EXPECT_NE(status.message().find("dir.dat"), std::string::npos);
    EXPECT_FALSE(files.replaceFile(folder.file("no/such/folder/x"), bytes));

    // Folders, but never a link to one: walking down them cannot run in circles.
    std::filesystem::create_directory_symlink(folder.file("dir.dat"), folder.file("loop"));
    EXPECT_TRUE(files.isFolder(folder.file("dir.dat")));
    EXPECT_FALSE(files.isFolder(folder.file("loop")));
    EXPECT_FALSE(files.isFolder(path));
}

TEST(LinuxProcessLauncher, SplitsTheLineWaitsAndLogs) {
    TempFolder folder;
    folder.write("script",
                 "#!/bin/sh\nfor a in \"$@\"; do echo \"[$a]\"; done\n"
                 "read line && echo stdin-was-open\necho oops >&2\nexit 7\n");
    std::filesystem::permissions(folder.file("script"), std::filesystem::perms::owner_all);
    const std::string log = folder.file("run.log");
    const LaunchResult result = systemProcessLauncher().launch(
        "\"" + folder.file("script") + "\" one \"two words\" \"C:\\App\\\\\"", log, true);
    ASSERT_TRUE(result.started);
    EXPECT_EQ(result.exitStatus, 7);
    EXPECT_EQ(folder.read("run.log"), "[one]\n[two words]\n[C:\\App\\]\noops\n");

    const LaunchResult missing =
        systemProcessLauncher().launch(folder.file("no-such-program") + " x", "", true);
    EXPECT_FALSE(missing.started);
    EXPECT_EQ(missing.exitStatus, -1);
}

TEST(LinuxProcessList, FindsTheEngineOnlyWhileItRuns) {
    TempFolder folder;
    pelorine::testing::installFakeEngine(folder.path());
    std::filesystem::create_directories(folder.file("run"));
    const std::string engine = folder.file("zelvic");
    ProcessList& processes = systemProcessList();
    EXPECT_EQ(processes.isRunning(engine), ProcessQuery::NotRunning);

    // Without -o or -identify the fake engine waits for quit.
    const LaunchResult started = systemProcessLauncher().launch(
        engine + " -currentfolder \"" + folder.file("run/") + "\"", "", false);
    ASSERT_TRUE(started.started);
    EXPECT_TRUE(pelorine::testing::waitUntil(
        [&] { return processes.isRunning(engine) == ProcessQuery::Running; }));
    EXPECT_EQ(processes.isRunning(folder.file("ZELVIC")), ProcessQuery::NotRunning)
        << "the path is compared exactly";

    // Quit through the control file: the process ends and is no longer found.
    folder.write("run/vctrl.dat", std::string("\2\0\0\0", 4));
    EXPECT_TRUE(pelorine::testing::waitUntil(
        [&] { return processes.isRunning(engine) == ProcessQuery::NotRunning; }));
}

// The check that leaves out the engines of our own runs: those whose channel
// folder lies inside the private folder. One talking through the private
// folder itself, or through a folder elsewhere, still counts, and so does
// one that merely names a path inside it as something else.
TEST(LinuxProcessList, LeavesOutOnlyEnginesWhoseChannelFolderIsInsideTheGivenOne) {
    TempFolder folder;
    pelorine::testing::installFakeEngine(folder.path());
    const std::string engine = folder.file("zelvic");
    const InsideFolder ours{"-currentfolder", folder.file("run/")};
    ProcessList& processes = systemProcessList();
    const auto start = [&](const std::string& arguments) {
        // Without -o or -identify, and with -hold, the fake engine waits 30 s.
        auto started = systemProcessLauncher().start(engine + " -hold " + arguments, "");
        EXPECT_TRUE(started.started);
        return std::move(started.process);
    };
    const auto settled = [&](ProcessQuery expected) {
        return pelorine::testing::waitUntil(
            [&] { return processes.isRunningExcept(engine, ours) == expected; });
    };
    EXPECT_EQ(processes.isRunningExcept(engine, ours), ProcessQuery::NotRunning);
    // The fake engine plays a source that is there until it is ended.
    std::filesystem::create_directories(folder.file("run/run-7-1"));
    std::filesystem::create_directories(folder.file("other"));
    folder.write("run/run-7-1/clip.avi", "length=10");

    auto own = start("-currentfolder \"" + folder.file("run/run-7-1/") + "\"");
    auto second = start("-currentfolder \"" + folder.file("run/run-8-3/") + "\"");
    ASSERT_TRUE(pelorine::testing::waitUntil(
        [&] { return processes.isRunning(engine) == ProcessQuery::Running; }));
    EXPECT_TRUE(settled(ProcessQuery::NotRunning));
    EXPECT_EQ(processes.isRunningExcept(engine, ours), ProcessQuery::NotRunning);

    for (const std::string& foreign : {"-currentfolder \"" + folder.file("run/") + "\"",
                                       "-currentfolder \"" + folder.file("elsewhere/") + "\"",
                                       "\"" + folder.file("run/run-7-1/clip.avi") +
                                           "\" -currentfolder \"" + folder.file("other/") + "\"",
                                       "-currentfolder \"" + folder.path() + "\""}) {
        auto theirs = start(foreign);
        EXPECT_TRUE(settled(ProcessQuery::Running)) << foreign;
        EXPECT_FALSE(theirs->hasEnded()) << foreign;
        theirs->forceEnd();
        theirs->wait();
        EXPECT_TRUE(settled(ProcessQuery::NotRunning)) << foreign;
    }
    EXPECT_EQ(processes.isRunning(engine), ProcessQuery::Running) << "ours still run";
    for (auto* process : {&own, &second}) {
        (*process)->forceEnd();
        (*process)->wait();
    }
}

// Auto's facts: the processors of this thread's affinity (what a taskset
// leaves) and the kernel's available memory.
TEST(LinuxMachine, CountsTheProcessorsItMayUseAndTheAvailableMemory) {
    const MachineFacts all = systemMachine().facts();
    cpu_set_t before;
    ASSERT_EQ(::sched_getaffinity(0, sizeof before, &before), 0);
    EXPECT_EQ(all.processors, CPU_COUNT(&before));
    ASSERT_TRUE(all.availableMemory);
    EXPECT_GT(*all.availableMemory, std::uint64_t{16} << 20);

    int first = 0;
    while (!CPU_ISSET(first, &before)) {
        ++first;
    }
    cpu_set_t one;
    CPU_ZERO(&one);
    CPU_SET(first, &one);
    ASSERT_EQ(::sched_setaffinity(0, sizeof one, &one), 0);
    const MachineFacts narrowed = systemMachine().facts();
    ASSERT_EQ(::sched_setaffinity(0, sizeof before, &before), 0);
    EXPECT_EQ(narrowed.processors, 1);
}

TEST(LinuxChildProcess, WaitsWithADeadlineAndEndsOnlyItsOwnProcess) {
    auto first = systemProcessLauncher().start("sleep 30", "");
    auto second = systemProcessLauncher().start("sleep 30", "");
    ASSERT_TRUE(first.started && second.started);
    EXPECT_NE(first.process->pid(), second.process->pid());
    EXPECT_FALSE(first.process->waitFor(std::chrono::milliseconds(20))) << "still running";
    EXPECT_TRUE(systemProcessList().exists(first.process->pid()));

    EXPECT_TRUE(first.process->forceEnd());
    EXPECT_EQ(first.process->wait(), 128 + SIGKILL);
    EXPECT_FALSE(first.process->forceEnd()) << "an ended process is never signalled again";
    EXPECT_EQ(first.process->waitFor(std::chrono::milliseconds(0)), 128 + SIGKILL);
    EXPECT_FALSE(second.process->hasEnded()) << "the other one runs on";

    EXPECT_TRUE(second.process->forceEnd());
    EXPECT_EQ(second.process->wait(), 128 + SIGKILL);
    EXPECT_EQ(systemProcessLauncher().start("true", "").process->wait(), 0);
}

TEST(LinuxChildProcess, OneLeftRunningIsReapedWhenItEnds) {
    ProcessId pid = 0;
    {
        auto started = systemProcessLauncher().start("sleep 0.05", "");
        ASSERT_TRUE(started.started);
        pid = started.process->pid();
    }  // dropped while it runs
    EXPECT_TRUE(pelorine::testing::waitUntil([&] { return !systemProcessList().exists(pid); }))
        << "no zombie is left behind";
    EXPECT_TRUE(systemProcessList().exists(systemProcessList().ownId()));
}

}  // namespace
}  // namespace pelorine::platform
