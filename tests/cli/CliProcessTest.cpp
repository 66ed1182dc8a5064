// pelorine-cli through real processes: its usage errors, the command lines
// it prints against those the window's batch runs, and converting saved
// projects with the fake engine and the real one, interrupted or not.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "app/Commands.h"
#include "base/CommandLine.h"
#include "base/Paths.h"
#include "cli/CliProcess.h"
#include "conversion/EncoderCommandLine.h"
#include "project/ProjectFile.h"
#include "records/OutputFiles.h"
#include "support/RealMedia.h"
#include "support/ScriptedWindow.h"
#include "support/TestSupport.h"
#include "tracks/TrackChoice.h"

namespace pelorine {
namespace {

namespace fs = std::filesystem;
using ::testing::AllOf;
using ::testing::Contains;
using ::testing::ElementsAreArray;
using testing::Finished;
using ::testing::HasSubstr;
using ::testing::Not;
using testing::runCli;
using ::testing::StartsWith;

// The program copied into `folder`, beside the engine the test puts there.
std::string installCli(const std::string& folder) {
    fs::copy_file(PELORINE_CLI_PATH, folder + "pelorine-cli", fs::copy_options::overwrite_existing);
    return folder + "pelorine-cli";
}

void saveJobs(const std::string& path, const std::vector<Job>& jobs) {
    JobList list;
    for (const Job& job : jobs) {
        list.append(std::make_unique<Job>(job));
    }
    ASSERT_TRUE(saveProject(path, list, platform::systemFileSystem()));
}

TEST(CliUsage, MistakesAreOneLineAndStatusTwo) {
    testing::TempFolder home;
    const Finished none = runCli(PELORINE_CLI_PATH, {}, home.path());
    EXPECT_EQ(none.status, 2);
    EXPECT_EQ(none.err,
              "pelorine-cli: missing command\nTry 'pelorine-cli --help' for more information.\n");
    const Finished bogus = runCli(PELORINE_CLI_PATH, {"convert", "--bogus", "a.avi"}, home.path());
    EXPECT_EQ(bogus.status, 2);
    EXPECT_THAT(bogus.err, StartsWith("pelorine-cli: unrecognized option '--bogus'\n"));
    const Finished help = runCli(PELORINE_CLI_PATH, {"--help"}, home.path());
    EXPECT_EQ(help.status, 0);
    EXPECT_THAT(help.out, StartsWith("Usage: pelorine-cli convert"));
    EXPECT_EQ(help.err, "");
}

// The command lines of a project as pelorine-cli prints them and as the
// window's batch runs them (the fake engine records each): the same, but for
// the channel folder, which each real run has of its own.
class CliCommandsTest : public testing::ControllerFixture {
protected:
    std::vector<Job> sampleJobs() {
        std::vector<Job> jobs;
        const auto add = [&](const std::string& name, const std::string& split, double duration) {
            folder.write(name, "length=" + std::to_string(duration));
            auto job =
                testing::plainJob(folder.file(name), folder.file("out/" + name + ".MP4"), duration);
            job->split = split;
            jobs.push_back(*job);
            return &jobs.back();
        };
        add("plain \"quoted\".avi", "Not split", 100);
        Job* clipped = add("clipped.avi", "Not split", 100);
        clipped->clipEnabled = 1;
        clipped->clipStart = 12.5;
        clipped->clipEnd = 42.25;
        add("long.avi", "00:10:00", 1500);
        Job* mp3 = add("song.wav", "Not split", 200);
        mp3->outputFormat = "mp3";
        mp3->audioCodec = "mp3";
        mp3->outputPath = folder.file("out/song.mp3");
        // Its sound track and a subtitle file beside it chosen.
        Job* film = add("film.mkv", "Not split", 60);
        folder.write("film.en.srt", "1\n00:00:01,000 --> 00:00:02,000\nHello\n");
        setTrackChoice(*film, {1, SubtitleChoice::ofFile(folder.file("film.en.srt"))});
        return jobs;
    }

    // A command line as the engine gets its arguments, joined by 0x1F, with
    // the channel folder's place marked.
    static std::string normalised(const std::vector<std::string>& arguments) {
        std::string joined;
        for (std::size_t i = 0; i < arguments.size(); ++i) {
            const bool folderValue = i > 0 && arguments[i - 1] == "-currentfolder";
            joined += (i ? "\x1f" : "") + (folderValue ? std::string("<channel>") : arguments[i]);
        }
        return joined;
    }
    static std::vector<std::string> fields(const std::string& line, char separator) {
        std::vector<std::string> parts;
        std::stringstream stream(line);
        for (std::string part; std::getline(stream, part, separator);) {
            parts.push_back(part);
        }
        return parts;
    }
};

TEST_F(CliCommandsTest, PrintsTheCommandLinesTheWindowsBatchRuns) {
    const std::vector<Job> jobs = sampleJobs();
    saveJobs(folder.file("batch.vpt"), jobs);
    const std::string cli = installCli(folder.path());
    const Finished printed = runCli(cli, {"commands", folder.file("batch.vpt")}, folder.path());
    ASSERT_EQ(printed.status, 0) << printed.err;

    // The window: the project opened, then converted, each part 600 s long.
    ::setenv("FAKE_ZELVIC_LOG", folder.file("engine.log").c_str(), 1);
    ::setenv("FAKE_ZELVIC_PART_LENGTH", "600", 1);
    controller.openFile(folder.file("batch.vpt"), window.at());
    ASSERT_EQ(controller.jobs().count(), jobs.size());
    controller.handleCommand(command::kConvert, window.at());
    ASSERT_TRUE(testing::waitUntil([&] { return !controller.batchActive(); }));
    ::unsetenv("FAKE_ZELVIC_LOG");
    ::unsetenv("FAKE_ZELVIC_PART_LENGTH");

    std::vector<std::string> ran;
    for (const std::string& line : fields(folder.read("engine.log"), '\n')) {
        const auto arguments = fields(line, '\x1f');
        if (std::find(arguments.begin(), arguments.end(), "-identify") == arguments.end()) {
            ran.push_back(normalised(arguments));
        }
    }
    std::vector<std::string> shown;
    for (const std::string& line : fields(printed.out, '\n')) {
        shown.push_back(normalised(splitCommandLine(line)));
    }
    EXPECT_EQ(shown.size(), 7u) << "one line a run: 1 + 1 + 3 parts + 1 + 1";
    EXPECT_THAT(shown, ElementsAreArray(ran));
    EXPECT_THAT(shown.back(), HasSubstr("film.mkv\x1f-aid\x1f"
                                        "1\x1f-sub\x1f" +
                                        folder.file("film.en.srt") + "\x1f"));
}

// --audio, --subtitles and --subcp, and without them the window's defaults,
// as the engine receives them; what info finds beside a video.
TEST(CliTracks, OptionsAndDefaultsChooseTheTracks) {
    testing::TempFolder folder;
    testing::installFakeEngine(folder.path());
    const std::string cli = installCli(folder.path());
    folder.write("film.mkv",
                 "length=5 width=640 height=480 audio=Japanese,English subtitles=English,French");
    folder.write("film.de.srt", "1\n00:00:01,000 --> 00:00:02,000\nHallo\n");
    folder.write("my subs.ass", "[Script Info]\n");
    std::filesystem::create_directories(folder.file("config/pelorine"));
    folder.write("config/pelorine/zelvic.ini",
                 "[TRACKS]\nSoundLanguages=eng\nSubtitleLanguages=de\nBurnSubtitles=always\n"
                 "SubtitleCodePage=ISO-8859-2\n");
    const auto engineLine = [&](const std::vector<std::string>& options) {
        std::filesystem::remove(folder.file("engine.log"));
        std::vector<std::string> arguments = {"convert", "-w", "replace", "-o", folder.file("out")};
        arguments.insert(arguments.end(), options.begin(), options.end());
        arguments.push_back(folder.file("film.mkv"));
        const Finished run =
            runCli(cli, arguments, folder.path(), {"FAKE_ZELVIC_LOG=" + folder.file("engine.log")});
        EXPECT_EQ(run.status, 0) << run.err;
        const std::string log = folder.read("engine.log");
        const auto encode = log.rfind('\n', log.size() - 2);
        std::string line = log.substr(encode == std::string::npos ? 0 : encode + 1);
        std::replace(line.begin(), line.end(), '\x1f', ' ');
        return std::pair{line, run.err};
    };
    const std::string source = folder.file("film.mkv") + " ";
    EXPECT_THAT(engineLine({}).first,
                HasSubstr(source + "-aid 1 -sub " + folder.file("film.de.srt") + " "));
    EXPECT_THAT(engineLine({}).first, HasSubstr(".de.srt -subcp ISO-8859-2 -"));
    EXPECT_THAT(
        engineLine({"--subcp", "windows-1250"}).first,
        HasSubstr(source + "-aid 1 -sub " + folder.file("film.de.srt") + " -subcp windows-1250 -"));
    const std::string track = engineLine({"--audio=ja", "--subtitles", "fre"}).first;
    EXPECT_THAT(track, HasSubstr(source + "-aid 0 -sid 1 "));
    EXPECT_THAT(track, Not(HasSubstr("-subcp")));
    EXPECT_THAT(engineLine({"--audio=0", "--subtitles=" + folder.file("my subs.ass")}).first,
                HasSubstr(source + "-aid 0 -sub " + folder.file("my subs.ass") + " "));
    const auto none = engineLine({"--audio=ru", "--subtitles=none"});
    EXPECT_THAT(none.first, HasSubstr(source + "-srate"));
    EXPECT_THAT(none.second,
                StartsWith("pelorine-cli: note: \"" + folder.file("film.mkv") +
                           "\" has no sound track in ru; its default one is converted\n"));
    EXPECT_THAT(engineLine({"--subtitles=it"}).second,
                HasSubstr("has no subtitles in it, and there is no such file; it is converted "
                          "without subtitles\n"));

    const Finished info = runCli(cli, {"info", folder.file("film.mkv")}, folder.path());
    EXPECT_THAT(info.out, HasSubstr("  Subtitles:  0: English\n              1: French\n"
                                    "  Beside it:  film.de.srt (German)\n"));
    const Finished misplaced = runCli(cli, {"run", "--audio=1", "a.vpt"}, folder.path());
    EXPECT_EQ(misplaced.status, 2);
    EXPECT_THAT(misplaced.err, HasSubstr("option '--audio' does not apply to 'run'"));
}

// Converting a saved project: with the fake engine, one Job done and one
// whose source has gone; the summary names both, and the status is 1.
TEST(CliRun, AGoneSourceIsNamedInTheSummaryAndTheStatus) {
    testing::TempFolder folder;
    testing::installFakeEngine(folder.path());
    const std::string cli = installCli(folder.path());
    folder.write("here.avi", "length=100");
    folder.write("gone.avi", "length=100");
    const std::vector<Job> jobs = {
        *testing::plainJob(folder.file("here.avi"), folder.file("out/here.MP4"), 100),
        *testing::plainJob(folder.file("gone.avi"), folder.file("out/gone.MP4"), 100)};
    saveJobs(folder.file("batch.vpt"), jobs);
    fs::remove(folder.file("gone.avi"));
    const Finished run = runCli(cli, {"run", folder.file("batch.vpt")}, folder.path());
    EXPECT_EQ(run.status, 1) << run.err;
    EXPECT_THAT(run.out, HasSubstr("[1/1] here.avi: done -> " + folder.file("out/here.mp4")));
    EXPECT_THAT(run.out, HasSubstr("Summary: 1 done, 1 failed\n"));
    EXPECT_THAT(run.out,
                HasSubstr("2. failed  " + folder.file("gone.avi") + ": The source is gone.\n"));
    EXPECT_TRUE(fs::exists(folder.file("out/here.mp4")));

    const Finished damaged = runCli(cli, {"run", folder.file("here.avi")}, folder.path());
    EXPECT_EQ(damaged.status, 1);
    EXPECT_THAT(damaged.err, HasSubstr("here.avi\" is damaged"));
}

TEST(CliConvert, AMissingFileIsNamedAndTheOthersConverted) {
    testing::TempFolder folder;
    testing::installFakeEngine(folder.path());
    const std::string cli = installCli(folder.path());
    folder.write("here.avi", "length=5 width=640 height=480");
    const Finished run = runCli(cli,
                                {"convert", "-p", "mpeg4", "-o", folder.file("out"),
                                 folder.file("missing.avi"), folder.file("here.avi")},
                                folder.path());
    EXPECT_EQ(run.status, 1) << run.err;
    EXPECT_THAT(run.out, HasSubstr("Summary: 1 done, 1 failed\n"));
    EXPECT_THAT(run.out,
                HasSubstr("1. failed  " + folder.file("missing.avi") + ": No such file.\n"));
    EXPECT_THAT(run.out,
                HasSubstr("2. done  " + folder.file("here.avi") + " -> " + folder.file("out/M4V")));
}

// --send-to-psp: what was converted goes to the memory stick (a folder
// standing for it), where the window's Send to PSP puts it.
TEST(CliConvert, SendToPspCopiesTheConvertedJobsToTheHandheld) {
    testing::TempFolder folder;
    testing::TempFolder stick;
    fs::create_directories(stick.file("PSP"));
    testing::installFakeEngine(folder.path());
    const std::string cli = installCli(folder.path());
    folder.write("here.avi", "length=5 width=640 height=480");
    const std::vector<std::string> standIn = {"PELORINE_PSP_STICK=" + stick.path()};
    const Finished run = runCli(cli,
                                {"convert", "-p", "h264", "-o", folder.file("out"), "--send-to-psp",
                                 folder.file("here.avi")},
                                folder.path(), standIn);
    EXPECT_THAT(run.out, HasSubstr("MP_ROOT/100ANV01/MAQ00001.MP4"));
    EXPECT_TRUE(fs::exists(stick.file("MP_ROOT/100ANV01/MAQ00001.MP4")));
    EXPECT_TRUE(fs::exists(stick.file("MP_ROOT/100ANV01/MAQ00001.THM")));
    for (const char* top : {"PSP", "MP_ROOT"}) {
        fs::remove_all(stick.file(top));  // no longer a memory stick
    }
    const Finished noHandheld = runCli(
        cli, {"convert", "-o", folder.file("out2"), "--send-to-psp", folder.file("here.avi")},
        folder.path(), standIn);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(noHandheld.status, 1);
    EXPECT_THAT(noHandheld.err, HasSubstr("No PSP memory stick was found."));
}

// Ctrl+C with the fake engine: it is asked to quit through the channel files,
// like Stop, and what it kept is named; the next Job is not begun.
TEST(CliConvert, AnInterruptStopsTheRunningJobAndBeginsNoOther) {
    testing::TempFolder folder;
    testing::installFakeEngine(folder.path());
    const std::string cli = installCli(folder.path());
    folder.write("held.avi", "length=100 hold");
    folder.write("next.avi", "length=100");
    testing::CliProcess process(cli,
                                {"convert", "-j", "1", "-p", "mpeg4", "-o", folder.file("out"),
                                 folder.file("held.avi"), folder.file("next.avi")},
                                folder.path());
    ASSERT_TRUE(testing::waitUntil(
        [&] { return fs::exists(folder.file("out")) && !fs::is_empty(folder.file("out")); }));
    process.interrupt();
    const Finished run = process.wait();
    EXPECT_EQ(run.status, 1) << run.err;
    EXPECT_THAT(run.err, HasSubstr("pelorine-cli: stopping"));
    EXPECT_THAT(run.out, HasSubstr("Summary: 1 stopped, 1 not reached\n"));
    EXPECT_THAT(run.out, HasSubstr("1. stopped  " + folder.file("held.avi") + ": kept " +
                                   folder.file("out/M4V")));
    std::size_t outputs = 0;
    for (const auto& entry : fs::directory_iterator(folder.file("out"))) {
        EXPECT_EQ(entry.path().filename().string().substr(0, 3), "M4V");
        ++outputs;
    }
    EXPECT_EQ(outputs, 1u) << "the stopped Job's file, nothing of the next";
}

// pelorine-cli in a terminal and the window convert at the same time: each
// run talks through its own folder inside the one private folder they share,
// so neither refuses to start while the other's engine runs, and both end
// done. Both engines hold until the gate file is there.
class CliBesideWindowTest : public testing::ControllerFixture {
protected:
    CliBesideWindowTest() { paths.useChannelFolder(folder.file("runtime/pelorine/")); }
    // Whether the engine writes the output (its partial file) now.
    bool converting(const std::string& output) const {
        return fs::exists(partialOutputPath(output));
    }
};

TEST_F(CliBesideWindowTest, BothConvertAtTheSameTimeAndEndDone) {
    const std::string gate = folder.file("gate");
    folder.write("terminal.avi", "length=100 until=" + gate);
    folder.write("window.avi", "length=100 until=" + gate);
    saveJobs(folder.file("batch.vpt"), {*testing::plainJob(folder.file("terminal.avi"),
                                                           folder.file("cli/terminal.MP4"), 100)});
    testing::CliProcess cli(installCli(folder.path()), {"run", folder.file("batch.vpt")},
                            folder.path());
    ASSERT_TRUE(testing::waitUntil([&] { return converting(folder.file("cli/terminal.mp4")); }))
        << cli.errSoFar();

    controller.jobs().append(
        testing::plainJob(folder.file("window.avi"), folder.file("out/window.MP4"), 100));
    controller.handleCommand(command::kConvert, window.at());
    ASSERT_TRUE(testing::waitUntil([&] { return converting(folder.file("out/window.mp4")); }));
    EXPECT_TRUE(converting(folder.file("cli/terminal.mp4"))) << "side by side";

    folder.write("gate", "");
    const Finished ended = cli.wait();
    ASSERT_TRUE(testing::waitUntil([&] { return !controller.batchActive(); }));
    EXPECT_EQ(ended.status, 0) << ended.err;
    EXPECT_THAT(ended.out, HasSubstr("Summary: 1 done\n"));
    EXPECT_EQ(window.rows[0][kStatusColumn], "done");
    EXPECT_THAT(window.events(), Contains("message Complete!"));
    EXPECT_TRUE(fs::exists(folder.file("cli/terminal.mp4")));
    EXPECT_TRUE(fs::exists(folder.file("out/window.mp4")));
}

TEST(CliConvert, AProfileThatIsNotThereIsOneLine) {
    testing::TempFolder folder;
    const Finished run =
        runCli(PELORINE_CLI_PATH, {"convert", "-p", "divx", "a.avi"}, folder.path());
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err,
              "pelorine-cli: no profile 'divx': give 0-3, mpeg4, mpeg4-wide, h264, mp3 "
              "or a .profile file\n");
}

// The real engine on media the test makes: a short clip and an AVI file.
class CliRealEngineTest : public ::testing::Test {
protected:
    CliRealEngineTest() {
        testing::installRealEngine(folder.file("engine/"));
        cli = installCli(folder.file("engine/"));
    }
    std::string makeSource(const std::string& name, int seconds, const std::string& codec) {
        const std::string path = folder.file(name);
        testing::shell("ffmpeg -v error -f lavfi -i testsrc=size=640x480:rate=25:duration=" +
                       std::to_string(seconds) +
                       " -f lavfi -i sine=frequency=440:duration=" + std::to_string(seconds) +
                       " -c:v " + codec + " -c:a mp3 -shortest -y '" + path + "'");
        EXPECT_TRUE(fs::exists(path)) << "the ffmpeg tool made no test media";
        return path;
    }
    // The outputs in `subfolder`, without the .THM pictures beside them.
    std::vector<std::string> outputs(const std::string& subfolder) const {
        std::vector<std::string> found;
        for (const auto& entry : fs::directory_iterator(folder.file(subfolder))) {
            if (entry.path().extension() != ".THM") {
                found.push_back(entry.path().string());
            }
        }
        std::sort(found.begin(), found.end());
        return found;
    }

    testing::TempFolder folder;
    std::string cli;
};

TEST_F(CliRealEngineTest, TwoFilesWithTwoProfilesGiveConformantOutputs) {
    const std::string clip = makeSource("clip one.mp4", 3, "mpeg4");
    const std::string avi = makeSource("two.avi", 3, "mpeg4");
    const Finished h264 = runCli(
        cli, {"convert", "--profile=h264", "-o", folder.file("h264"), clip, avi}, folder.path());
    ASSERT_EQ(h264.status, 0) << h264.out << h264.err;
    const Finished mp3 =
        runCli(cli, {"convert", "--profile", "mp3", "--output", folder.file("mp3"), clip, avi},
               folder.path());
    ASSERT_EQ(mp3.status, 0) << mp3.out << mp3.err;
    EXPECT_THAT(h264.out, HasSubstr("Summary: 2 done\n"));

    const auto videos = outputs("h264");
    ASSERT_EQ(videos.size(), 2u);
    for (const std::string& video : videos) {
        EXPECT_THAT(fileNameOf(video), AllOf(StartsWith("MAQ"), ::testing::EndsWith(".mp4")));
        EXPECT_THAT(testing::streamsOf(video),
                    AllOf(HasSubstr("h264,320,240"), HasSubstr("aac,44100")));
        EXPECT_NEAR(testing::durationOf(video), 3.0, 0.15) << video;
        EXPECT_TRUE(fs::exists(thumbnailPath(video))) << "a picture beside " << video;
    }
    const auto songs = outputs("mp3");
    EXPECT_EQ(songs, (std::vector<std::string>{folder.file("mp3/clip one.mp3"),
                                               folder.file("mp3/two.mp3")}));
    for (const std::string& song : songs) {
        EXPECT_THAT(testing::streamsOf(song), HasSubstr("mp3,44100"));
        EXPECT_NEAR(testing::durationOf(song), 3.0, 0.15) << song;
    }
}

// Ctrl+C at the terminal reaches the whole foreground group: pelorine-cli
// stops its engine the way Stop does, and the shorter file plays.
TEST_F(CliRealEngineTest, AnInterruptStopsTheJobAndKeepsAShorterFileThatPlays) {
    const std::string source = makeSource("long.avi", 120, "mpeg4");
    testing::CliProcess process(
        cli, {"convert", "-j", "1", "-p", "h264", "-o", folder.file("out"), source}, folder.path());
    ASSERT_TRUE(testing::waitUntil(
        // A line with the engine's speed: it has converted for half a second at least.
        [&] { return process.errSoFar().find("x real time") != std::string::npos; },
        std::chrono::seconds(90)))
        << process.errSoFar();
    process.interrupt();
    const Finished run = process.wait();
    EXPECT_EQ(run.status, 1) << run.err;
    EXPECT_THAT(run.err, HasSubstr("pelorine-cli: stopping"));
    EXPECT_THAT(run.out, HasSubstr("Summary: 1 stopped\n"));
    const std::string marker = "stopped: kept ";
    const auto kept = run.out.find(marker);
    ASSERT_NE(kept, std::string::npos) << run.out;
    const std::string keptFile =
        run.out.substr(kept + marker.size(), run.out.find('\n', kept) - kept - marker.size());
    EXPECT_EQ(outputs("out"), std::vector<std::string>{keptFile});
    const double length = testing::durationOf(keptFile);
    EXPECT_GT(length, 1.0);
    EXPECT_LT(length, 110.0);
    EXPECT_THAT(testing::streamsOf(keptFile), HasSubstr("h264,320,240"));
}

}  // namespace
}  // namespace pelorine
