// Save Project, Open Project and a project given on the command line, driven
// through the window's commands with a scripted window.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/Commands.h"
#include "project/ProjectFile.h"
#include "project/SampleJobs.h"
#include "support/ScriptedWindow.h"

namespace pelorine {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;
using ::testing::StartsWith;

class ProjectCommandsTest : public testing::ControllerFixture {
protected:
    // The three sample Jobs in the list, their sources on disk.
    void addSamples() {
        for (const Job& job : testing::sampleJobs(folder.path())) {
            std::ofstream(job.sourcePath) << "length=100";
            controller.jobs().append(std::make_unique<Job>(job));
        }
    }
    std::vector<Job> jobs() {
        std::vector<Job> all;
        for (std::size_t i = 0; i < controller.jobs().count(); ++i) {
            all.push_back(controller.jobs().job(i));
        }
        return all;
    }
    std::vector<std::string> ids() const {
        std::vector<std::string> numbers;
        for (const auto& row : window.rows) {
            numbers.push_back(row.at(kIdColumn));
        }
        return numbers;
    }
    void save(const std::string& name) {
        window.fileChoice = folder.file(name);
        controller.handleCommand(command::kSaveProject, window.at());
    }
    void open(const std::string& name) {
        window.fileChoice = folder.file(name);
        controller.handleCommand(command::kOpenProject, window.at());
    }
    std::string project() const { return folder.file("batch.vpt"); }
};

TEST_F(ProjectCommandsTest, SavedAndOpenedAgainEveryJobAndRowComesBack) {
    addSamples();
    const std::vector<Job> before = jobs();
    const auto rowsBefore = window.rows;
    save("batch.vpt");
    EXPECT_THAT(window.log.events(),
                ElementsAre("focus", "save dialog Project Files(*.vpt)|*.vpt|| .vpt",
                            "box Project saved!"));
    window.confirmAnswer = true;  // New project asks before it empties the list
    controller.handleCommand(command::kNewProject, window.at());
    ASSERT_TRUE(window.rows.empty());
    // The output folder setting changes meanwhile: the outputs stay as saved.
    settings.setOutputPath(folder.file("elsewhere"));
    window.clear();
    window.profile = 3;
    open("batch.vpt");
    // The old list went, and with it the Job the grid showed.
    EXPECT_THAT(window.log.events(), ElementsAre("focus", "open dialog Project Files|*.vpt|| .vpt",
                                                 "clip 0.000000 0.000000 of 0.000000"));
    EXPECT_EQ(jobs(), before);
    EXPECT_EQ(window.rows, rowsBefore);
    EXPECT_EQ(window.profile, 3) << "the profile box is left alone";
}

TEST_F(ProjectCommandsTest, JobsWhoseSourceIsGoneAreLeftOutAndTheRowsCloseUp) {
    addSamples();
    save("batch.vpt");
    std::filesystem::remove(controller.jobs().job(1).sourcePath);
    open("batch.vpt");
    ASSERT_EQ(controller.jobs().count(), 2u);
    EXPECT_EQ(controller.jobs().job(1).sourcePath,
              testing::sampleJobs(folder.path())[2].sourcePath);
    EXPECT_THAT(ids(), ElementsAre("1", "2"));
}

// The list is only replaced once the whole file has been read: a damaged or
// unreadable file leaves it as it was.
TEST_F(ProjectCommandsTest, AFileThatCannotBeUsedLeavesTheListAsItWas) {
    addSamples();
    save("batch.vpt");
    std::string content = folder.read("batch.vpt");
    folder.write("cut.vpt", content.substr(0, content.size() - 5));
    folder.write("empty.vpt", "");
    const std::vector<Job> before = jobs();
    const auto rowsBefore = window.rows;
    const struct {
        const char* file;
        const char* message;
    } cases[] = {
        {"cut.vpt", "box Command failed.\n\nThe project file"},
        {"empty.vpt", "box Command failed.\n\nThe project file"},
        {"missing.vpt", "box Failed!\n\nCannot open the project file"},
        {"", "box Failed!\n\nCannot open the project file"},  // the folder itself
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        window.clear();
        open(c.file);
        EXPECT_THAT(window.log.events(), Contains(StartsWith(c.message)));
        EXPECT_EQ(jobs(), before);
        EXPECT_EQ(window.rows, rowsBefore);
    }
}

TEST_F(ProjectCommandsTest, AFailedSaveSaysSoAndKeepsTheOldFile) {
    addSamples();
    std::filesystem::create_directories(folder.file("batch.vpt/inside"));
    save("batch.vpt");
    EXPECT_THAT(window.log.events(), Contains(StartsWith("box Failed!\n\nCannot replace")));
    EXPECT_THAT(window.log.events(), Not(Contains("box Project saved!")));
    EXPECT_TRUE(std::filesystem::is_directory(folder.file("batch.vpt/inside")));
}

TEST_F(ProjectCommandsTest, CancelledDialogsDoNothing) {
    addSamples();
    window.fileChoice.reset();
    controller.handleCommand(command::kSaveProject, window.at());
    controller.handleCommand(command::kOpenProject, window.at());
    EXPECT_EQ(controller.jobs().count(), 3u);
    EXPECT_FALSE(std::filesystem::exists(project()));
    EXPECT_THAT(window.log.events(), Not(Contains(StartsWith("box"))));
}

TEST_F(ProjectCommandsTest, OpeningIsRefusedWhileConvertingSavingIsNot) {
    addSamples();
    save("batch.vpt");
    pretendConverting();
    window.clear();
    open("batch.vpt");
    EXPECT_THAT(window.log.events(), ElementsAre("focus", std::string("box ") + kGuardMessage));
    controller.openFile(project(), window.at());
    EXPECT_EQ(controller.jobs().count(), 3u);
    window.clear();
    save("again.vpt");
    EXPECT_THAT(window.log.events(), Contains("box Project saved!"));
    endPretending();
}

TEST_F(ProjectCommandsTest, AProjectGivenOnTheCommandLineIsOpened) {
    addSamples();
    save("batch.vpt");
    controller.jobs().clear();
    controller.openFile(project(), window.at());
    EXPECT_EQ(controller.jobs().count(), 3u);
    EXPECT_THAT(ids(), ElementsAre("1", "2", "3"));
}

// A file manager hands over whatever the user opened with the program.
TEST_F(ProjectCommandsTest, FilesGivenOnTheCommandLineAreOpenedByTheirKind) {
    addSamples();
    save("batch.vpt");
    controller.jobs().clear();
    window.clear();
    std::ofstream(folder.file("holiday.AVI")) << "length=100";
    controller.openFiles({project(), folder.file("holiday.AVI")}, window.at());
    EXPECT_EQ(controller.jobs().count(), 4u);
    EXPECT_EQ(controller.jobs().job(3).sourcePath, folder.file("holiday.AVI"));
    EXPECT_THAT(window.log.events(), Not(Contains(StartsWith("box"))));
}

}  // namespace
}  // namespace pelorine
