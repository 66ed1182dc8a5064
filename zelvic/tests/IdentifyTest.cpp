#include <gtest/gtest.h>

#include <fstream>

#include "Engine.h"
#include "Probe.h"
#include "records/ChannelFiles.h"
#include "records/MediaInfo.h"

namespace zelvic::test {
namespace {

std::optional<pelorine::MediaInfo> readInfo(const TempDir& dir, std::size_t* size = nullptr) {
    std::ifstream in(dir.file(std::string(pelorine::channel::kInfoFileName)), std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    pelorine::MediaInfo info;
    auto bytes = info.bytes();
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (size) {
        *size = static_cast<std::size_t>(in.gcount());
        in.peek();
        if (!in.eof()) {
            *size += 1;  // longer than the record
        }
    }
    return info;
}

ProcessEnd identify(const std::string& source, const TempDir& dir) {
    return runEngineLine(
        " \"" + source + "\"  -vo null -nosound -identify -currentfolder \"" + dir.folder() + "\" ",
        dir.file("log.txt"));
}

TEST(Identify, EveryFixtureGivesItsFullRecord) {
    for (const Fixture& fixture : fixtures()) {
        SCOPED_TRACE(fixture.name);
        TempDir dir;
        const ProcessEnd end = identify(fixturePath(fixture.name), dir);
        ASSERT_TRUE(end.exited);
        EXPECT_EQ(end.status, ExitStatus::Done);
        std::size_t size = 0;
        const auto info = readInfo(dir, &size);
        ASSERT_TRUE(info);
        EXPECT_EQ(size, pelorine::MediaInfo::kSize);
        EXPECT_NEAR(info->mediaLength(), fixture.length, 0.1);
        EXPECT_EQ(info->videoWidth(), fixture.width);
        EXPECT_EQ(info->videoHeight(), fixture.height);
        EXPECT_EQ(info->titleCount(), 0);
        ASSERT_EQ(info->audioCount(), fixture.audioStreams);
        for (int i = 0; i < fixture.audioStreams; ++i) {
            EXPECT_EQ(info->audioId(i), i);
            EXPECT_FALSE(info->audioName(i).empty());
        }
        if (fixture.audioStreams > 0) {
            EXPECT_NE(info->audioNote(0).find(std::to_string(fixture.audioChannels) + "ch"),
                      std::string::npos)
                << info->audioNote(0);
        }
        EXPECT_EQ(info->subtitleCount(), fixture.subtitleStreams);
        // Everything past the lists is unused: ids -1, texts empty.
        for (int i = fixture.audioStreams; i < pelorine::MediaInfo::kMaxStreams; ++i) {
            ASSERT_EQ(info->audioId(i), -1) << i;
            ASSERT_EQ(info->audioName(i), "") << i;
            ASSERT_EQ(info->audioNote(i), "") << i;
        }
        for (int i = fixture.subtitleStreams; i < pelorine::MediaInfo::kMaxStreams; ++i) {
            ASSERT_EQ(info->subtitleId(i), -1) << i;
            ASSERT_EQ(info->subtitleName(i), "") << i;
        }
    }
}

TEST(Identify, LanguagesAndFormatsOfTheStreams) {
    TempDir dir;
    ASSERT_EQ(identify(fixturePath("wide.mkv"), dir).status, ExitStatus::Done);
    const auto info = readInfo(dir);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->audioName(0), "English");
    EXPECT_EQ(info->audioNote(0), "mp3 1ch");
    EXPECT_EQ(info->audioName(1), "French");
    EXPECT_EQ(info->audioNote(1), "aac 2ch");
    EXPECT_EQ(info->subtitleId(0), 0);
    EXPECT_EQ(info->subtitleName(0), "German (subrip)");
}

TEST(Identify, SourcesThatCannotBeOpenedLeaveNoInfoFile) {
    TempDir media;
    {
        std::ofstream text(media.file("notes.txt"));
        text << "These are not the frames you are looking for.\n";
        for (int i = 0; i < 200; ++i) {
            text << "line " << i << " of plain text\n";
        }
    }
    std::ofstream(media.file("empty.mp4")).close();
    const std::string cases[] = {media.file("missing.avi"), media.file("notes.txt"),
                                 media.file("empty.mp4"), media.path().string()};
    for (const std::string& source : cases) {
        SCOPED_TRACE(source);
        TempDir dir;
        // A record left from an earlier run must not pass for this one.
        std::ofstream(dir.file(std::string(pelorine::channel::kInfoFileName))) << "stale";
        const ProcessEnd end = identify(source, dir);
        ASSERT_TRUE(end.exited);
        EXPECT_EQ(end.status, ExitStatus::SourceUnreadable);
        EXPECT_FALSE(fs::exists(dir.file(std::string(pelorine::channel::kInfoFileName))));
    }
}

TEST(Identify, DiscSourcesAreNotReadableYet) {
    TempDir dir;
    const ProcessEnd end = runEngineLine(
        " dvd://1 -dvd-device \"/nonexistent\"  -vo null -nosound "
        "-identify -currentfolder \"" +
            dir.folder() + "\" ",
        dir.file("log.txt"));
    EXPECT_EQ(end.status, ExitStatus::SourceUnreadable);
    EXPECT_FALSE(fs::exists(dir.file(std::string(pelorine::channel::kInfoFileName))));
}

TEST(CommandLine, BadLinesExitWithOneAndWriteNothing) {
    const char* lines[] = {"-bogus", "-endpos 12parsecs", "-vf blur", "-srate fast"};
    for (const char* options : lines) {
        SCOPED_TRACE(options);
        TempDir dir;
        const std::string line = std::string(" \"") + fixturePath("ramp43.mp4") + "\" " + options +
                                 " -o \"" + dir.file("out.mp4") + "\" -currentfolder \"" +
                                 dir.folder() + "\"";
        const std::string log = (fs::temp_directory_path() / "zelvic-badline.txt").string();
        const ProcessEnd end = runEngineLine(line, log);
        std::ifstream in(log);
        std::string first;
        std::string second;
        std::getline(in, first);
        std::getline(in, second);
        EXPECT_EQ(end.status, ExitStatus::BadCommandLine);
        EXPECT_FALSE(first.empty());
        EXPECT_TRUE(second.empty());  // one line
        EXPECT_TRUE(fs::is_empty(dir.path()));
    }
}

}  // namespace
}  // namespace zelvic::test
