// Project files byte for byte, opening (sources gone, DVD Jobs, damage) and saving.

#include "project/ProjectFile.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "project/CountingAllocator.h"
#include "project/FileBytes.h"
#include "project/SampleJobs.h"
#include "support/MemoryFileSystem.h"

namespace pelorine {
namespace {

using Bytes = std::vector<std::uint8_t>;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using testing::FileBytes;
using ::testing::HasSubstr;

Bytes encode(const std::vector<Job>& jobs) {
    std::vector<const Job*> pointers;
    for (const Job& job : jobs) {
        pointers.push_back(&job);
    }
    Bytes bytes;
    EXPECT_TRUE(encodeProject(pointers, bytes));
    return bytes;
}

// A Job with every field chosen, and its record written out by hand.
Job handJob() {
    Job job;
    job.videoDisabled = "no";
    job.videoBitrate = "1200";
    job.videoFrameRate = "default";
    job.videoSize = "320x240";
    job.videoCodec = "MPEG4";
    job.audioDisabled = "yes";
    job.audioVolume = "-5";
    job.audioChannel = "mixed mono";
    job.audioBitrate = "128";
    job.audioSampleRate = "44100";
    job.audioCodec = "aac";
    job.quantizerMin = "2";
    job.quantizerMax = "31";
    job.clipEnabled = 1;
    job.clipEnd = 180.0;
    job.clipStart = 60.0;
    job.startText = "00:01:00.00";
    job.endText = "00:03:00.00";
    job.outputFormat = "";
    job.split = "650 MB";
    job.sourcePath = "/v/a.avi";
    job.outputPath = "/o/M4V04217.MP4";
    job.duration = 3725.5;
    job.reservedValue = 0x01020304;
    job.sourceWidth = 640;
    job.sourceHeight = 480;
    job.isDvd = 1;
    job.dvdAudioChannel = 2;
    job.dvdAudioId = 128;
    job.dvdSubtitleId = -1;
    job.dvdChapterLast = 7;
    job.dvdChapterFirst = 3;
    job.dvdTitle = 5;
    job.profileIndex = 4;
    return job;
}

// `sourceField` is the source path as the file holds it, prefix and all.
FileBytes handRecord(FileBytes bytes, const std::string& sourceField = "\x08/v/a.avi") {
    return bytes.str("no")
        .str("1200")
        .str("default")
        .str("320x240")
        .str("MPEG4")
        .str("yes")
        .str("-5")
        .str("mixed mono")
        .str("128")
        .str("44100")
        .str("aac")
        .i32(1)
        .raw({0x00, 0x00, 0x00, 0x00, 0x00, 0x80, 0x66, 0x40})  // 180.0
        .raw({0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x4E, 0x40})  // 60.0
        .str("00:01:00.00")
        .str("00:03:00.00")
        .raw({0x00})  // empty output format
        .str("650 MB")
        .raw(sourceField)
        .str("/o/M4V04217.MP4")
        .raw({0x00, 0x00, 0x00, 0x00, 0x00, 0x1B, 0xAD, 0x40})  // 3725.5
        .i32(0x01020304)
        .i32(640)
        .i32(480)
        .i32(1)
        .i32(2)
        .i32(128)
        .i32(-1)
        .i32(7)
        .i32(3)
        .i32(5)
        .i32(4)
        .str("2")
        .str("31");
}

TEST(ProjectFileFormat, AnEmptyListIsFourZeroBytes) {
    EXPECT_THAT(encode({}), ElementsAre(0x00, 0x00, 0x00, 0x00));
    std::vector<Job> jobs = {handJob()};
    ASSERT_TRUE(decodeProject(Bytes{0, 0, 0, 0}, jobs));
    EXPECT_TRUE(jobs.empty());
}

TEST(ProjectFileFormat, AJobIsItsFieldsInFileOrderWithTheQuantizersLast) {
    const Bytes twice = handRecord(handRecord(FileBytes().i32(2))).bytes();
    EXPECT_THAT(encode({handJob(), handJob()}), ElementsAreArray(twice));
    std::vector<Job> jobs;
    ASSERT_TRUE(decodeProject(twice, jobs));
    EXPECT_THAT(jobs, ElementsAre(handJob(), handJob()));
}

TEST(ProjectFileFormat, ALongSourcePathHasTheThreeBytePrefix) {
    Job job = handJob();
    job.sourcePath = "/" + std::string(299, 'v');
    const Bytes expected = handRecord(FileBytes().i32(1), "\xFF\x2C\x01" + job.sourcePath).bytes();
    EXPECT_THAT(encode({job}), ElementsAreArray(expected));
    std::vector<Job> jobs;
    ASSERT_TRUE(decodeProject(expected, jobs));
    EXPECT_THAT(jobs, ElementsAre(job));
}

class ProjectFileTest : public ::testing::Test {
protected:
    static constexpr const char* kFolder = "/home/me/Videos/";

    std::vector<Job> samples() const { return testing::sampleJobs(kFolder); }
    void createSource(const Job& job) { files.put(job.sourcePath, "media"); }
    void createSources(const std::vector<Job>& jobs) {
        for (const Job& job : jobs) {
            createSource(job);
        }
    }
    static std::string project() { return std::string(kFolder) + "batch.vpt"; }
    void writeProject(const Bytes& bytes) {
        files.put(project(), std::string(bytes.begin(), bytes.end()));
    }
    Bytes projectBytes() const {
        const std::string content = files.text(project());
        return Bytes(content.begin(), content.end());
    }
    Status save(const std::vector<Job>& jobs) {
        JobList list;
        for (const Job& job : jobs) {
            list.append(std::make_unique<Job>(job));
        }
        return saveProject(project(), list, files);
    }

    testing::MemoryFileSystem files;
};

TEST_F(ProjectFileTest, ThreeJobsComeBackWithEveryField) {
    const std::vector<Job> jobs = samples();
    createSources(jobs);
    ASSERT_TRUE(save(jobs));
    const OpenedProject opened = openProject(project(), files);
    ASSERT_EQ(opened.result, OpenedProject::Result::Opened) << opened.detail.message();
    EXPECT_EQ(opened.jobs, jobs);
    EXPECT_TRUE(opened.droppedSources.empty());
}

TEST_F(ProjectFileTest, JobsWhoseSourceIsGoneAreLeftOutInOrder) {
    const std::vector<Job> jobs = samples();
    createSource(jobs[0]);
    createSource(jobs[2]);
    ASSERT_TRUE(save(jobs));
    const OpenedProject opened = openProject(project(), files);
    ASSERT_EQ(opened.result, OpenedProject::Result::Opened);
    EXPECT_THAT(opened.jobs, ElementsAre(jobs[0], jobs[2]));
    EXPECT_THAT(opened.droppedSources, ElementsAre(jobs[1].sourcePath));
}

TEST_F(ProjectFileTest, DvdJobsStayWhileTheirDiscIsThere) {
    std::vector<Job> jobs = samples();
    ASSERT_TRUE(files.createFolders(std::string(kFolder) + "disc/VIDEO_TS"));
    jobs[0].isDvd = 1;
    jobs[0].sourcePath = "DVD_DRIVE_" + std::string(kFolder) + "disc";
    jobs[1].isDvd = 1;
    jobs[1].sourcePath = "DVD_DRIVE_" + std::string(kFolder) + "gone";
    jobs[2].isDvd = 1;
    jobs[2].sourcePath = "DVD_DRIVE_";
    ASSERT_TRUE(save(jobs));
    const OpenedProject opened = openProject(project(), files);
    EXPECT_THAT(opened.jobs, ElementsAre(jobs[0]));
    EXPECT_EQ(opened.droppedSources.size(), 2u);
}

TEST_F(ProjectFileTest, OpeningAndSavingWritesTheSameBytes) {
    const std::vector<Job> jobs = samples();
    createSources(jobs);
    ASSERT_TRUE(save(jobs));
    const Bytes first = projectBytes();
    OpenedProject opened = openProject(project(), files);
    ASSERT_TRUE(save(opened.jobs));
    EXPECT_EQ(projectBytes(), first);
    EXPECT_EQ(opened.jobs[1].reservedValue, 0x01020304);
}

TEST_F(ProjectFileTest, AFileThatCannotBeOpenedIsNotDamaged) {
    ASSERT_TRUE(files.createFolders(kFolder));
    EXPECT_EQ(openProject(std::string(kFolder) + "missing.vpt", files).result,
              OpenedProject::Result::CannotRead);
    const OpenedProject folderAsFile = openProject(kFolder, files);
    EXPECT_EQ(folderAsFile.result, OpenedProject::Result::CannotRead);
    EXPECT_THAT(folderAsFile.detail.message(), HasSubstr(kFolder));
}

// Damage the reader must refuse as a whole, each with a message saying what
// is wrong, without taking memory for what the file only claims to hold.
TEST_F(ProjectFileTest, DamagedFilesAreRefusedWithAMessage) {
    const Bytes good = handRecord(FileBytes().i32(1)).bytes();
    const auto with = [&](std::size_t offset, std::initializer_list<std::uint8_t> bytes) {
        Bytes changed = good;
        std::copy(bytes.begin(), bytes.end(),
                  changed.begin() + static_cast<std::ptrdiff_t>(offset));
        return changed;
    };
    // Offsets in handRecord: the source path's prefix is at 118, the length
    // double at 143, the picture width at 155, the source kind at 163, the
    // profile at 191.
    ASSERT_EQ(good[118], 8);
    ASSERT_EQ(good[150], 0x40);
    ASSERT_EQ(good[156], 640 >> 8);
    ASSERT_EQ(good[163], 1);
    ASSERT_EQ(good[191], 4);
    const struct {
        const char* what;
        Bytes bytes;
        const char* message;
    } cases[] = {
        {"a count of 2^31 - 1", with(0, {0xFF, 0xFF, 0xFF, 0x7F}), "promises 2147483647 Jobs"},
        {"a negative count", with(0, {0x00, 0x00, 0x00, 0x80}), "Job count"},
        {"a count of two", with(0, {0x02}), "ends inside the Video disabled setting of Job 2 of 2"},
        {"a count of three", with(0, {0x03}), "promises 3 Jobs"},
        {"a path running past the end", with(118, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F}),
         "ends inside the source path of Job 1 of 1"},
        {"16-bit text", with(118, {0xFF, 0xFE, 0xFF}), "16-bit text"},
        {"a NUL in the path", with(121, {0x00}), "source path"},
        {"a length that is not a number", with(143, {0, 0, 0, 0, 0, 0, 0xF8, 0x7F}), "length"},
        {"a negative length", with(150, {0xC0}), "length"},
        {"a negative width", with(155, {0xFF, 0xFF, 0xFF, 0xFF}), "picture width"},
        {"a source kind of 3", with(163, {0x03}), "source kind"},
        {"profile 5", with(191, {0x05}), "profile"},
        {"bytes after the last Job",
         FileBytes().raw(std::string(good.begin(), good.end())).raw({0}).bytes(),
         "after the last Job"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<Job> jobs = {handJob()};
        const testing::AllocationMeter meter;
        const Status status = decodeProject(c.bytes, jobs);
        EXPECT_LT(meter.bytes(), 1024u);
        ASSERT_FALSE(status);
        EXPECT_THAT(status.message(), HasSubstr(c.message));
        EXPECT_THAT(jobs, ElementsAre(handJob()));
    }
}

TEST_F(ProjectFileTest, ADamagedFileOnDiskIsNamedInTheMessage) {
    writeProject({0x05, 0x00, 0x00, 0x00, 0x02, 'n', 'o'});
    const OpenedProject opened = openProject(project(), files);
    EXPECT_EQ(opened.result, OpenedProject::Result::Damaged);
    EXPECT_THAT(opened.detail.message(), HasSubstr("\"" + project() + "\" is damaged"));
    EXPECT_TRUE(opened.jobs.empty());
}

}  // namespace
}  // namespace pelorine
