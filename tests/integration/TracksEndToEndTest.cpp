// A file with two sound tracks and an English subtitle file beside it, added
// through the window's logic with the user's defaults and converted by the
// real engine: the output carries the English track's tone and shows the
// subtitle's line in its time only.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>

#include "app/Commands.h"
#include "conversion/OutputNames.h"
#include "support/RealEngineWindow.h"

namespace pelorine {
namespace {

using testing::shell;

// What ffmpeg decodes of `path` with `options`, raw.
std::string decoded(const std::string& path, const std::string& options) {
    const std::string raw = path + ".raw";
    shell("ffmpeg -v error " + options.substr(0, options.find('|')) + " -i '" + path + "' " +
          options.substr(options.find('|') + 1) + " -y '" + raw + "'");
    std::ifstream in(raw, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The pitch of the output's sound, from its zero crossings.
double pitchOf(const std::string& path) {
    const std::string pcm = decoded(path, "|-vn -ac 1 -ar 44100 -f s16le");
    std::size_t crossings = 0;
    std::int16_t previous = 0;
    const std::size_t samples = pcm.size() / 2;
    for (std::size_t i = 0; i < samples; ++i) {
        std::int16_t sample = 0;
        std::memcpy(&sample, pcm.data() + 2 * i, 2);
        crossings += (previous < 0) != (sample < 0) ? 1 : 0;
        previous = sample;
    }
    return samples == 0 ? 0.0 : crossings / 2.0 / (static_cast<double>(samples) / 44100.0);
}

// The bright pixels of the output's picture at `seconds`.
int brightPixelsAt(const std::string& path, double seconds) {
    const std::string gray =
        decoded(path, "-ss " + std::to_string(seconds) + "|-frames:v 1 -f rawvideo -pix_fmt gray");
    int bright = 0;
    for (const char c : gray) {
        bright += static_cast<unsigned char>(c) > 180 ? 1 : 0;
    }
    return bright;
}

TEST(TracksEndToEnd, TheChosenSoundAndTheSubtitleFileBesideTheVideoAreConverted) {
    testing::TempFolder folder;
    const std::string film = folder.file("Film \"one\".mkv");
    shell(
        "ffmpeg -v error -f lavfi -i color=c=black:size=320x240:rate=25:duration=4 "
        "-f lavfi -i sine=frequency=440:duration=4 -f lavfi -i sine=frequency=1000:duration=4 "
        "-map 0 -map 1 -map 2 -c:v mpeg4 -c:a aac -metadata:s:a:0 language=jpn "
        "-metadata:s:a:1 language=eng -y '" +
        film + "'");
    ASSERT_TRUE(std::filesystem::exists(film)) << "the ffmpeg tool made no test media";
    folder.write("Film \"one\".en.srt", "1\n00:00:00,500 --> 00:00:02,500\nWWWWWWWW WWWWWWWW\n\n");
    folder.write("zelvic.ini",
                 "[TRACKS]\nSoundLanguages=fr, en\nSubtitleLanguages=eng\nBurnSubtitles=foreign\n");

    testing::RealEngineWindow real(folder);
    testing::ScriptedWindow& window = real.window;
    MainController& controller = real.controller;
    window.profile = kProfileMpeg4Small;
    window.filesChoice = {film};
    controller.handleCommand(command::kAdd, window.at());
    ASSERT_EQ(controller.jobs().count(), 1u) << window.events().back();
    // English sound, in a preferred subtitle language: the foreign-film rule
    // burns nothing. The dialog then takes the English file beside the video.
    EXPECT_EQ(trackChoiceOf(controller.jobs().job(0)), (TrackChoice{1, SubtitleChoice::none()}));
    window.selected = 0;
    window.tracksChoice = std::pair{2, 1};
    controller.handleCommand(command::kListSoundAndSubtitles, window.at());
    EXPECT_EQ(window.shownTracks.soundIndex, 2);
    EXPECT_EQ(trackChoiceOf(controller.jobs().job(0)),
              (TrackChoice{1, SubtitleChoice::ofFile(folder.file("Film \"one\".en.srt"))}));

    // A second Job whose subtitle file is gone fails with the engine's reason;
    // the first is converted all the same.
    const std::string second = folder.file("second.mkv");
    std::filesystem::copy_file(film, second);
    window.filesChoice = {second};
    controller.handleCommand(command::kAdd, window.at());
    ASSERT_EQ(controller.jobs().count(), 2u);
    controller.jobOperations().edit(
        change::Tracks{1, {std::nullopt, SubtitleChoice::ofFile(folder.file("gone.srt"))}});

    controller.handleCommand(command::kConvert, window.at());
    ASSERT_TRUE(
        testing::waitUntil([&] { return !controller.batchActive(); }, std::chrono::seconds(120)));
    std::string said;
    for (const std::string& event : window.events()) {
        said += event + "\n";
    }
    EXPECT_THAT(
        said, ::testing::AllOf(::testing::HasSubstr("second.mkv"), ::testing::HasSubstr("gone.srt"),
                               ::testing::HasSubstr("No such file or directory")));
    const std::string output = firstOutputPath(jobSettingsOf(controller.jobs().job(0)));
    EXPECT_NEAR(pitchOf(output), 1000.0, 30.0);
    EXPECT_GT(brightPixelsAt(output, 1.5), 100) << "the line in its time";
    EXPECT_EQ(brightPixelsAt(output, 3.5), 0) << "and nothing after it";
}

}  // namespace
}  // namespace pelorine
