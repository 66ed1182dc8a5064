#include "settings/Settings.h"

#include <gtest/gtest.h>

#include <random>

#include "app/SingleInstance.h"
#include "conversion/JobsAtOnce.h"
#include "settings/IniFile.h"
#include "settings/JobsAtOnceSetting.h"
#include "support/MemoryFileSystem.h"
#include "support/TestSupport.h"

namespace pelorine {
namespace {

using testing::TempFolder;

class SettingsTest : public ::testing::Test {
protected:
    static constexpr const char* kFile = "/home/me/.config/pelorine/zelvic.ini";

    std::unique_ptr<Settings> load() {
        auto settings = std::make_unique<Settings>(files, kFile, "/home/me/Videos/PSP");
        settings->load();
        return settings;
    }
    void store(const std::string& content) { files.put(kFile, content); }
    std::string stored() const { return files.text(kFile); }

    testing::MemoryFileSystem files;
};

TEST_F(SettingsTest, FirstStartWritesTheDefaults) {
    const auto settings = load();
    EXPECT_EQ(settings->overwritePolicy(), 1);
    EXPECT_EQ(settings->outputPath(), "/home/me/Videos/PSP");
    EXPECT_EQ(stored(), "[GENERAL]\nOverWriteType=1\nOutputPath=/home/me/Videos/PSP\n");
}

TEST_F(SettingsTest, PolicyIsReadFromItsLeadingDigitsAndWrittenBackAsANumber) {
    const std::pair<const char*, int> cases[] = {{"abc", 0}, {"3", 3},   {" 2 ", 2},
                                                 {"2x", 2},  {"-4", -4}, {"", 0}};
    for (const auto& [text, policy] : cases) {
        store(std::string("[GENERAL]\nOverWriteType=") + text + "\nOutputPath=/v\n");
        EXPECT_EQ(load()->overwritePolicy(), policy) << text;
        EXPECT_EQ(IniFile(stored()).value("GENERAL", "OverWriteType", "?"), std::to_string(policy));
    }
}

TEST_F(SettingsTest, NamesMatchWithoutRegardToCaseAndOtherLinesAreKept) {
    store(
        "; my notes\r\n[other]\r\nOutputPath=/elsewhere\r\n[general]\r\n  outputpath = \"/v/a b\" "
        "\r\n");
    const auto settings = load();
    EXPECT_EQ(settings->outputPath(), "/v/a b");
    ASSERT_TRUE(settings->setOverwritePolicy(3));
    const IniFile ini(stored());
    EXPECT_EQ(ini.value("other", "OutputPath", ""), "/elsewhere");
    EXPECT_EQ(ini.value("GENERAL", "OverWriteType", ""), "3");
    EXPECT_NE(stored().find("; my notes"), std::string::npos);
}

TEST_F(SettingsTest, PathsSurviveTheRoundTripUpTo511Bytes) {
    const auto settings = load();
    const std::string edgy = " /v/\"quoted\" with blanks ";
    ASSERT_TRUE(settings->setOutputPath(edgy));
    EXPECT_EQ(load()->outputPath(), edgy);

    // 600 bytes of two-byte characters: cut at 510, never inside a character.
    std::string longPath;
    for (int i = 0; i < 300; ++i) {
        longPath += "\xC3\xA9";
    }
    ASSERT_TRUE(settings->setOutputPath(longPath));
    EXPECT_EQ(settings->outputPath().size(), 510u);
    EXPECT_EQ(load()->outputPath(), settings->outputPath());
}

TEST_F(SettingsTest, DamagedOrBinaryFilesNeverFail) {
    std::mt19937 random(7);
    for (int round = 0; round < 200; ++round) {
        std::string garbage(random() % 3000, '\0');
        for (char& c : garbage) {
            c = static_cast<char>(random() % 256);
        }
        if (round % 3 == 0) {
            garbage += "\n[GENERAL]\nOverWriteType=2";
        }
        store(garbage);
        const auto settings = load();
        EXPECT_LE(settings->outputPath().size(), Settings::kMaxOutputPath);
        EXPECT_EQ(IniFile(stored()).value("GENERAL", "OverWriteType", "?"),
                  std::to_string(settings->overwritePolicy()));
    }
}

TEST_F(SettingsTest, AnUnwritableFileKeepsTheValuesInMemory) {
    files.put("/home/me/x", "a file where a folder should be");
    Settings blocked(files, "/home/me/x/zelvic.ini", "/v");
    EXPECT_FALSE(blocked.setOverwritePolicy(2));
    EXPECT_EQ(blocked.overwritePolicy(), 2);
}

// "Jobs at once" sits in GENERAL beside the other general settings, which
// its writes leave as they are; what is not 0 to 8 reads as Auto.
TEST_F(SettingsTest, JobsAtOnceIsStoredAloneAndReadsDamageAsAuto) {
    store("[GENERAL]\nOverWriteType=3\nOutputPath=/v\n");
    JobsAtOnceSetting setting(files, kFile);
    setting.read();
    EXPECT_EQ(setting.value(), JobsAtOnceSetting::kAuto) << "absent";
    ASSERT_TRUE(setting.set(4));
    EXPECT_EQ(stored(), "[GENERAL]\nOverWriteType=3\nOutputPath=/v\nJobsAtOnce=4\n");
    JobsAtOnceSetting again(files, kFile);
    again.read();
    EXPECT_EQ(again.value(), 4);
    ASSERT_TRUE(setting.set(0));
    EXPECT_EQ(IniFile(stored()).value("GENERAL", "JobsAtOnce", "?"), "0");
    EXPECT_EQ(load()->overwritePolicy(), 3) << "the other keys read as before";

    for (const char* text : {"8", "1"}) {
        store(std::string("[GENERAL]\nJobsAtOnce=") + text + "\n");
        again.read();
        EXPECT_EQ(again.value(), text[0] - '0') << text;
    }
    for (const char* text : {"9", "-1", "x", "", "03", "2.5", "auto", "88", "3x"}) {
        store(std::string("[GENERAL]\nJobsAtOnce=") + text + "\n");
        again.read();
        EXPECT_EQ(again.value(), JobsAtOnceSetting::kAuto) << "'" << text << "'";
    }
    // A number outside the range is stored as Auto, not as itself.
    ASSERT_TRUE(setting.set(12));
    EXPECT_EQ(setting.value(), JobsAtOnceSetting::kAuto);
    EXPECT_EQ(IniFile(stored()).value("GENERAL", "JobsAtOnce", "?"), "0");
}

// Auto: a Job per usable processor, up to 8, as far as the available memory
// holds 300 MB per Job, and never fewer than one.
TEST(JobsAtOnce, AutoFollowsTheProcessorsAsFarAsTheMemoryGoes) {
    constexpr std::uint64_t MB = 1 << 20;
    struct Case {
        int processors;
        std::optional<std::uint64_t> memory;
        int jobs;
    };
    const Case cases[] = {
        {1, 16000 * MB, 1},    {2, 16000 * MB, 2},   {4, 16000 * MB, 4},   {8, 16000 * MB, 8},
        {16, 16000 * MB, 8},   {64, 16000 * MB, 8},  {0, 16000 * MB, 1},   {8, 1200 * MB, 4},
        {8, 1199 * MB, 3},     {4, 600 * MB, 2},     {2, 100 * MB, 1},     {2, 0, 1},
        {16, std::nullopt, 8}, {3, std::nullopt, 3}, {1, std::nullopt, 1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(autoJobsAtOnce({c.processors, c.memory}), c.jobs)
            << c.processors << " processors, " << (c.memory ? *c.memory / MB : 0) << " MB";
    }

    struct Fixed final : platform::Machine {
        platform::MachineFacts facts() const override { return {6, 16000 * MB}; }
    } machine;
    EXPECT_EQ(jobsAtOnceFor(JobsAtOnceSetting::kAuto, machine), 6);
    for (int chosen = 1; chosen <= 8; ++chosen) {
        EXPECT_EQ(jobsAtOnceFor(chosen, machine), chosen) << "a chosen number is kept";
    }
}

TEST(SingleInstance, ASecondInstanceIsRefusedUntilTheFirstEnds) {
    TempFolder folder;
    InstanceCheck first = checkSingleInstance(folder.path());
    ASSERT_TRUE(first.lock);
    const InstanceCheck second = checkSingleInstance(folder.path());
    EXPECT_FALSE(second.lock);
    EXPECT_EQ(second.refusal, kOtherInstanceMessage);
    EXPECT_TRUE(second.refusal.starts_with("Pelorine is already running."));
    first.lock.reset();
    EXPECT_TRUE(checkSingleInstance(folder.path()).lock);
}

}  // namespace
}  // namespace pelorine
