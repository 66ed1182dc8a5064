// A file's sound track chosen and its subtitles burned into the picture:
// Matroska sources with two sound tracks of different pitch, a SubRip and a
// styled ASS track and a font attachment, subtitle files beside them, run
// through the real engine and the output's pictures and sound looked at.

#include <gtest/gtest.h>

#include <fstream>

#include "CommandLines.h"
#include "DvdFixture.h"
#include "Engine.h"
#include "Probe.h"
#include "base/CommandLine.h"
#include "records/ChannelFiles.h"
#include "records/MediaInfo.h"

namespace zelvic::test {
namespace {

constexpr const char* kMediaVersion = "v3";
constexpr const char* kFont = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

// On the dark picture every source shows, text is the only bright or red.
constexpr int kBrightLuma = 150;
constexpr int kRedChroma = 180;

const char* const kLine = "1\n00:00:01,000 --> 00:00:03,000\nBurned line HELLO WORLD\n\n";

// A red line at the bottom and a red word placed near the top left.
const char* const kStyledScript =
    "[Script Info]\nScriptType: v4.00+\nPlayResX: 320\nPlayResY: 240\n\n"
    "[V4+ Styles]\nFormat: Name, Fontname, Fontsize, PrimaryColour, SecondaryColour, "
    "OutlineColour, BackColour, Bold, Italic, Underline, StrikeOut, ScaleX, ScaleY, Spacing, "
    "Angle, BorderStyle, Outline, Shadow, Alignment, MarginL, MarginR, MarginV, Encoding\n"
    "Style: Red,DejaVu Sans,40,&H000000FF,&H000000FF,&H00000000,&H00000000,-1,0,0,0,100,100,0,"
    "0,1,0,0,2,10,10,20,1\n\n"
    "[Events]\nFormat: Layer, Start, End, Style, Name, MarginL, MarginR, MarginV, Effect, Text\n"
    "Dialogue: 0,0:00:03.50,0:00:05.50,Red,,0,0,0,,RED LINE\n"
    "Dialogue: 0,0:00:03.50,0:00:05.50,Red,,0,0,0,,{\\pos(80,60)}TOP\n";

void write(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

void ffmpeg(std::vector<std::string> args, const fs::path& folder) {
    args.insert(args.begin(), {"-v", "error", "-y"});
    Process tool("ffmpeg", args, (folder / "ffmpeg.log").string());
    const ProcessEnd end = tool.wait(std::chrono::seconds(120));
    if (!end.exited || end.status != ExitStatus::Done) {
        throw std::runtime_error("ffmpeg failed; see " + (folder / "ffmpeg.log").string());
    }
}

// A dark 320x240 picture with key frames a second apart, and the tones.
std::vector<std::string> darkPictureWithTones(int seconds, std::vector<int> tones) {
    const std::string length = std::to_string(seconds);
    std::vector<std::string> args = {"-f", "lavfi", "-i",
                                     "color=c=0x202020:size=320x240:rate=25:duration=" + length};
    for (const int tone : tones) {
        args.insert(args.end(), {"-f", "lavfi", "-i",
                                 "sine=frequency=" + std::to_string(tone) + ":duration=" + length});
    }
    return args;
}

// tracks.mkv: Japanese 440 Hz (default) and English 1 kHz sound (titled
// "Commentary"), an English SubRip and a styled English ASS track (titled
// "Signs"), DejaVu Sans attached. broken-font.mkv: the
// same SubRip track and an attachment that calls itself a font and is not.
// timed-text.mp4: the SubRip line as MP4 timed text. many.mkv: 10 sound
// and 30 subtitle tracks.
void makeMedia(const fs::path& folder, const fs::path&) {
    write(folder / "line.srt", kLine);
    write(folder / "styled.ass", kStyledScript);
    write(folder / "Broken.ttf", "this is no font at all");
    std::vector<std::string> tracks = darkPictureWithTones(6, {440, 1000});
    tracks.insert(tracks.end(), {"-i",
                                 (folder / "line.srt").string(),
                                 "-i",
                                 (folder / "styled.ass").string(),
                                 "-map",
                                 "0",
                                 "-map",
                                 "1",
                                 "-map",
                                 "2",
                                 "-map",
                                 "3",
                                 "-map",
                                 "4",
                                 "-c:v",
                                 "libx264",
                                 "-preset",
                                 "ultrafast",
                                 "-g",
                                 "25",
                                 "-c:a",
                                 "aac",
                                 "-c:s:0",
                                 "srt",
                                 "-c:s:1",
                                 "ass",
                                 "-metadata:s:a:0",
                                 "language=jpn",
                                 "-metadata:s:a:1",
                                 "language=eng",
                                 "-disposition:a:0",
                                 "default",
                                 "-metadata:s:a:1",
                                 "title=Commentary",
                                 "-metadata:s:s:0",
                                 "language=eng",
                                 "-metadata:s:s:1",
                                 "language=eng",
                                 "-metadata:s:s:1",
                                 "title=Signs",
                                 "-attach",
                                 kFont,
                                 "-metadata:s:t",
                                 "mimetype=application/x-truetype-font",
                                 (folder / "tracks.mkv").string()});
    ffmpeg(tracks, folder);
    std::vector<std::string> broken = darkPictureWithTones(2, {440});
    broken.insert(broken.end(), {"-i",
                                 (folder / "line.srt").string(),
                                 "-map",
                                 "0",
                                 "-map",
                                 "1",
                                 "-map",
                                 "2",
                                 "-c:v",
                                 "libx264",
                                 "-preset",
                                 "ultrafast",
                                 "-c:a",
                                 "aac",
                                 "-c:s",
                                 "srt",
                                 "-attach",
                                 (folder / "Broken.ttf").string(),
                                 "-metadata:s:t",
                                 "mimetype=application/x-truetype-font",
                                 (folder / "broken-font.mkv").string()});
    ffmpeg(broken, folder);
    std::vector<std::string> timedText = darkPictureWithTones(4, {440});
    timedText.insert(timedText.end(),
                     {"-i", (folder / "line.srt").string(), "-map", "0", "-map", "1", "-map", "2",
                      "-c:v", "libx264", "-preset", "ultrafast", "-c:a", "aac", "-c:s", "mov_text",
                      (folder / "timed-text.mp4").string()});
    ffmpeg(timedText, folder);
    std::vector<std::string> many = darkPictureWithTones(1, {440});
    many.insert(many.end(), {"-i", (folder / "line.srt").string(), "-map", "0"});
    for (int i = 0; i < 10; ++i) {
        many.insert(many.end(), {"-map", "1"});
    }
    for (int i = 0; i < 30; ++i) {
        many.insert(many.end(), {"-map", "2"});
    }
    many.insert(many.end(), {"-c:v", "libx264", "-preset", "ultrafast", "-c:a", "aac", "-c:s",
                             "srt", (folder / "many.mkv").string()});
    ffmpeg(many, folder);
}

std::string mediaPath(const std::string& name) {
    generateMedia("subtitles", kMediaVersion, {{"media", {}, makeMedia}});
    return (mediaFolder("subtitles", kMediaVersion) / name).string();
}

std::string readText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

JobLine jobFor(const TempDir& dir, const std::string& source, const std::string& tracks) {
    JobLine job;
    job.source = source;
    job.output = dir.file("out.mp4");
    job.folder = dir.folder();
    job.sourceWidth = 320;
    job.sourceHeight = 240;
    job.tracks = tracks;
    return job;
}

// Converts; the engine's log.
std::string convert(const JobLine& job, const TempDir& dir, ExitStatus expected) {
    const ProcessEnd end = runEngineLine(composeCommandLine(job), dir.file("log.txt"));
    const std::string log = readText(dir.file("log.txt"));
    EXPECT_TRUE(end.exited);
    EXPECT_EQ(end.status, expected) << log;
    return log;
}

// The bottom band where a line stands by default, and the top left corner.
double brightAtBottom(const std::string& path, double seconds) {
    return shareAt(path, seconds, 0, 180, 320, 60, 0, kBrightLuma);
}
double redAtBottom(const std::string& path, double seconds) {
    return shareAt(path, seconds, 0, 160, 320, 80, 2, kRedChroma);
}
double redAtTopLeft(const std::string& path, double seconds) {
    return shareAt(path, seconds, 20, 20, 140, 60, 2, kRedChroma);
}

TEST(FileTracks, TheChosenSoundTrackIsTheOneInTheOutput) {
    for (const auto& [tracks, tone] : std::vector<std::pair<std::string, double>>{
             {"", 440}, {" -aid 0 ", 440}, {" -aid 1 ", 1000}}) {
        SCOPED_TRACE(tracks);
        TempDir dir;
        convert(jobFor(dir, mediaPath("tracks.mkv"), tracks), dir, ExitStatus::Done);
        const auto channels = measureAudio(dir.file("out.mp4"));
        ASSERT_FALSE(channels.empty());
        EXPECT_NEAR(channels[0].frequency, tone, tone * 0.03);
    }
}

TEST(FileTracks, ATrackTheFileLacksFailsBeforeAnythingIsWritten) {
    const std::string source = mediaPath("tracks.mkv");
    for (const auto& [tracks, reason] : std::vector<std::pair<std::string, std::string>>{
             {" -aid 2 ", "has no audio track 2 (-aid; it has 2 audio tracks)"},
             {" -sid 2 ", "has no subtitle track 2 (-sid; it has 2 subtitle tracks)"}}) {
        SCOPED_TRACE(tracks);
        TempDir dir;
        const std::string log = convert(jobFor(dir, source, tracks), dir, ExitStatus::Failed);
        EXPECT_NE(log.find("failed: \"" + source + "\" " + reason + "\n"), std::string::npos)
            << log;
        EXPECT_FALSE(fs::exists(dir.file("out.mp4")));
        EXPECT_FALSE(fs::exists(dir.file("out.mp4.part")));
    }
}

// The info record identify writes for a source.
pelorine::MediaInfo identified(const std::string& source, const TempDir& dir) {
    pelorine::MediaInfo info;
    const ProcessEnd end = runEngineLine(" " + pelorine::quoteArgument(source) +
                                             " -vo null -nosound -identify -currentfolder " +
                                             pelorine::quoteArgument(dir.folder()) + " ",
                                         dir.file("log.txt"));
    EXPECT_EQ(end.status, ExitStatus::Done) << readText(dir.file("log.txt"));
    const std::string record = readText(dir.file(std::string(pelorine::channel::kInfoFileName)));
    EXPECT_EQ(record.size(), info.bytes().size());
    if (record.size() == info.bytes().size()) {
        std::copy(record.begin(), record.end(), info.bytes().begin());
    }
    return info;
}

// Two tracks of one language are told apart by their format and title.
// Without -aid the sound is the track the file marks as default, here the
// second one (the same file with the marks moved).
TEST(FileTracks, WithoutAChoiceTheTrackMarkedAsDefaultPlays) {
    TempDir dir;
    const std::string source = dir.file("second-default.mkv");
    ffmpeg({"-i", mediaPath("tracks.mkv"), "-map", "0", "-c", "copy", "-disposition:a:0", "0",
            "-disposition:a:1", "default", source},
           dir.path());
    convert(jobFor(dir, source, ""), dir, ExitStatus::Done);
    const auto channels = measureAudio(dir.file("out.mp4"));
    ASSERT_FALSE(channels.empty());
    EXPECT_NEAR(channels[0].frequency, 1000, 30);
    // Identify tells the converter so.
    const pelorine::MediaInfo info = identified(source, dir);
    EXPECT_EQ(info.audioNote(0), "aac 1ch");
    EXPECT_EQ(info.audioNote(1), "aac 1ch, Commentary, default");
}

TEST(FileTracks, TracksAreNamedWithTheirLanguageFormatAndTitle) {
    TempDir dir;
    const pelorine::MediaInfo info = identified(mediaPath("tracks.mkv"), dir);
    EXPECT_EQ(info.audioName(1), "English");
    EXPECT_EQ(info.audioNote(1), "aac 1ch, Commentary");
    EXPECT_EQ(info.subtitleName(0), "English (subrip)");
    EXPECT_EQ(info.subtitleName(1), "English (ass, Signs)");
}

TEST(FileTracks, TenSoundAndThirtySubtitleTracksAreAllIdentified) {
    TempDir dir;
    const pelorine::MediaInfo info = identified(mediaPath("many.mkv"), dir);
    ASSERT_EQ(info.audioCount(), 10);
    ASSERT_EQ(info.subtitleCount(), 30);
    for (int i = 0; i < 30; ++i) {
        EXPECT_EQ(info.subtitleId(i), i);
        EXPECT_EQ(i < 10 ? info.audioId(i) : i, i);
    }
}

TEST(TextSubtitles, ALineShowsInTheFramesOfItsTimeAndNowhereElse) {
    TempDir dir;
    const std::string log =
        convert(jobFor(dir, mediaPath("tracks.mkv"), " -sid 0 "), dir, ExitStatus::Done);
    EXPECT_NE(log.find("subtitles: track 0 (subrip), 1 lines\n"), std::string::npos) << log;
    const std::string out = dir.file("out.mp4");
    EXPECT_EQ(brightAtBottom(out, 0.5), 0.0);
    EXPECT_GT(brightAtBottom(out, 1.04), 0.01);
    EXPECT_GT(brightAtBottom(out, 2.0), 0.01);
    EXPECT_GT(brightAtBottom(out, 2.96), 0.01);
    EXPECT_EQ(brightAtBottom(out, 3.04), 0.0);
    EXPECT_EQ(brightAtBottom(out, 4.5), 0.0);
}

TEST(TextSubtitles, WebVttAssFilesAndMp4TimedTextAreDrawnToo) {
    TempDir files;
    write(files.file("line.vtt"),
          "WEBVTT\n\n00:00:01.000 --> 00:00:03.000\nBurned line HELLO WORLD\n\n");
    write(files.file("styled.ass"), kStyledScript);
    const std::vector<std::tuple<std::string, std::string, double>> cases = {
        {mediaPath("tracks.mkv"), " -sub " + pelorine::quoteArgument(files.file("line.vtt")) + " ",
         2.0},
        {mediaPath("tracks.mkv"),
         " -sub " + pelorine::quoteArgument(files.file("styled.ass")) + " ", 4.5},
        {mediaPath("timed-text.mp4"), " -sid 0 ", 2.0},
    };
    for (const auto& [source, tracks, shown] : cases) {
        SCOPED_TRACE(tracks);
        TempDir dir;
        convert(jobFor(dir, source, tracks), dir, ExitStatus::Done);
        const std::string out = dir.file("out.mp4");
        const auto drawn = [&](double seconds) {
            return shareAt(out, seconds, 0, 160, 320, 80, 0, 60) +
                   std::max(0.0, redAtBottom(out, seconds));
        };
        EXPECT_GT(drawn(shown), 0.01);
        EXPECT_EQ(drawn(0.5), 0.0);
    }
}

TEST(TextSubtitles, AnAssScriptKeepsItsStyleColourAndPositions) {
    for (const bool full : {false, true}) {
        SCOPED_TRACE(full ? "480x272, letterboxed" : "320x240");
        TempDir dir;
        JobLine job = jobFor(dir, mediaPath("tracks.mkv"), " -sid 1 ");
        if (full) {
            job.videoSize = "480x272";
        }
        convert(job, dir, ExitStatus::Done);
        const std::string out = dir.file("out.mp4");
        if (full) {
            // The picture is 362 wide, 59 in: the top word lies within it, moved and scaled.
            EXPECT_GT(shareAt(out, 4.5, 59, 20, 180, 70, 2, kRedChroma), 0.02);
            EXPECT_EQ(shareAt(out, 4.5, 0, 0, 58, 272, 2, kRedChroma), 0.0);
            continue;
        }
        EXPECT_GT(redAtBottom(out, 4.5), 0.02);
        EXPECT_GT(redAtTopLeft(out, 4.5), 0.02);
        EXPECT_EQ(redAtBottom(out, 2.0), 0.0);
        EXPECT_EQ(redAtTopLeft(out, 2.0), 0.0);
        // Red, not white: the bright share stays small where the red line is.
        EXPECT_LT(brightAtBottom(out, 4.5), 0.01);
    }
}

TEST(TextSubtitles, AClipOrAPartStartingInsideALineShowsItFromTheFirstFrame) {
    // Key frames a second apart: reading starts at 2 s, long after the line began.
    for (const auto& [timing, shownAt, goneAt] :
         std::vector<std::tuple<std::string, double, double>>{
             {" -ss 2.000000 -endpos 1.000000 ", 0.0, -1},
             {" -ss 2.500000 -endpos 2.000000 ", 0.0, 0.6}}) {
        SCOPED_TRACE(timing);
        TempDir dir;
        JobLine job = jobFor(dir, mediaPath("tracks.mkv"), " -sid 0 ");
        job.timing = timing;
        convert(job, dir, ExitStatus::Done);
        EXPECT_GT(brightAtBottom(dir.file("out.mp4"), shownAt), 0.01);
        if (goneAt >= 0) {
            EXPECT_EQ(brightAtBottom(dir.file("out.mp4"), goneAt), 0.0);
        }
    }
}

TEST(TextSubtitles, AFileBesideTheVideoWithBlanksQuotesAndLettersBeyondAscii) {
    TempDir dir;
    const fs::path folder = dir.path() / "Filme mit Leerzeichen";
    fs::create_directories(folder);
    const fs::path video = folder / "Ein \"Film\" über 'Öl'.mkv";
    const fs::path subtitles = folder / "Ein \"Film\" über 'Öl'.en.srt";
    fs::copy_file(mediaPath("tracks.mkv"), video);
    write(subtitles, kLine);
    JobLine job =
        jobFor(dir, video.string(), " -sub " + pelorine::quoteArgument(subtitles.string()) + " ");
    job.output = (folder / "Ausgabe ä.mp4").string();
    const std::string log = convert(job, dir, ExitStatus::Done);
    EXPECT_NE(log.find("subtitles: \"" + subtitles.string() + "\" (srt, UTF-8), 1 lines\n"),
              std::string::npos)
        << log;
    EXPECT_GT(brightAtBottom(job.output, 2.0), 0.01);
    EXPECT_EQ(brightAtBottom(job.output, 4.0), 0.0);
}

TEST(TextSubtitles, Utf16AndLegacyCodePageFilesAreReadAsTheirText) {
    const std::string cue = "1\n00:00:01,000 --> 00:00:03,000\nBurned line HELLO WORLD ";
    const std::string utf16 = [&] {
        std::string bytes = "\xFF\xFE";
        for (const char c : cue +
                                "Gr\xFC\xDF"
                                "e HELLO\n") {
            bytes += c;
            bytes += '\0';
        }
        return bytes;
    }();
    const std::vector<std::tuple<std::string, std::string, std::string>> files = {
        {utf16, "", "UTF-16LE"},
        {cue + "\xCF\xF0\xE8\xE2\xE5\xF2 \xEC\xE8\xF0 HELLO\n", "", "windows-1251"},  // Привет мир
        {cue + "Gr\xFC\xDF"
               "e aus K\xF6ln HELLO\n",
         "", "windows-1252"},
        {cue + "\xA3\xF3"
               "d\xBC HELLO\n",
         "ISO-8859-2", "ISO-8859-2"},  // Łódź
    };
    for (const auto& [bytes, codePage, encoding] : files) {
        SCOPED_TRACE(encoding);
        TempDir dir;
        write(dir.file("line.srt"), bytes);
        std::string tracks = " -sub " + pelorine::quoteArgument(dir.file("line.srt")) + " ";
        if (!codePage.empty()) {
            tracks += "-subcp " + codePage + " ";
        }
        const std::string log =
            convert(jobFor(dir, mediaPath("tracks.mkv"), tracks), dir, ExitStatus::Done);
        EXPECT_NE(log.find("(srt, " + encoding + "), 1 lines\n"), std::string::npos) << log;
        EXPECT_GT(brightAtBottom(dir.file("out.mp4"), 2.0), 0.01);
    }
}

TEST(TextSubtitles, WhatCannotBeBurnedFailsBeforeAnythingIsWrittenWithItsReason) {
    TempDir files;
    write(files.file("damaged.srt"), std::string("\x00\x9f\x13garbage\xff\xfe\x01", 13));
    write(files.file("empty.srt"), "no cue here, only words\n");
    write(files.file("latin.srt"), std::string(kLine) + "caf\xE9\n");
    const std::string missing = files.file("missing.srt");
    const auto fileReason = [](const std::string& path, const std::string& reason) {
        return "failed: the subtitle file \"" + path + "\" cannot be used: " + reason + "\n";
    };
    const std::string tracks = mediaPath("tracks.mkv");
    const std::vector<std::tuple<std::string, std::string, std::string>> cases = {
        {tracks, " -sub " + pelorine::quoteArgument(files.file("damaged.srt")) + " ",
         fileReason(files.file("damaged.srt"), "it is binary data, not text")},
        {tracks, " -sub " + pelorine::quoteArgument(files.file("empty.srt")) + " ",
         fileReason(files.file("empty.srt"), "it is not in a subtitle format")},
        {tracks, " -sub " + pelorine::quoteArgument(missing) + " ",
         fileReason(missing, "No such file or directory")},
        {tracks, " -sub " + pelorine::quoteArgument(files.file("latin.srt")) + " -subcp NO-SUCH ",
         fileReason(files.file("latin.srt"), "unknown code page \"NO-SUCH\" (-subcp)")},
        {mediaPath("broken-font.mkv"), " -sid 0 ",
         "failed: the font \"Broken.ttf\" the source carries cannot be loaded: it is not a font "
         "FreeType reads\n"},
    };
    for (const auto& [source, options, reason] : cases) {
        SCOPED_TRACE(options);
        TempDir dir;
        const std::string log = convert(jobFor(dir, source, options), dir, ExitStatus::Failed);
        EXPECT_NE(log.find(reason), std::string::npos) << log;
        EXPECT_FALSE(fs::exists(dir.file("out.mp4")));
        EXPECT_FALSE(fs::exists(dir.file("out.mp4.part")));
    }
}

// The test DVD's title 1 with its sub-picture (a box shown from 0.5 s to
// 2.5 s) as a VobSub track in Matroska, key frames a second apart.
std::string vobSubSource() {
    const std::string vob = pelorine::dvdtest::dvdFixture().disc + "/VIDEO_TS/VTS_01_1.VOB";
    generateMedia(
        "subtitles-vobsub", kMediaVersion,
        {{"vobsub.mkv", {"-v",        "error", "-y",    "-probesize", "50M",     "-analyzeduration",
                         "50M",       "-i",    vob,     "-map",       "0:v",     "-map",
                         "0:s",       "-map",  "0:a:0", "-c:v",       "libx264", "-preset",
                         "ultrafast", "-g",    "25",    "-c:a",       "aac",     "-c:s",
                         "copy"}}});
    return (mediaFolder("subtitles-vobsub", kMediaVersion) / "vobsub.mkv").string();
}

TEST(PictureSubtitles, AFilesVobSubTrackIsBurnedAlsoIntoAClipStartingInsideIt) {
    // The box, 260,440 200x80 of 720x576, in the 320x240 output.
    const auto boxShown = [](const std::string& path, double seconds) {
        return shareAt(path, seconds, 120, 188, 80, 24, 0, kBrightLuma);
    };
    TempDir dir;
    JobLine job = jobFor(dir, vobSubSource(), " -sid 0 ");
    job.sourceWidth = 768;
    job.sourceHeight = 576;
    const std::string log = convert(job, dir, ExitStatus::Done);
    EXPECT_NE(log.find("subtitles: dvd_subtitle burned into the picture\n"), std::string::npos)
        << log;
    EXPECT_EQ(boxShown(job.output, 0.3), 0.0);
    EXPECT_GT(boxShown(job.output, 1.5), 0.9);
    EXPECT_EQ(boxShown(job.output, 2.8), 0.0);
    // Reading starts at the key frame at 1 s, long after the sub-picture's packet.
    TempDir clip;
    JobLine part = jobFor(clip, job.source, " -sid 0 ");
    part.sourceWidth = 768;
    part.sourceHeight = 576;
    part.timing = " -ss 1.000000 -endpos 1.000000 ";
    convert(part, clip, ExitStatus::Done);
    EXPECT_GT(boxShown(part.output, 0.0), 0.9);
}

}  // namespace
}  // namespace zelvic::test
