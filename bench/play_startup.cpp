// Play mode's start-up to the first picture, as the converter's user sees
// it: from starting the engine with the preview command line to the first
// change of the preview window from the colour key, in wall time and in the
// CPU time the engine used until then. Also how long the engine takes to end
// after quit is written, and, from one run played to the range's end (10 s),
// how many late pictures the engine dropped.
//   bench_play_startup FILE WIDTH HEIGHT [RUNS]   (on an X display)
// Prints the median, the fastest and the slowest run of each, in ms.

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "base/CommandLine.h"
#include "preview/PreviewCommandLine.h"
#include "records/ChannelFiles.h"

// After our own headers: Xlib defines Status as a macro.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;
constexpr unsigned long kKey = 0x020100;

double ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

void writeControl(const std::string& folder, pelorine::channel::Command command) {
    const auto record = pelorine::channel::makeControlRecord(command);
    std::ofstream(folder + std::string(pelorine::channel::kControlFileName), std::ios::binary)
        .write(reinterpret_cast<const char*>(record.data()),
               static_cast<std::streamsize>(record.size()));
}

pid_t spawn(std::vector<std::string> args, const char* output = "/dev/null") {
    std::vector<char*> argv;
    for (std::string& arg : args) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, output, O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t pid = -1;
    posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

// CPU time the process's threads have used so far, in ms (from the
// scheduler's own account, so a busy machine does not inflate it).
double cpuMs(pid_t pid) {
    double total = 0;
    const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
    std::error_code error;
    for (const auto& task : std::filesystem::directory_iterator(tasks, error)) {
        std::ifstream in(task.path() / "schedstat");
        double nanoseconds = 0;
        if (in >> nanoseconds) {
            total += nanoseconds / 1e6;
        }
    }
    return total;
}

void report(const char* what, std::vector<double> values) {
    std::sort(values.begin(), values.end());
    std::printf("%-28s median %6.1f ms, fastest %6.1f, slowest %6.1f (%zu runs)\n", what,
                values[values.size() / 2], values.front(), values.back(), values.size());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fputs("usage: bench_play_startup FILE WIDTH HEIGHT [RUNS]\n", stderr);
        return 2;
    }
    const int runs = argc > 4 ? std::atoi(argv[4]) : 15;
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fputs("no X display\n", stderr);
        return 1;
    }
    const Window window =
        XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 186, 138, 0, 0, kKey);
    XMapWindow(display, window);
    XSync(display, False);
    const std::string folder = std::filesystem::temp_directory_path().string() + "/play-bench-" +
                               std::to_string(getpid()) + "/";
    std::filesystem::create_directories(folder);
    const std::string engine =
        std::filesystem::canonical("/proc/self/exe").parent_path().string() + "/zelvic";

    pelorine::Job job;
    job.sourcePath = argv[1];
    job.sourceWidth = std::atoi(argv[2]);
    job.sourceHeight = std::atoi(argv[3]);
    job.audioChannel = "default";
    job.audioVolume = "default";
    const std::string line =
        pelorine::preview::previewCommandLine(job, 0.0, 10.0, {186, 138, window}, {engine, folder});
    std::vector<double> firstPicture;
    std::vector<double> firstPictureCpu;
    std::vector<double> quitting;
    for (int run = 0; run < runs; ++run) {
        XClearArea(display, window, 0, 0, 0, 0, False);
        XSync(display, False);
        writeControl(folder, pelorine::channel::Command::Run);
        const auto start = Clock::now();
        const pid_t pid = spawn(pelorine::splitCommandLine(line));
        bool shown = false;
        while (!shown && Clock::now() - start < std::chrono::seconds(10)) {
            XImage* image = XGetImage(display, window, 93, 69, 1, 1, AllPlanes, ZPixmap);
            shown = image && (XGetPixel(image, 0, 0) & 0xFFFFFF) != kKey;
            if (image) {
                XDestroyImage(image);
            }
        }
        firstPicture.push_back(ms(Clock::now() - start));
        firstPictureCpu.push_back(cpuMs(pid));
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        const auto asked = Clock::now();
        writeControl(folder, pelorine::channel::Command::Quit);
        int status = 0;
        waitpid(pid, &status, 0);
        quitting.push_back(ms(Clock::now() - asked));
    }
    report("start-up to first picture", firstPicture);
    report("CPU time to first picture", firstPictureCpu);
    report("quit to exit", quitting);
    // Played through: the engine's last line tells the frames and the drops.
    const std::string log = folder + "play.log";
    XClearArea(display, window, 0, 0, 0, 0, False);
    writeControl(folder, pelorine::channel::Command::Run);
    const pid_t played = spawn(pelorine::splitCommandLine(line), log.c_str());
    waitpid(played, nullptr, 0);
    std::ifstream in(log);
    for (std::string text; std::getline(in, text);) {
        if (text.rfind("done: ", 0) == 0) {
            std::printf("played through: %s\n", text.c_str() + 6);
        }
    }
    std::filesystem::remove_all(folder);
    XCloseDisplay(display);
    return 0;
}
