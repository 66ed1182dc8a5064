// The command line of pelorine-cli: commands, options in their usual forms,
// and one clear line for each mistake.

#include "cli/CliOptions.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace pelorine::cli {
namespace {

using ::testing::ElementsAre;

ParsedCommandLine parse(std::vector<std::string> arguments) {
    return parseCommandLine(arguments);
}

TEST(CliOptions, ConvertWithEveryOptionInEveryForm) {
    const auto spaced = parse({"convert", "--profile", "mp3", "--output", "/out", "--overwrite",
                               "skip", "a.avi", "b c.mkv"});
    ASSERT_TRUE(spaced.options) << spaced.error;
    EXPECT_EQ(spaced.options->verb, Verb::Convert);
    EXPECT_EQ(spaced.options->profile, "mp3");
    EXPECT_EQ(spaced.options->outputFolder, "/out");
    EXPECT_EQ(spaced.options->overwrite, OverwriteChoice::Skip);
    EXPECT_THAT(spaced.options->files, ElementsAre("a.avi", "b c.mkv"));

    const auto joined =
        parse({"convert", "a.avi", "--profile=2", "-o", "/out", "-w", "replace", "b.avi"});
    ASSERT_TRUE(joined.options) << joined.error;
    EXPECT_EQ(joined.options->profile, "2");
    EXPECT_EQ(joined.options->overwrite, OverwriteChoice::Replace);
    EXPECT_THAT(joined.options->files, ElementsAre("a.avi", "b.avi"));
}

// -j takes 1 to 8 or auto (0) in every form; without it the window's setting holds.
TEST(CliOptions, JobsAtOnceInEveryForm) {
    const struct {
        std::vector<std::string> arguments;
        std::optional<int> jobs;
    } cases[] = {
        {{"convert", "-j", "2", "a.avi"}, 2},        {{"convert", "a.avi", "--jobs", "8"}, 8},
        {{"run", "--jobs=1", "b.vpt"}, 1},           {{"run", "b.vpt", "-j=auto"}, 0},
        {{"convert", "--jobs", "auto", "a.avi"}, 0}, {{"convert", "a.avi"}, std::nullopt},
    };
    for (const auto& c : cases) {
        const ParsedCommandLine parsed = parse(c.arguments);
        ASSERT_TRUE(parsed.options) << parsed.error;
        EXPECT_EQ(parsed.options->jobsAtOnce, c.jobs) << c.arguments[1];
        EXPECT_EQ(parsed.options->files.size(), 1u) << "the value is not taken as a file";
    }
}

TEST(CliOptions, FilesThatLookLikeOptionsFollowTwoDashes) {
    const auto parsed = parse({"info", "--", "-odd.avi", "--help"});
    ASSERT_TRUE(parsed.options) << parsed.error;
    EXPECT_EQ(parsed.options->verb, Verb::Info);
    EXPECT_THAT(parsed.options->files, ElementsAre("-odd.avi", "--help"));
}

TEST(CliOptions, HelpAndVersionWinOverEverythingElse) {
    EXPECT_EQ(parse({"convert", "--bogus", "--help"}).options->verb, Verb::Help);
    EXPECT_EQ(parse({"-h"}).options->verb, Verb::Help);
    EXPECT_EQ(parse({"help"}).options->verb, Verb::Help);
    EXPECT_EQ(parse({"--version"}).options->verb, Verb::Version);
}

TEST(CliOptions, RunAndCommandsTakeOneProject) {
    const auto run = parse({"run", "-w", "ask", "batch.vpt"});
    ASSERT_TRUE(run.options) << run.error;
    EXPECT_EQ(run.options->verb, Verb::Run);
    EXPECT_EQ(run.options->overwrite, OverwriteChoice::Ask);
    EXPECT_THAT(run.options->files, ElementsAre("batch.vpt"));
    EXPECT_EQ(parse({"commands", "--output=/o", "b.vpt"}).options->outputFolder, "/o");
    EXPECT_FALSE(run.options->resume);
    const auto resumed = parse({"run", "batch.vpt", "--resume", "--send-to-psp"});
    ASSERT_TRUE(resumed.options) << resumed.error;
    EXPECT_TRUE(resumed.options->resume);
    EXPECT_TRUE(resumed.options->sendToHandheld);
}

TEST(CliOptions, EachMistakeIsOneClearLine) {
    const struct {
        std::vector<std::string> arguments;
        const char* error;
    } cases[] = {
        {{}, "missing command"},
        {{"transcode", "a.avi"}, "unknown command 'transcode'"},
        {{"-o", "/out", "convert", "a.avi"}, "the command comes first, before '-o'"},
        {{"convert"}, "'convert' needs at least one file"},
        {{"info"}, "'info' needs at least one file"},
        {{"run"}, "'run' takes one project file (.vpt), not 0"},
        {{"commands", "a.vpt", "b.vpt"}, "'commands' takes one project file (.vpt), not 2"},
        {{"convert", "--fast", "a.avi"}, "unrecognized option '--fast'"},
        {{"convert", "a.avi", "--profile"}, "option '--profile' requires an argument"},
        {{"convert", "--output=", "a.avi"}, "option '--output' requires an argument"},
        {{"convert", "-w", "never", "a.avi"},
         "invalid argument 'never' for '--overwrite' (valid arguments: ask, skip, replace)"},
        {{"run", "--profile", "mp3", "b.vpt"}, "option '--profile' does not apply to 'run'"},
        {{"commands", "-w", "skip", "b.vpt"}, "option '--overwrite' does not apply to 'commands'"},
        {{"info", "-o", "/out", "a.avi"}, "option '--output' does not apply to 'info'"},
        {{"commands", "--send-to-psp", "b.vpt"},
         "option '--send-to-psp' does not apply to 'commands'"},
        {{"convert", "--send-to-psp=yes", "a.avi"},
         "option '--send-to-psp' doesn't allow an argument"},
        {{"convert", "--resume", "a.avi"}, "option '--resume' does not apply to 'convert'"},
        {{"commands", "--resume", "b.vpt"}, "option '--resume' does not apply to 'commands'"},
        {{"run", "--resume=yes", "b.vpt"}, "option '--resume' doesn't allow an argument"},
        {{"convert", "--subcp", "CP 1250", "a.avi"},
         "invalid argument 'CP 1250' for '--subcp' (a code page name has no blanks or quotes)"},
        {{"convert", "--subcp='CP1250'", "a.avi"},
         "invalid argument ''CP1250'' for '--subcp' (a code page name has no blanks or quotes)"},
        {{"run", "--subcp=CP1250", "b.vpt"}, "option '--subcp' does not apply to 'run'"},
        {{"convert", "--jobs=0", "a.avi"},
         "invalid argument '0' for '--jobs' (valid arguments: 1 to 8, auto)"},
        {{"run", "--jobs=9", "b.vpt"},
         "invalid argument '9' for '--jobs' (valid arguments: 1 to 8, auto)"},
        {{"convert", "-j", "x", "a.avi"},
         "invalid argument 'x' for '--jobs' (valid arguments: 1 to 8, auto)"},
        {{"convert", "-j", "Auto", "a.avi"},
         "invalid argument 'Auto' for '--jobs' (valid arguments: 1 to 8, auto)"},
        {{"convert", "a.avi", "--jobs"}, "option '--jobs' requires an argument"},
        {{"commands", "-j", "2", "b.vpt"}, "option '--jobs' does not apply to 'commands'"},
        {{"info", "--jobs=2", "a.avi"}, "option '--jobs' does not apply to 'info'"},
    };
    for (const auto& c : cases) {
        const ParsedCommandLine parsed = parse(c.arguments);
        EXPECT_FALSE(parsed.options) << c.error;
        EXPECT_EQ(parsed.error, c.error);
    }
}

}  // namespace
}  // namespace pelorine::cli
