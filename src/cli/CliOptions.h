#pragma once
// The command line of pelorine-cli: a command, its options and its files.
// Options follow the usual conventions: long options as "--name value" or
// "--name=value", the short forms "-p", "-o", "-w" and "-j", options anywhere
// after the command, and "--" before files whose names begin with "-".

#include <optional>
#include <string>
#include <vector>

namespace pelorine::cli {

enum class Verb { Convert, Run, Commands, Info, Help, Version };

// What to do when an output file is there already; nullopt keeps the
// setting of the window ("Output File Overwrite...").
enum class OverwriteChoice { Ask, Skip, Replace };

struct CliOptions {
    Verb verb = Verb::Help;
    std::optional<std::string> profile;  // "--profile": a number, a name or a .profile file
    std::optional<std::string> outputFolder;
    std::optional<OverwriteChoice> overwrite;
    // "--audio" (ID or language) and "--subtitles" (ID, language, file or
    // "none"); absent: the window's sound and subtitle defaults.
    std::optional<std::string> audio;
    std::optional<std::string> subtitles;
    // "--subcp": the code page of a subtitle file; absent: the window's.
    std::optional<std::string> subtitleCodePage;
    // "--jobs": how many Jobs convert at once, 1 to 8, or 0 for Auto;
    // absent: the window's "Jobs at once".
    std::optional<int> jobsAtOnce;
    bool sendToHandheld = false;     // "--send-to-psp": copy what was converted to the memory stick
    bool resume = false;             // "--resume" (run): only the Jobs whose outputs are not there
    std::vector<std::string> files;  // sources (convert, info) or the project (run, commands)
};

struct ParsedCommandLine {
    std::optional<CliOptions> options;
    std::string error;  // one line saying what is wrong, when `options` is empty
};

// `arguments` without the program name.
ParsedCommandLine parseCommandLine(const std::vector<std::string>& arguments);

}  // namespace pelorine::cli
