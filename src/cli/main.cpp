// pelorine-cli: the converter without a window. The same engine, batch run
// and command-line composer as the window; its output goes to a terminal, a
// log or a script.

#include <iostream>
#include <string>
#include <vector>

#include "cli/CliHelp.h"
#include "cli/CliOptions.h"
#include "cli/CliProgram.h"
#include "engine/Engine.h"
#include "platform/Console.h"
#include "platform/FileSystem.h"
#include "platform/LargeFiles.h"
#include "platform/Machine.h"
#include "platform/MountTable.h"
#include "platform/PowerControl.h"
#include "platform/Processes.h"
#include "platform/SystemPaths.h"
#include "settings/Settings.h"

namespace {

using namespace pelorine;

// The overwrite question, answered on the terminal; without one it cannot be
// asked, and the file is kept.
bool askOnTerminal(cli::ConsoleWriter& console, const std::string& question) {
    if (!platform::isTerminal(platform::ConsoleStream::Input)) {
        console.note(std::string(cli::kProgramName) + ": " + question +
                     " Not asked (no terminal): kept.");
        return false;
    }
    std::cerr << question << " [y/N] " << std::flush;
    std::string answer;
    if (!std::getline(std::cin, answer)) {
        return false;
    }
    return answer == "y" || answer == "Y" || answer == "yes";
}

}  // namespace

int main(int argc, char** argv) {
    cli::StopRelay stops;
    cli::ConsoleWriter console(
        std::cout, std::cerr, platform::isTerminal(platform::ConsoleStream::Error),
        static_cast<std::size_t>(
            platform::terminalWidth(platform::ConsoleStream::Error).value_or(80)));
    // First, before any thread or engine starts: see InterruptWatch.
    const platform::InterruptWatch interrupts([&](int count) {
        stops.stop();
        console.note(std::string(cli::kProgramName) +
                     (count == 1 ? ": stopping: the engine finishes a shorter file that plays"
                                 : ": still stopping; an engine that does not obey is ended soon"));
    });

    const cli::ParsedCommandLine parsed =
        cli::parseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    if (!parsed.options) {
        std::cerr << cli::kProgramName << ": " << parsed.error << '\n' << cli::usageHint() << '\n';
        return 2;
    }
    if (parsed.options->verb == cli::Verb::Help) {
        std::cout << cli::helpText();
        return 0;
    }
    if (parsed.options->verb == cli::Verb::Version) {
        std::cout << cli::versionText();
        return 0;
    }

    platform::FileSystem& files = platform::systemFileSystem();
    const auto paths = platform::makeLinuxSystemPaths(platform::currentEnvironment());
    Settings settings(files, paths->settingsFilePath(), paths->defaultOutputFolder());
    settings.read();  // the window's settings; the command line never writes them
    Engine engine(platform::systemProcessLauncher(), platform::systemProcessList(), *paths, files);
    engine.sweepStaleRuns();
    cli::CliProgram program({engine, files, platform::systemPowerControl(), settings,
                             platform::systemLargeFiles(), platform::systemMountTable(),
                             platform::systemMachine(), platform::handheldOverrideFolder()},
                            console, stops, [&](const std::string& question) {
                                return askOnTerminal(console, question);
                            });
    return program.run(*parsed.options);
}
