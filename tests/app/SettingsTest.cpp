#include "settings/Settings.h"

#include <gtest/gtest.h>

#include <random>

#include "app/SingleInstance.h"
#include "settings/IniFile.h"
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
