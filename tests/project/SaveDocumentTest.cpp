// Saving the user's files: through a temporary file renamed over the old one,
// so that a failure midway (a full disk) or a file that cannot be replaced
// leaves the old file as it was.

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>

#include "profiles/ProfileFile.h"
#include "project/ProjectFile.h"
#include "project/SampleJobs.h"
#include "support/TestSupport.h"

namespace pelorine {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;

class SaveDocumentTest : public ::testing::Test {
protected:
    // The names in the folder, to show that no temporary file was left.
    std::vector<std::string> names() const {
        std::vector<std::string> found;
        for (const auto& entry : fs::directory_iterator(folder.path())) {
            found.push_back(entry.path().filename().string());
        }
        std::sort(found.begin(), found.end());
        return found;
    }
    static mode_t modeOf(const std::string& path) {
        struct stat info {};
        ::stat(path.c_str(), &info);
        return info.st_mode & 07777;
    }
    // A list whose file is far larger than `limit` bytes.
    static JobList bigList() {
        JobList jobs;
        for (Job& job : testing::sampleJobs("/media/" + std::string(2000, 'x') + "/")) {
            jobs.append(std::make_unique<Job>(job));
        }
        return jobs;
    }

    // In a child process: both saves must fail.
    void saveOnAFullDisk() {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{};
        limit.rlim_cur = limit.rlim_max = 1000;
        ::setrlimit(RLIMIT_FSIZE, &limit);
        ProfileRows rows;
        rows[0].options = std::string(5000, 'o');
        const bool projectFailed = !saveProject(folder.file("batch.vpt"), bigList(), files);
        const bool profileFailed = !saveProfile(folder.file("mine.profile"), rows, files);
        ::_exit(projectFailed && profileFailed ? 0 : 1);
    }

    testing::TempFolder folder;
    platform::FileSystem& files = platform::systemFileSystem();
    const std::vector<std::uint8_t> bytes{1, 2, 3};
};

TEST_F(SaveDocumentTest, ANewFileGetsTheUsualPermissions) {
    const mode_t mask = ::umask(022);
    ASSERT_TRUE(files.saveDocument(folder.file("new.vpt"), bytes));
    ::umask(mask);
    EXPECT_EQ(modeOf(folder.file("new.vpt")), 0644u);
    EXPECT_EQ(folder.read("new.vpt"), "\x01\x02\x03");
}

TEST_F(SaveDocumentTest, AReplacedFileKeepsItsPermissions) {
    folder.write("old.vpt", "old");
    fs::permissions(folder.file("old.vpt"), fs::perms(0640));
    ASSERT_TRUE(files.saveDocument(folder.file("old.vpt"), bytes));
    EXPECT_EQ(modeOf(folder.file("old.vpt")), 0640u);
    EXPECT_EQ(folder.read("old.vpt"), "\x01\x02\x03");
    EXPECT_EQ(names(), std::vector<std::string>{"old.vpt"});
}

TEST_F(SaveDocumentTest, ALinkStaysALinkToTheSavedFile) {
    fs::create_directory(folder.file("real"));
    folder.write("real/batch.vpt", "old");
    fs::create_symlink(folder.file("real/batch.vpt"), folder.file("link.vpt"));
    ASSERT_TRUE(files.saveDocument(folder.file("link.vpt"), bytes));
    EXPECT_TRUE(fs::is_symlink(folder.file("link.vpt")));
    EXPECT_EQ(folder.read("real/batch.vpt"), "\x01\x02\x03");
}

TEST_F(SaveDocumentTest, AFileThatCannotBeReplacedIsLeftAsItWas) {
    // A folder in the file's place: the rename over it fails.
    fs::create_directories(folder.file("batch.vpt/inside"));
    const Status status = saveProject(folder.file("batch.vpt"), bigList(), files);
    ASSERT_FALSE(status);
    EXPECT_THAT(status.message(), HasSubstr("batch.vpt"));
    EXPECT_TRUE(fs::is_directory(folder.file("batch.vpt/inside")));
    EXPECT_EQ(names(), std::vector<std::string>{"batch.vpt"});
}

TEST_F(SaveDocumentTest, AFolderThatIsNotThereIsAnError) {
    const Status status = saveProfile(folder.file("none/mine.profile"), ProfileRows{}, files);
    ASSERT_FALSE(status);
    EXPECT_THAT(status.message(), HasSubstr("none/mine.profile"));
}

// A disk that fills up while the file is written: the old file stays whole.
// The file-size limit of a child process plays the full disk, even for root.
TEST_F(SaveDocumentTest, AFullDiskLeavesTheOldFileWhole) {
    folder.write("batch.vpt", "the old project");
    folder.write("mine.profile", "the old profile");
    EXPECT_EXIT(saveOnAFullDisk(), ::testing::ExitedWithCode(0), "");
    EXPECT_EQ(folder.read("batch.vpt"), "the old project");
    EXPECT_EQ(folder.read("mine.profile"), "the old profile");
    EXPECT_EQ(names(), (std::vector<std::string>{"batch.vpt", "mine.profile"}));
}

}  // namespace
}  // namespace pelorine
