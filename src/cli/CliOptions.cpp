#include "cli/CliOptions.h"

#include <array>
#include <string_view>

#include "settings/JobsAtOnceSetting.h"
#include "settings/TrackSettings.h"

namespace pelorine::cli {
namespace {

struct VerbName {
    std::string_view name;
    Verb verb;
};

constexpr std::array<VerbName, 5> kVerbs = {{{"convert", Verb::Convert},
                                             {"run", Verb::Run},
                                             {"commands", Verb::Commands},
                                             {"info", Verb::Info},
                                             {"help", Verb::Help}}};

enum class Option { Profile, Output, Overwrite, Audio, Subtitles, CodePage, Jobs };

struct OptionName {
    std::string_view longName;
    std::string_view shortName;
    Option option;
};

constexpr std::array<OptionName, 7> kOptions = {{{"--profile", "-p", Option::Profile},
                                                 {"--output", "-o", Option::Output},
                                                 {"--overwrite", "-w", Option::Overwrite},
                                                 {"--audio", "--audio", Option::Audio},
                                                 {"--subtitles", "--subtitles", Option::Subtitles},
                                                 {"--subcp", "--subcp", Option::CodePage},
                                                 {"--jobs", "-j", Option::Jobs}}};

// Options without a value, and the commands they apply to.
struct FlagName {
    std::string_view name;
    bool CliOptions::*field;
    bool forConvert;  // also for convert; run takes every one
};

constexpr std::array<FlagName, 2> kFlags = {{{"--send-to-psp", &CliOptions::sendToHandheld, true},
                                             {"--resume", &CliOptions::resume, false}}};

bool applies(Option option, Verb verb) {
    switch (option) {
        case Option::Profile:
        case Option::Audio:
        case Option::Subtitles:
        case Option::CodePage:
            return verb == Verb::Convert;
        case Option::Output:
            return verb == Verb::Convert || verb == Verb::Run || verb == Verb::Commands;
        case Option::Overwrite:
        case Option::Jobs:
            return verb == Verb::Convert || verb == Verb::Run;
    }
    return false;
}

std::optional<OverwriteChoice> overwriteChoice(std::string_view text) {
    if (text == "ask") {
        return OverwriteChoice::Ask;
    }
    if (text == "skip") {
        return OverwriteChoice::Skip;
    }
    if (text == "replace") {
        return OverwriteChoice::Replace;
    }
    return std::nullopt;
}

// "auto" (0) or 1 to 8.
std::optional<int> jobsAtOnce(std::string_view text) {
    if (text == "auto") {
        return JobsAtOnceSetting::kAuto;
    }
    const auto number = jobsAtOnceNamed(text);
    return number && *number >= 1 ? number : std::nullopt;
}

class Parser {
public:
    explicit Parser(const std::vector<std::string>& arguments) : arguments_(arguments) {}

    ParsedCommandLine parse() {
        for (const std::string& argument : arguments_) {
            if (argument == "--") {
                break;
            }
            if (argument == "--help" || argument == "-h") {
                return done(Verb::Help);
            }
            if (argument == "--version") {
                return done(Verb::Version);
            }
        }
        if (arguments_.empty()) {
            return fail("missing command");
        }
        const std::string& first = arguments_[0];
        for (const VerbName& verb : kVerbs) {
            if (first == verb.name) {
                options_.verb = verb.verb;
                return parseRest();
            }
        }
        if (first.starts_with("-")) {
            return fail("the command comes first, before '" + first + "'");
        }
        return fail("unknown command '" + first + "'");
    }

private:
    ParsedCommandLine done(Verb verb) {
        options_.verb = verb;
        return ParsedCommandLine{options_, {}};
    }
    static ParsedCommandLine fail(std::string error) { return ParsedCommandLine{{}, error}; }

    ParsedCommandLine parseRest() {
        bool filesOnly = false;
        for (index_ = 1; index_ < arguments_.size(); ++index_) {
            const std::string& argument = arguments_[index_];
            if (filesOnly || argument == "-" || !argument.starts_with("-")) {
                options_.files.push_back(argument);
            } else if (argument == "--") {
                filesOnly = true;
            } else if (std::string error = takeOption(argument); !error.empty()) {
                return fail(error);
            }
        }
        if (std::string error = checkFiles(); !error.empty()) {
            return fail(error);
        }
        return ParsedCommandLine{options_, {}};
    }

    // One option and its value; an error line, or empty.
    std::string takeOption(const std::string& argument) {
        const auto equals = argument.find('=');
        const std::string name = argument.substr(0, equals);
        for (const FlagName& flag : kFlags) {
            if (name != flag.name) {
                continue;
            }
            if (options_.verb != Verb::Run &&
                !(flag.forConvert && options_.verb == Verb::Convert)) {
                return "option '" + name + "' does not apply to '" + arguments_[0] + "'";
            }
            if (equals != std::string::npos) {
                return "option '" + name + "' doesn't allow an argument";
            }
            options_.*flag.field = true;
            return {};
        }
        for (const OptionName& option : kOptions) {
            if (name != option.longName && name != option.shortName) {
                continue;
            }
            if (!applies(option.option, options_.verb)) {
                return "option '" + std::string(option.longName) + "' does not apply to '" +
                       arguments_[0] + "'";
            }
            std::string value;
            if (equals != std::string::npos) {
                value = argument.substr(equals + 1);
            } else if (index_ + 1 < arguments_.size()) {
                value = arguments_[++index_];
            } else {
                return "option '" + std::string(option.longName) + "' requires an argument";
            }
            return store(option, value);
        }
        return "unrecognized option '" + argument + "'";
    }

    std::string store(const OptionName& option, const std::string& value) {
        if (value.empty()) {
            return "option '" + std::string(option.longName) + "' requires an argument";
        }
        switch (option.option) {
            case Option::Profile:
                options_.profile = value;
                break;
            case Option::Output:
                options_.outputFolder = value;
                break;
            case Option::Audio:
                options_.audio = value;
                break;
            case Option::Subtitles:
                options_.subtitles = value;
                break;
            case Option::CodePage:
                if (!usableCodePageName(value)) {
                    return "invalid argument '" + value +
                           "' for '--subcp' (a code page name has no blanks or quotes)";
                }
                options_.subtitleCodePage = value;
                break;
            case Option::Jobs:
                options_.jobsAtOnce = jobsAtOnce(value);
                if (!options_.jobsAtOnce) {
                    return "invalid argument '" + value +
                           "' for '--jobs' (valid arguments: 1 to 8, auto)";
                }
                break;
            case Option::Overwrite:
                options_.overwrite = overwriteChoice(value);
                if (!options_.overwrite) {
                    return "invalid argument '" + value +
                           "' for '--overwrite' (valid arguments: ask, skip, replace)";
                }
                break;
        }
        return {};
    }

    std::string checkFiles() const {
        const std::size_t count = options_.files.size();
        switch (options_.verb) {
            case Verb::Convert:
            case Verb::Info:
                return count == 0 ? "'" + arguments_[0] + "' needs at least one file" : "";
            case Verb::Run:
            case Verb::Commands:
                if (count != 1) {
                    return "'" + arguments_[0] + "' takes one project file (.vpt), not " +
                           std::to_string(count);
                }
                return "";
            case Verb::Help:
            case Verb::Version:
                return "";
        }
        return "";
    }

    const std::vector<std::string>& arguments_;
    std::size_t index_ = 0;
    CliOptions options_;
};

}  // namespace

ParsedCommandLine parseCommandLine(const std::vector<std::string>& arguments) {
    return Parser(arguments).parse();
}

}  // namespace pelorine::cli
