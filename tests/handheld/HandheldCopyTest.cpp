// Copies to a folder that looks like a memory stick: where each output goes,
// that it arrives whole, and that a failing stick leaves nothing that looks
// whole and never touches the converted file.

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "handheld/HandheldCopy.h"
#include "handheld/HandheldSend.h"
#include "jobs/Job.h"
#include "support/TestSupport.h"

namespace pelorine::handheld {
namespace {

namespace fs = std::filesystem;
using testing::TempFolder;

// The real files, with faults to order: a stick of a given size, one that
// is read-only, writes that fail from some byte on, a copy that changes.
class FaultyFiles final : public platform::LargeFiles {
public:
    platform::Opened openForReading(const std::string& path) override {
        return real().openForReading(path);
    }
    platform::Opened openForUpdate(const std::string& path) override {
        return real().openForUpdate(path);
    }
    platform::Opened createNew(const std::string& path) override {
        platform::Opened opened = real().createNew(path);
        if (opened.file) {
            opened.file = std::make_unique<FaultyFile>(std::move(opened.file), *this);
        }
        return opened;
    }
    std::optional<std::uint64_t> fileSize(const std::string& path) const override {
        return real().fileSize(path);
    }
    std::optional<platform::SpaceInfo> space(const std::string& path) const override {
        auto space = real().space(path);
        if (space && available) {
            space->available = *available;
        }
        if (space) {
            space->readOnly = readOnly;
        }
        return space;
    }
    Status moveIntoPlace(const std::string& from, const std::string& to) override {
        return real().moveIntoPlace(from, to);
    }
    Status flushFolder(const std::string& folder) override { return real().flushFolder(folder); }

    std::optional<std::uint64_t> available;
    bool readOnly = false;
    std::optional<std::uint64_t> failWritesFrom;  // the stick goes away at this byte
    bool corrupt = false;

private:
    static platform::LargeFiles& real() { return platform::systemLargeFiles(); }

    class FaultyFile final : public platform::OpenFile {
    public:
        FaultyFile(std::unique_ptr<platform::OpenFile> file, FaultyFiles& owner)
            : file_(std::move(file)), owner_(owner) {}
        Status readAt(std::uint64_t offset, std::span<std::uint8_t> into,
                      std::size_t& got) override {
            return file_->readAt(offset, into, got);
        }
        Status writeAt(std::uint64_t offset, std::span<const std::uint8_t> bytes) override {
            if (owner_.failWritesFrom && offset + bytes.size() > *owner_.failWritesFrom) {
                return Status::error("Cannot write: Input/output error.");
            }
            if (owner_.corrupt && offset == 0) {
                std::vector<std::uint8_t> changed(bytes.begin(), bytes.end());
                changed[0] ^= 0xff;
                return file_->writeAt(offset, changed);
            }
            return file_->writeAt(offset, bytes);
        }
        Status flushToDisk() override { return file_->flushToDisk(); }
        Status close() override { return file_->close(); }

    private:
        std::unique_ptr<platform::OpenFile> file_;
        FaultyFiles& owner_;
    };
};

class HandheldCopyTest : public ::testing::Test {
protected:
    void SetUp() override { fs::create_directories(stick.file("PSP/GAME")); }

    // A converted output of `bytes` random bytes, with a thumbnail beside it
    // when `thumbnail`.
    Job output(const std::string& name, const std::string& codec, std::size_t bytes,
               bool thumbnail = true) {
        std::string content(bytes, '\0');
        for (char& c : content) {
            c = static_cast<char>(random());
        }
        out.write(name, content);
        if (thumbnail) {
            out.write(fs::path(name).stem().string() + ".THM", "\xff\xd8 thumbnail");
        }
        Job job;
        job.sourcePath = "/videos/" + fs::path(name).stem().string() + " source.avi";
        job.outputPath = out.file(name);
        job.outputFormat = fs::path(name).extension().string().substr(1);
        job.videoCodec = codec;
        job.videoDisabled = "no";
        job.split = "Not split";
        return job;
    }

    CopyPlan plan(const std::vector<Job>& jobs, bool newerFirmware) {
        HandheldLayout layout(stick.path(), platform::systemFileSystem(), newerFirmware);
        std::vector<SendItem> items;
        for (const Job& job : jobs) {
            for (SendItem& item : sendItemsOf(job, platform::systemFileSystem())) {
                items.push_back(std::move(item));
            }
        }
        std::vector<std::string> problems;
        CopyPlan result = planCopies(layout, items, files, problems);
        EXPECT_TRUE(problems.empty());
        return result;
    }

    Status copy(const CopyPlan& plan) {
        if (Status ready = checkHandheld(plan, files); !ready) {
            return ready;
        }
        HandheldCopier copier(files, platform::systemFileSystem());
        return copier.copy(plan, [&](std::uint64_t done, std::uint64_t) { progress = done; });
    }

    std::set<std::string> handheldFiles() const { return stick.filesBelow(); }

    std::mt19937 random{42};
    TempFolder stick, out;
    FaultyFiles files;
    std::uint64_t progress = 0;
};

TEST_F(HandheldCopyTest, EmptyHandheldGetsTheFirstNumbersWithThumbnails) {
    const Job avc = output("MAQ12345.mp4", "h264", 3 * 1024 * 1024 + 17);
    const Job mpeg4 = output("M4V55555.mp4", "MPEG4", 4096);
    const CopyPlan steps = plan({avc, mpeg4}, false);
    ASSERT_TRUE(copy(steps)) << copy(steps).message();
    EXPECT_EQ(
        handheldFiles(),
        (std::set<std::string>{"MP_ROOT/100ANV01/MAQ00001.MP4", "MP_ROOT/100ANV01/MAQ00001.THM",
                               "MP_ROOT/100MNV01/M4V00001.MP4", "MP_ROOT/100MNV01/M4V00001.THM"}));
    EXPECT_EQ(stick.read("MP_ROOT/100ANV01/MAQ00001.MP4"), out.read("MAQ12345.mp4"));
    EXPECT_EQ(stick.read("MP_ROOT/100ANV01/MAQ00001.THM"), out.read("MAQ12345.THM"));
    EXPECT_EQ(stick.read("MP_ROOT/100MNV01/M4V00001.MP4"), out.read("M4V55555.mp4"));
    EXPECT_EQ(progress, steps.bytes);
}

TEST_F(HandheldCopyTest, ExistingNumbersAreNeverOverwritten) {
    fs::create_directories(stick.file("MP_ROOT/100ANV01"));
    stick.write("MP_ROOT/100ANV01/MAQ00001.MP4", "the user's own video");
    const Job avc = output("MAQ12345.mp4", "h264", 5000);
    ASSERT_TRUE(copy(plan({avc}, false)));
    EXPECT_EQ(stick.read("MP_ROOT/100ANV01/MAQ00001.MP4"), "the user's own video");
    EXPECT_EQ(stick.read("MP_ROOT/100ANV01/MAQ00002.MP4"), out.read("MAQ12345.mp4"));
    EXPECT_TRUE(fs::exists(stick.file("MP_ROOT/100ANV01/MAQ00002.THM")));
}

TEST_F(HandheldCopyTest, NewerFirmwareAndMusicByTitle) {
    const Job video = output("MAQ12345.mp4", "h264", 5000);
    const Job again = output("MAQ22222.mp4", "h264", 6000);
    Job song = output("Song.mp3", "MPEG4", 7000, false);
    Job sameTitle = again;
    sameTitle.sourcePath = video.sourcePath;  // two Jobs of one title
    ASSERT_TRUE(copy(plan({video, sameTitle, song}, true)));
    EXPECT_EQ(handheldFiles(),
              (std::set<std::string>{"MUSIC/Song source.MP3", "VIDEO/MAQ12345 source.MP4",
                                     "VIDEO/MAQ12345 source.THM", "VIDEO/MAQ12345 source (2).MP4",
                                     "VIDEO/MAQ12345 source (2).THM"}));
    EXPECT_EQ(stick.read("VIDEO/MAQ12345 source (2).MP4"), out.read("MAQ22222.mp4"));
    EXPECT_EQ(stick.read("MUSIC/Song source.MP3"), out.read("Song.mp3"));
}

TEST_F(HandheldCopyTest, FullHandheldIsRefusedBeforeCopying) {
    const Job avc = output("MAQ12345.mp4", "h264", 2 * 1024 * 1024);
    files.available = 1024 * 1024;
    const Status status = copy(plan({avc}, false));
    ASSERT_FALSE(status);
    EXPECT_NE(status.message().find("Not enough room"), std::string::npos);
    EXPECT_NE(status.message().find("needs 2.0 MB, 1.0 MB are free"), std::string::npos)
        << status.message();
    EXPECT_EQ(handheldFiles(), (std::set<std::string>{}));
}

TEST_F(HandheldCopyTest, ReadOnlyHandheldIsReported) {
    const Job avc = output("MAQ12345.mp4", "h264", 1000);
    files.readOnly = true;
    const Status status = copy(plan({avc}, false));
    ASSERT_FALSE(status);
    EXPECT_NE(status.message().find("read-only"), std::string::npos);
    EXPECT_EQ(handheldFiles(), (std::set<std::string>{}));
}

TEST_F(HandheldCopyTest, InterruptedOrChangedCopiesLeaveNoFinalFile) {
    const Job avc = output("MAQ12345.mp4", "h264", 3 * 1024 * 1024);
    const std::string original = out.read("MAQ12345.mp4");
    for (const bool removedMidway : {true, false}) {
        SCOPED_TRACE(removedMidway ? "removed midway" : "copy differs");
        files.failWritesFrom =
            removedMidway ? std::optional<std::uint64_t>(1536 * 1024) : std::nullopt;
        files.corrupt = !removedMidway;
        const Status status = copy(plan({avc}, false));
        ASSERT_FALSE(status);
        EXPECT_NE(status.message().find(removedMidway ? "Input/output error" : "differs"),
                  std::string::npos)
            << status.message();
        EXPECT_EQ(handheldFiles(), (std::set<std::string>{}));  // no final, no partial file
        EXPECT_EQ(out.read("MAQ12345.mp4"), original);
    }
}

TEST_F(HandheldCopyTest, StoppedCopyLeavesNothing) {
    const Job avc = output("MAQ12345.mp4", "h264", 3 * 1024 * 1024);
    const CopyPlan steps = plan({avc}, false);
    bool stop = false;
    HandheldCopier copier(files, platform::systemFileSystem());
    const Status status = copier.copy(
        steps, [&](std::uint64_t, std::uint64_t) { stop = true; }, [&] { return stop; });
    ASSERT_FALSE(status);
    EXPECT_EQ(copier.completed(), 0u);
    EXPECT_EQ(handheldFiles(), (std::set<std::string>{}));
}

TEST_F(HandheldCopyTest, SplitJobsSendEveryPart) {
    Job split = output("MAQ12345_clip_1.mp4", "h264", 1000);
    output("MAQ12345_clip_2.mp4", "h264", 2000);
    split.outputPath = out.file("MAQ12345.mp4");
    split.split = "00:10:00";
    const auto items = sendItemsOf(split, platform::systemFileSystem());
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[1].output, out.file("MAQ12345_clip_2.mp4"));
    EXPECT_EQ(items[1].title, "MAQ12345_clip_1 source (part 2)");
}

TEST(CopySizes, AreShownInUnits) {
    EXPECT_EQ(sizeText(512), "512 bytes");
    EXPECT_EQ(sizeText(1536), "1.5 KB");
    EXPECT_EQ(sizeText(650ull * 1024 * 1024), "650.0 MB");
    EXPECT_EQ(sizeText(4700ull * 1024 * 1024), "4.6 GB");
}

}  // namespace
}  // namespace pelorine::handheld
