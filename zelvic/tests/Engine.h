#pragma once
// Running the real engine from tests: as a separate process, with a deadline,
// on media generated for the tests.

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "records/ExitStatus.h"

namespace pelorine {
// Test failures name the status ("Quit") rather than its code.
void PrintTo(ExitStatus status, std::ostream* out);
}  // namespace pelorine

namespace zelvic::test {

using pelorine::ExitStatus;

namespace fs = std::filesystem;

// How a process ended: its exit status, or how it did not end normally.
struct ProcessEnd {
    bool exited = false;  // false: killed by a signal or by the deadline
    bool timedOut = false;
    ExitStatus status = ExitStatus::Failed;  // the exit status when `exited`
    int signal = 0;
};

class Process {
public:
    // Starts `program` with `args`; standard output and error go to `logPath`.
    Process(const std::string& program, const std::vector<std::string>& args,
            const std::string& logPath);
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;
    ~Process();

    bool running();
    // Waits until the process ends or the deadline passes (then kills it).
    ProcessEnd wait(std::chrono::milliseconds deadline);

private:
    pid_t pid_ = -1;
    std::optional<ProcessEnd> end_;
};

// The engine executable of this build.
std::string enginePath();

// Runs the engine on a command line text (split with the launcher's rules).
ProcessEnd runEngineLine(const std::string& line, const std::string& logPath,
                         std::chrono::milliseconds deadline = std::chrono::seconds(60));
ProcessEnd runEngine(const std::vector<std::string>& args, const std::string& logPath,
                     std::chrono::milliseconds deadline = std::chrono::seconds(60));

// A fresh folder removed with its content when the object goes.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const fs::path& path() const { return path_; }
    std::string file(const std::string& name) const { return (path_ / name).string(); }
    // The folder as a -currentfolder value, with its trailing separator.
    std::string folder() const { return path_.string() + "/"; }

private:
    fs::path path_;
};

// Media the tests make with the ffmpeg tool: each file from its arguments
// before the output name ("SUBTITLES" stands for a small subtitle file).
struct MediaRecipe {
    std::string name;
    std::vector<std::string> args;  // empty: no ffmpeg run
    // Runs after ffmpeg (or instead of it): `folder` holds the media made so
    // far, `path` is this file.
    std::function<void(const fs::path& folder, const fs::path& path)> after = {};
};
// The arguments of a quiet ffmpeg run that makes test media: each of
// `sources` read from the lavfi device as an input, in order, then `rest`.
std::vector<std::string> ffmpegArgs(std::initializer_list<std::string> sources,
                                    std::initializer_list<std::string> rest);
// The ffmpeg arguments of a moving picture (testsrc2, every frame differs
// from the one before) of `size` at 25 fps and a 1 kHz stereo tone, both
// `seconds` long: the inputs of generated sources. `thenFilters` (",a,b")
// go on drawing into the picture.
std::vector<std::string> movingPictureWithTone(const std::string& size, int seconds,
                                               const std::string& thenFilters = "");

// The folder of a set of media, shared by every test process of this user;
// `version` changes whenever one of the set's recipes does.
fs::path mediaFolder(const std::string& set, const std::string& version);
// Makes the set's media unless they are there.
void generateMedia(const std::string& set, const std::string& version,
                   std::vector<MediaRecipe> recipes);

// The test media, generated with the ffmpeg tool on first use and shared by
// every test of this build.
struct Fixture {
    std::string name;  // file name in the fixture folder
    int width = 0;     // picture as displayed; 0: no video
    int height = 0;
    double length = 0;  // seconds
    int audioStreams = 0;
    int audioChannels = 0;  // of the first audio stream
    int subtitleStreams = 0;
};
const std::vector<Fixture>& fixtures();
const Fixture& fixture(const std::string& name);
std::string fixturePath(const std::string& name);

// Control file helpers: the converter's side of the channel.
void writeControl(const std::string& folder, int command);
std::optional<double> readProgress(const std::string& folder);

// Polls `condition` until it holds or `deadline` passes.
template <typename Condition>
bool eventually(Condition condition, std::chrono::milliseconds deadline) {
    const auto end = std::chrono::steady_clock::now() + deadline;
    while (std::chrono::steady_clock::now() < end) {
        if (condition()) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return condition();
}

}  // namespace zelvic::test
