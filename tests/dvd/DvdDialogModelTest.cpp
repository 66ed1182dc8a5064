// The DVD dialog's decisions with a scripted dialog window and scripted
// identify runs: what is read when, how the lists fill, what OK yields.

#include <gtest/gtest.h>

#include <map>

#include "dvd/DvdDialogModel.h"
#include "support/ScriptedDvdView.h"

namespace pelorine {
namespace {

using testing::Entries;
using testing::ScriptedDvdView;

class ScriptedReader final : public DiscReader {
public:
    std::unique_ptr<MediaInfo> read(const std::string& mediaText) override {
        texts.push_back(mediaText);
        const auto found = discs.find(mediaText);
        return found == discs.end() ? nullptr : std::make_unique<MediaInfo>(found->second);
    }
    std::string lastFailure() const override { return failure; }
    std::map<std::string, MediaInfo> discs;  // by media text
    std::vector<std::string> texts;
    std::string failure;
};

// A disc of `chapters.size()` titles; the audio streams and subtitles given.
MediaInfo disc(const std::vector<int>& chapters, double length,
               const std::vector<std::pair<int, std::string>>& audio = {{128, "English"}},
               const std::vector<std::string>& subtitles = {"German"}) {
    MediaInfo info;
    info.clearStreams();
    info.setMediaLength(length);
    info.setTitleCount(static_cast<int>(chapters.size()));
    for (std::size_t i = 0; i < chapters.size(); ++i) {
        info.setChapterCount(static_cast<int>(i), chapters[i]);
    }
    for (std::size_t i = 0; i < audio.size(); ++i) {
        info.setAudio(static_cast<int>(i), audio[i].first, audio[i].second, "ac3 2ch");
    }
    for (std::size_t i = 0; i < subtitles.size(); ++i) {
        info.setSubtitle(static_cast<int>(i), static_cast<int>(i), subtitles[i]);
    }
    return info;
}

const std::string kFirst = R"( dvd://1 -dvd-device "/dev/sr0" )";
const std::string kSecond = R"( dvd://1 -dvd-device "/dev/sr1" )";

struct Dialog {
    explicit Dialog(std::vector<std::string> drives) : model(view, reader, std::move(drives)) {}
    ScriptedDvdView view;
    ScriptedReader reader;
    DvdDialogModel model;
};

TEST(DvdDialog, OneDriveIsReadAtOnceWithTheFirstOfEverythingChosen) {
    Dialog d({"/dev/sr0"});
    d.reader.discs[kFirst] =
        disc({3, 12}, 100.0, {{129, "English"}, {192, "French"}}, {"German", "Dutch"});
    d.model.initialise();
    EXPECT_EQ(d.reader.texts, Entries{kFirst});
    EXPECT_EQ(d.view.busyChanges, (std::vector<bool>{true, false}));
    EXPECT_EQ(d.view.entries(DvdList::Drive), (Entries{"/dev/sr0", "Folder…", "Image…"}));
    EXPECT_EQ(d.view.chosen(DvdList::Drive), 0);
    EXPECT_EQ(d.view.entries(DvdList::Title), (Entries{"1", "2"}));
    EXPECT_EQ(d.view.entries(DvdList::ChapterFrom), (Entries{"1", "2", "3"}));
    EXPECT_EQ(d.view.chosen(DvdList::ChapterFrom), 0);
    EXPECT_EQ(d.view.chosen(DvdList::ChapterTo), 2);
    EXPECT_EQ(d.view.entries(DvdList::Subtitle), (Entries{"0:German", "1:Dutch", "none"}));
    EXPECT_EQ(d.view.chosen(DvdList::Subtitle), 0);
    EXPECT_EQ(d.view.entries(DvdList::AudioStream),
              (Entries{"0:English(ac3 2ch)", "1:French(ac3 2ch)", "none"}));
    EXPECT_EQ(d.view.chosen(DvdList::AudioStream), 0);
    EXPECT_EQ(d.view.entries(DvdList::AudioChannel),
              (Entries{"default", "stereo", "left channel", "right channel"}));
    EXPECT_EQ(d.view.chosen(DvdList::AudioChannel), 0);
    EXPECT_TRUE(d.view.hint.empty());

    d.model.accept();
    EXPECT_EQ(d.view.closed, true);
    const DvdChoice& choice = d.model.choice();
    EXPECT_EQ(choice.drive, "/dev/sr0");
    EXPECT_EQ(choice.title, 1);
    EXPECT_EQ(choice.chapterFirst, 1);
    EXPECT_EQ(choice.chapterLast, 3);
    EXPECT_EQ(choice.audioId, 129) << "the stream's id, not its place in the list";
    EXPECT_EQ(choice.subtitleId, 0);
    EXPECT_EQ(choice.audioChannel, 0);
}

TEST(DvdDialog, NoneEntriesAndLaterEntriesGiveWhatThePartsSay) {
    Dialog d({"/dev/sr0"});
    d.reader.discs[kFirst] =
        disc({3}, 100.0, {{129, "English"}, {192, "French"}}, {"German", "Dutch", "Greek"});
    d.model.initialise();
    d.view.pick(DvdList::AudioStream, 2);  // "none"
    d.view.pick(DvdList::Subtitle, 2);
    d.view.pick(DvdList::AudioChannel, 3);
    d.model.accept();
    EXPECT_EQ(d.model.choice().audioId, -1);
    EXPECT_EQ(d.model.choice().subtitleId, 2);
    EXPECT_EQ(d.model.choice().audioChannel, 3);

    d.view.pick(DvdList::AudioStream, 1);
    d.view.pick(DvdList::Subtitle, 3);  // "none"
    d.model.accept();
    EXPECT_EQ(d.model.choice().audioId, 192);
    EXPECT_EQ(d.model.choice().subtitleId, -1);
}

TEST(DvdDialog, ATitleChangeRefillsTheChapterListsFromThatTitlesRun) {
    Dialog d({"/dev/sr0"});
    d.reader.discs[kFirst] = disc({3, 4, 5, 6, 1, 8}, 100.0);
    // The run for title 5 tells that title's own streams; its title count
    // does not change the title list.
    MediaInfo fifth = disc({3, 4, 5, 6, 12, 8, 9}, 50.0, {{130, "Spanish"}}, {});
    d.reader.discs[R"( dvd://5 -dvd-device "/dev/sr0" )"] = fifth;
    d.model.initialise();
    d.view.pick(DvdList::Title, 4);
    d.model.titleChosen();
    EXPECT_EQ(d.reader.texts.back(), R"( dvd://5 -dvd-device "/dev/sr0" )");
    EXPECT_EQ(d.view.entries(DvdList::Title).size(), 6u);
    EXPECT_EQ(d.view.chosen(DvdList::Title), 4);
    EXPECT_EQ(d.view.entries(DvdList::ChapterFrom).size(), 12u);
    EXPECT_EQ(d.view.entries(DvdList::ChapterTo).back(), "12");
    EXPECT_EQ(d.view.chosen(DvdList::ChapterTo), 11);
    EXPECT_EQ(d.view.entries(DvdList::Subtitle), Entries{"none"});
    EXPECT_EQ(d.view.entries(DvdList::AudioStream), (Entries{"0:Spanish(ac3 2ch)", "none"}));
    d.model.accept();
    EXPECT_EQ(d.model.choice().title, 5);
    EXPECT_EQ(d.model.choice().chapterLast, 12);
    EXPECT_EQ(d.model.choice().audioId, 130);
}

TEST(DvdDialog, TwoDrivesWaitForAChoice) {
    Dialog d({"/dev/sr0", "/dev/sr1"});
    d.reader.discs[kSecond] = disc({2}, 10.0);
    d.model.initialise();
    EXPECT_TRUE(d.reader.texts.empty());
    EXPECT_EQ(d.view.chosen(DvdList::Drive), -1);
    EXPECT_TRUE(d.view.entries(DvdList::Title).empty());
    d.model.accept();
    EXPECT_EQ(d.view.closed, true);
    EXPECT_EQ(d.model.choice().drive, "") << "no drive chosen: nothing to convert";
    EXPECT_TRUE(d.view.messages.empty());

    d.view.pick(DvdList::Drive, 1);
    d.model.driveChosen();
    EXPECT_EQ(d.reader.texts, Entries{kSecond});
    EXPECT_EQ(d.view.entries(DvdList::Title), Entries{"1"});
    d.model.accept();
    EXPECT_EQ(d.model.choice().drive, "/dev/sr1");
}

TEST(DvdDialog, WithoutADriveAFolderOrImageStillServes) {
    Dialog d({});
    const std::string folderText = R"( dvd://1 -dvd-device "/media/films/MY DISC" )";
    d.reader.discs[folderText] = disc({1, 1}, 20.0);
    d.model.initialise();
    EXPECT_EQ(d.view.hint, kNoDriveHint);
    EXPECT_FALSE(d.view.closed) << "the dialog stays open";
    EXPECT_EQ(d.view.entries(DvdList::Drive), (Entries{"Folder…", "Image…"}));

    d.view.folderAnswer = "/media/films/MY DISC/";
    d.view.pick(DvdList::Drive, 0);
    d.model.driveChosen();
    EXPECT_EQ(d.view.folderAsked, 1);
    EXPECT_EQ(d.reader.texts, Entries{folderText});
    EXPECT_EQ(d.view.entries(DvdList::Drive),
              (Entries{"/media/films/MY DISC", "Folder…", "Image…"}));
    EXPECT_EQ(d.view.chosen(DvdList::Drive), 0);
    EXPECT_TRUE(d.view.hint.empty());
    d.model.accept();
    EXPECT_TRUE(d.view.messages.empty());
    EXPECT_EQ(d.model.choice().drive, "/media/films/MY DISC");

    // The same folder again is the same entry; an image is one more.
    d.view.imageAnswer = "/tmp/disc.iso";
    d.reader.discs[R"( dvd://1 -dvd-device "/tmp/disc.iso" )"] = disc({4}, 20.0);
    d.view.pick(DvdList::Drive, 2);
    d.model.driveChosen();
    EXPECT_EQ(d.view.entries(DvdList::Drive),
              (Entries{"/media/films/MY DISC", "/tmp/disc.iso", "Folder…", "Image…"}));
    EXPECT_EQ(d.view.chosen(DvdList::Drive), 1);
    EXPECT_EQ(d.view.entries(DvdList::ChapterTo).size(), 4u);
}

TEST(DvdDialog, NoDriveAndNothingChosenSaysSoOnOk) {
    Dialog d({});
    d.model.initialise();
    d.model.accept();
    EXPECT_EQ(d.view.messages, Entries{kNoDriveMessage});
    EXPECT_EQ(d.view.closed, true);
    EXPECT_EQ(d.model.choice().drive, "");
}

TEST(DvdDialog, ACancelledChooserGoesBackToTheDriveShownBefore) {
    Dialog d({"/dev/sr0"});
    d.reader.discs[kFirst] = disc({2}, 10.0);
    d.model.initialise();
    d.view.pick(DvdList::Drive, 1);  // "Folder…"
    d.model.driveChosen();
    EXPECT_EQ(d.view.chosen(DvdList::Drive), 0);
    EXPECT_EQ(d.reader.texts.size(), 1u) << "nothing more was read";
    EXPECT_EQ(d.view.entries(DvdList::Drive).size(), 3u);
}

TEST(DvdDialog, AnUnreadableDiscKeepsTheListsAndSaysWhy) {
    Dialog d({"/dev/sr0", "/dev/sr1"});
    d.reader.discs[kFirst] = disc({2}, 10.0);
    d.reader.discs[kSecond] = disc({5}, 0.0);  // read, but no length
    d.model.initialise();
    d.view.pick(DvdList::Drive, 0);
    d.model.driveChosen();
    d.view.pick(DvdList::Drive, 1);
    d.model.driveChosen();
    EXPECT_EQ(d.view.entries(DvdList::ChapterTo).size(), 2u);
    EXPECT_FALSE(d.view.hint.empty());
    d.reader.failure = "Please stop converting or playing the movie!";
    d.model.driveChosen();
    EXPECT_EQ(d.view.hint, d.reader.failure);
}

TEST(DvdDialog, AChapterRangeChosenBackwardsMeansTheSameChapters) {
    Dialog d({"/dev/sr0"});
    d.reader.discs[kFirst] = disc({9}, 10.0);
    d.model.initialise();
    d.view.pick(DvdList::ChapterFrom, 6);
    d.view.pick(DvdList::ChapterTo, 2);
    d.model.accept();
    EXPECT_EQ(d.model.choice().chapterFirst, 3);
    EXPECT_EQ(d.model.choice().chapterLast, 7);
}

TEST(DvdDialog, DamagedCountsMakeNoEndlessLists) {
    Dialog d({"/dev/sr0"});
    MediaInfo damaged = disc({1}, 10.0);
    damaged.setTitleCount(1 << 30);
    damaged.setChapterCount(0, -5);
    d.reader.discs[kFirst] = damaged;
    d.model.initialise();
    EXPECT_EQ(d.view.entries(DvdList::Title).size(),
              static_cast<std::size_t>(MediaInfo::kMaxTitles));
    EXPECT_TRUE(d.view.entries(DvdList::ChapterFrom).empty());
}

TEST(DvdDialog, CancelEndsWithoutAChoice) {
    Dialog d({"/dev/sr0"});
    d.model.initialise();
    d.model.cancel();
    EXPECT_EQ(d.view.closed, false);
}

}  // namespace
}  // namespace pelorine
