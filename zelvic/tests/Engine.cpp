#include "Engine.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstring>
#include <fstream>
#include <ostream>
#include <stdexcept>

#include "CommandLines.h"
#include "Fixtures.h"
#include "records/ChannelFiles.h"

extern char** environ;

namespace pelorine {

void PrintTo(ExitStatus status, std::ostream* out) {
    static constexpr const char* kNames[] = {"Done", "BadCommandLine", "SourceUnreadable", "Failed",
                                             "Quit"};
    const int value = code(status);
    *out << (value >= 0 && value <= 4 ? kNames[value] : "unknown") << " (" << value << ")";
}

}  // namespace pelorine

namespace zelvic::test {

Process::Process(const std::string& program, const std::vector<std::string>& args,
                 const std::string& logPath) {
    std::vector<std::string> argv{program};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<char*> pointers;
    for (std::string& arg : argv) {
        pointers.push_back(arg.data());
    }
    pointers.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, logPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    const int result =
        posix_spawnp(&pid_, program.c_str(), &actions, nullptr, pointers.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (result != 0) {
        throw std::runtime_error("cannot start " + program + ": " + std::strerror(result));
    }
}

Process::~Process() {
    if (!end_) {
        wait(std::chrono::milliseconds(0));
    }
}

bool Process::running() {
    if (end_) {
        return false;
    }
    int status = 0;
    if (::waitpid(pid_, &status, WNOHANG) == pid_) {
        ProcessEnd end;
        end.exited = WIFEXITED(status);
        end.status = pelorine::exitStatusFromCode(end.exited ? WEXITSTATUS(status) : -1);
        end.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
        end_ = end;
        return false;
    }
    return true;
}

ProcessEnd Process::wait(std::chrono::milliseconds deadline) {
    if (!eventually([&] { return !running(); }, deadline)) {
        ::kill(pid_, SIGKILL);
        int status = 0;
        ::waitpid(pid_, &status, 0);
        ProcessEnd end;
        end.timedOut = true;
        end_ = end;
    }
    return *end_;
}

std::string enginePath() {
    return ZELVIC_ENGINE;
}

ProcessEnd runEngine(const std::vector<std::string>& args, const std::string& logPath,
                     std::chrono::milliseconds deadline) {
    Process engine(enginePath(), args, logPath);
    return engine.wait(deadline);
}

ProcessEnd runEngineLine(const std::string& line, const std::string& logPath,
                         std::chrono::milliseconds deadline) {
    return runEngine(splitCommandLine(line), logPath, deadline);
}

TempDir::TempDir() {
    static std::atomic<int> counter{0};
    path_ = fs::temp_directory_path() /
            ("zelvic-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
    fs::remove_all(path_);
    fs::create_directories(path_);
}

TempDir::~TempDir() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

namespace {

// Bump when a recipe changes, so that stale media are not reused.
constexpr const char* kFixtureVersion = "v10";

// A picture whose brightness tells its frame number: luma 60 + 2N.
std::string ramp(const std::string& size, const std::string& rate, double seconds) {
    return "color=c=black:s=" + size + ":r=" + rate + ":d=" + std::to_string(seconds) +
           ",geq=lum='60+2*N':cb=128:cr=128";
}

std::vector<Recipe> recipes() {
    const std::vector<std::string> quiet = {"-v", "error", "-y"};
    auto with = [&](std::vector<std::string> args) {
        std::vector<std::string> all = quiet;
        all.insert(all.end(), args.begin(), args.end());
        return all;
    };
    std::vector<Recipe> all = {
        {{"ramp43.mp4", 320, 240, 3.0, 1, 2, 0},
         with({"-f", "lavfi", "-i", ramp("320x240", "25", 3), "-f", "lavfi", "-i",
               "sine=frequency=440:sample_rate=48000:duration=3", "-ac", "2", "-c:v", "libx264",
               "-preset", "ultrafast", "-c:a", "aac", "-shortest"})},
        {{"wide.mkv", 448, 252, 2.0, 2, 1, 1},
         ffmpegArgs({ramp("448x252", "25", 2), "sine=frequency=440:duration=2",
                     "sine=frequency=880:duration=2"},
                    {"-i",
                     "SUBTITLES",
                     "-map",
                     "0",
                     "-map",
                     "1",
                     "-map",
                     "2",
                     "-map",
                     "3",
                     "-ac:a:0",
                     "1",
                     "-ac:a:1",
                     "2",
                     "-c:v",
                     "mpeg4",
                     "-c:a:0",
                     "libmp3lame",
                     "-c:a:1",
                     "aac",
                     "-c:s",
                     "srt",
                     "-metadata:s:a:0",
                     "language=eng",
                     "-metadata:s:a:1",
                     "language=fre",
                     "-metadata:s:s:0",
                     "language=ger",
                     "-t",
                     "2"})},
        {{"odd.avi", 321, 241, 2.0, 1, 1, 0},
         with({"-f", "lavfi", "-i", ramp("321x241", "25", 2) + ",format=yuv444p", "-f", "lavfi",
               "-i", "sine=frequency=440:sample_rate=22050:duration=2", "-ac", "1", "-c:v", "mjpeg",
               "-c:a", "libmp3lame", "-shortest"})},
        {{"anamorphic.mp4", 512, 288, 2.0, 1, 2, 0},
         with({"-f", "lavfi", "-i", ramp("352x288", "25", 2), "-f", "lavfi", "-i",
               "sine=frequency=440:duration=2", "-ac", "2", "-vf", "setsar=16/11", "-c:v",
               "libx264", "-preset", "ultrafast", "-c:a", "aac", "-shortest"})},
        {{"portrait.mp4", 180, 320, 2.0, 1, 2, 0},
         with({"-f", "lavfi", "-i", ramp("180x320", "30000/1001", 2), "-f", "lavfi", "-i",
               "sine=frequency=440:duration=2", "-ac", "2", "-c:v", "libx264", "-preset",
               "ultrafast", "-c:a", "aac", "-shortest"})},
        {{"surround.mkv", 320, 240, 2.0, 1, 6, 0},
         with({"-f", "lavfi", "-i", ramp("320x240", "25", 2), "-f", "lavfi", "-i",
               "sine=frequency=440:duration=2", "-af", "aformat=channel_layouts=5.1", "-c:v",
               "libx264", "-preset", "ultrafast", "-c:a", "aac", "-shortest"})},
        {{"leftright.mp4", 320, 240, 3.0, 1, 2, 0},
         ffmpegArgs({ramp("320x240", "25", 3), "sine=frequency=440:sample_rate=44100:duration=3",
                     "sine=frequency=1000:sample_rate=44100:duration=3"},
                    {"-filter_complex", "[1:a][2:a]amerge=inputs=2[a]", "-map", "0:v", "-map",
                     "[a]", "-c:v", "libx264", "-preset", "ultrafast", "-c:a", "aac", "-b:a",
                     "192k", "-shortest"})},
        {{"program.mpg", 352, 288, 3.0, 1, 2, 0},
         with({"-f",   "lavfi", "-i",       ramp("352x288", "25", 3),
               "-f",   "lavfi", "-i",       "sine=frequency=440:sample_rate=48000:duration=3",
               "-ac",  "2",     "-c:v",     "mpeg2video",
               "-g",   "12",    "-bf",      "2",
               "-b:v", "2M",    "-c:a",     "mp2",
               "-f",   "vob",   "-shortest"})},
        {{"long.mp4", 160, 120, 60.0, 1, 2, 0},
         with({"-f", "lavfi", "-i", "testsrc2=size=160x120:rate=25:duration=60", "-f", "lavfi",
               "-i", "sine=frequency=440:duration=60", "-ac", "2", "-c:v", "libx264", "-preset",
               "ultrafast", "-c:a", "aac", "-shortest"})},
    };
    for (Recipe& recipe : realWorldRecipes(quiet)) {
        all.push_back(std::move(recipe));
    }
    return all;
}

fs::path fixtureFolder() {
    return mediaFolder("fixtures", kFixtureVersion);
}

}  // namespace

std::vector<std::string> ffmpegArgs(std::initializer_list<std::string> sources,
                                    std::initializer_list<std::string> rest) {
    std::vector<std::string> args = {"-v", "error", "-y"};
    for (const std::string& source : sources) {
        args.insert(args.end(), {"-f", "lavfi", "-i", source});
    }
    args.insert(args.end(), rest);
    return args;
}

std::vector<std::string> movingPictureWithTone(const std::string& size, int seconds,
                                               const std::string& thenFilters) {
    const std::string length = std::to_string(seconds);
    return ffmpegArgs({"testsrc2=size=" + size + ":rate=25:duration=" + length + thenFilters,
                       "sine=frequency=1000:duration=" + length},
                      {"-ac", "2"});
}

fs::path mediaFolder(const std::string& set, const std::string& version) {
    return fs::temp_directory_path() /
           ("zelvic-" + set + "-" + std::to_string(::getuid()) + "-" + version);
}

void generateMedia(const std::string& set, const std::string& version,
                   std::vector<MediaRecipe> recipes) {
    const fs::path folder = mediaFolder(set, version);
    if (fs::exists(folder / "ready")) {
        return;
    }
    const fs::path building = folder.string() + ".building" + std::to_string(::getpid());
    fs::remove_all(building);
    fs::create_directories(building);
    {
        std::ofstream subtitles(building / "subtitles.srt");
        subtitles << "1\n00:00:00,000 --> 00:00:01,000\nHallo\n\n";
    }
    for (MediaRecipe& recipe : recipes) {
        for (std::string& arg : recipe.args) {
            if (arg == "SUBTITLES") {
                arg = (building / "subtitles.srt").string();
            }
        }
        const fs::path path = building / recipe.name;
        if (!recipe.args.empty()) {
            recipe.args.push_back(path.string());
            Process ffmpeg("ffmpeg", recipe.args, (building / "ffmpeg.log").string());
            const ProcessEnd end = ffmpeg.wait(std::chrono::seconds(120));
            if (!end.exited || end.status != ExitStatus::Done) {
                throw std::runtime_error("cannot generate " + recipe.name);
            }
        }
        if (recipe.after) {
            recipe.after(building, path);
        }
    }
    std::ofstream(building / "ready") << "ready\n";
    std::error_code error;
    fs::rename(building, folder, error);
    if (error) {
        fs::remove_all(building);  // another test process got there first
    }
}

const std::vector<Fixture>& fixtures() {
    static const std::vector<Fixture> all = [] {
        std::vector<MediaRecipe> media;
        std::vector<Fixture> list;
        for (const Recipe& recipe : recipes()) {
            media.push_back({recipe.fixture.name, recipe.args, recipe.after});
            list.push_back(recipe.fixture);
        }
        generateMedia("fixtures", kFixtureVersion, media);
        return list;
    }();
    return all;
}

const Fixture& fixture(const std::string& name) {
    for (const Fixture& candidate : fixtures()) {
        if (candidate.name == name) {
            return candidate;
        }
    }
    throw std::runtime_error("no fixture " + name);
}

std::string fixturePath(const std::string& name) {
    fixtures();
    return (fixtureFolder() / name).string();
}

void writeControl(const std::string& folder, int command) {
    const auto record =
        pelorine::channel::makeControlRecord(static_cast<pelorine::channel::Command>(command));
    const std::string path = folder + std::string(pelorine::channel::kControlFileName);
    const std::string temporary = path + ".writing";
    {
        std::ofstream out(temporary, std::ios::binary);
        out.write(reinterpret_cast<const char*>(record.data()),
                  static_cast<std::streamsize>(record.size()));
    }
    fs::rename(temporary, path);
}

std::optional<double> readProgress(const std::string& folder) {
    std::ifstream in(folder + std::string(pelorine::channel::kProgressFileName), std::ios::binary);
    double seconds = 0;
    if (!in.read(reinterpret_cast<char*>(&seconds), sizeof seconds)) {
        return std::nullopt;
    }
    return seconds;
}

}  // namespace zelvic::test
