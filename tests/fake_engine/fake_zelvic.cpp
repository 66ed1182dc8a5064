// A stand-in for the engine in the converter's tests. It records each command
// line it is started with and speaks the channel files like the engine:
//   identify: the source is a text file "length=S width=W height=H"; the info
//     record gets those values, and "audio=A,B" and "subtitles=C,D" the
//     languages of sound and subtitle tracks 0, 1, ... A missing source writes
//     no record (exit 2).
//   encode (-o): writes the output as such a text file, its length the numeric
//     -endpos, or FAKE_ZELVIC_PART_LENGTH for a size or time text, or 10; it
//     reports progress (step n: n seconds) and ends early on quit (exit 4);
//     done, its last record is where its output ends (-ss plus its length).
//     Like the engine it writes to the partial name beside the output and
//     renames it at the end: to the output when done, to the stopped name of
//     its final position after quit, which it reports as its last record. A
//     missing source ends it with status 2; a source that says "fail" with
//     status 3 and no output, printing "failed: <reason>" when the source
//     holds "why=<reason>" (to its line's end); one that says "hold" keeps reporting progress
//     until quit; one that says "deaf" holds and never heeds quit; one that
//     says "runfor=S" holds for S seconds and then ends as done; one that
//     says "until=<path>" holds until that file is there, then ends done.
//   otherwise (play): a missing source ends it with status 2, one that says
//     "fail" with status 3, each after a "failed: ..." line in its log. Else
//     it reports the position -ss + 1 and waits until the control file says
//     quit (at most 30 s); a source that says "deaf", or -hold, makes it
//     ignore the control file and just wait 30 s.
// FAKE_ZELVIC_LOG names the file the command lines are appended to, one per
// line, arguments separated by the unit separator 0x1F. FAKE_ZELVIC_EVENTS
// names a file each encode run appends "start <output>" to as it begins and
// "end <output>" to as it ends, so that tests see which runs overlapped.

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/FileSystem.h"
#include "records/ChannelFiles.h"
#include "records/ExitStatus.h"
#include "records/MediaInfo.h"
#include "records/OutputFiles.h"

namespace {

using namespace pelorine;

const std::set<std::string> kOptionsWithValue = {"-currentfolder",
                                                 "-o",
                                                 "-thumbnail",
                                                 "-ss",
                                                 "-endpos",
                                                 "-vf",
                                                 "-af",
                                                 "-srate",
                                                 "-ofps",
                                                 "-ovc",
                                                 "-oac",
                                                 "-lavcopts",
                                                 "-lameopts",
                                                 "-of",
                                                 "-lavfopts",
                                                 "-ffourcc",
                                                 "-dvd-device",
                                                 "-chapter",
                                                 "-aid",
                                                 "-sid",
                                                 "-sub",
                                                 "-subcp",
                                                 "-vo",
                                                 "-ao",
                                                 "-wid",
                                                 "-colorkey",
                                                 "-priority",
                                                 "-autosync",
                                                 "-mc",
                                                 "-cdrom-device"};

struct Arguments {
    std::string source, folder, output, endpos, start, thumbnail;
    bool identify = false;
    bool hold = false;
};

Arguments parse(int argc, char** argv) {
    Arguments args;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = kOptionsWithValue.count(arg) && i + 1 < argc;
        const std::string value = hasValue ? argv[i + 1] : "";
        if (arg == "-identify") {
            args.identify = true;
        } else if (arg == "-hold") {
            args.hold = true;
        } else if (arg == "-currentfolder") {
            args.folder = value;
        } else if (arg == "-o") {
            args.output = value;
        } else if (arg == "-thumbnail") {
            args.thumbnail = value;
        } else if (arg == "-endpos") {
            args.endpos = value;
        } else if (arg == "-ss") {
            args.start = value;
        } else if (arg.empty() || arg[0] != '-') {
            args.source = arg;
        }
        i += hasValue ? 1 : 0;
    }
    return args;
}

void record(int argc, char** argv) {
    const char* log = std::getenv("FAKE_ZELVIC_LOG");
    if (!log) {
        return;
    }
    std::ofstream out(log, std::ios::app | std::ios::binary);
    for (int i = 0; i < argc; ++i) {
        out << (i ? "\x1f" : "") << argv[i];
    }
    out << '\n';
}

double numberAfter(const std::string& text, const std::string& key, double fallback) {
    const auto at = text.find(key + "=");
    return at == std::string::npos ? fallback : std::atof(text.c_str() + at + key.size() + 1);
}

// The comma-separated words after "key=", up to the next blank.
std::vector<std::string> wordsAfter(const std::string& text, const std::string& key) {
    std::vector<std::string> words;
    const auto at = text.find(key + "=");
    if (at == std::string::npos) {
        return words;
    }
    std::istringstream list(
        text.substr(at + key.size() + 1, text.find_first_of(" \n", at) - at - key.size() - 1));
    for (std::string word; std::getline(list, word, ',');) {
        words.push_back(word);
    }
    return words;
}

void writeBytes(const std::string& path, const void* data, std::size_t size) {
    platform::systemFileSystem().replaceFile(
        path, std::span(static_cast<const std::uint8_t*>(data), size));
}

channel::Command command(const std::string& folder) {
    const auto bytes = platform::systemFileSystem().readPrefix(
        folder + std::string(channel::kControlFileName), channel::kControlRecordSize);
    return bytes ? channel::readCommand(bytes->data(), bytes->size(), channel::Command::Run)
                 : channel::Command::Run;
}

std::string contentOf(const std::string& path, bool& found) {
    std::ifstream in(path);
    found = static_cast<bool>(in);
    std::stringstream content;
    content << in.rdbuf();
    return content.str();
}

int identify(const Arguments& args) {
    bool found = false;
    const std::string content = contentOf(args.source, found);
    if (!found) {
        return code(ExitStatus::SourceUnreadable);
    }
    MediaInfo info;
    info.clearStreams();
    info.setMediaLength(numberAfter(content, "length", 0.0));
    info.setVideoSize(static_cast<int>(numberAfter(content, "width", 0)),
                      static_cast<int>(numberAfter(content, "height", 0)));
    const auto sound = wordsAfter(content, "audio");
    for (std::size_t i = 0; i < sound.size(); ++i) {
        info.setAudio(static_cast<int>(i), static_cast<int>(i), sound[i], "aac 2ch");
    }
    const auto subtitles = wordsAfter(content, "subtitles");
    for (std::size_t i = 0; i < subtitles.size(); ++i) {
        info.setSubtitle(static_cast<int>(i), static_cast<int>(i), subtitles[i]);
    }
    writeBytes(args.folder + std::string(channel::kInfoFileName), info.bytes().data(),
               info.bytes().size());
    return 0;
}

void reportPosition(const std::string& folder, double seconds) {
    const auto progress = channel::makeProgressRecord(seconds);
    writeBytes(folder + std::string(channel::kProgressFileName), progress.data(), progress.size());
}

// Appends "<what> <output>" to FAKE_ZELVIC_EVENTS in one write.
void event(const char* what, const std::string& output) {
    if (const char* path = std::getenv("FAKE_ZELVIC_EVENTS")) {
        if (std::FILE* file = std::fopen(path, "a")) {
            const std::string line = std::string(what) + " " + output + "\n";
            std::fwrite(line.data(), 1, line.size(), file);
            std::fclose(file);
        }
    }
}

int encodeRun(const Arguments& args);

int encode(const Arguments& args) {
    event("start", args.output);
    const int status = encodeRun(args);
    event("end", args.output);
    return status;
}

int encodeRun(const Arguments& args) {
    bool found = false;
    const std::string source = contentOf(args.source, found);
    if (!found) {
        return code(ExitStatus::SourceUnreadable);
    }
    if (source.find("fail") != std::string::npos) {
        // Like the engine, it says why in its output: "why=<reason>" up to the line's end.
        if (const auto why = source.find("why="); why != std::string::npos) {
            const auto end = source.find('\n', why);
            std::printf("failed: %s\n", source.substr(why + 4, end - why - 4).c_str());
        }
        return code(ExitStatus::Failed);
    }
    const bool deaf = source.find("deaf") != std::string::npos;
    const double runFor = numberAfter(source, "runfor", 30.0);
    const auto gate = wordsAfter(source, "until");
    const bool hold = deaf || source.find("hold") != std::string::npos ||
                      source.find("runfor=") != std::string::npos || !gate.empty();
    double length = 10.0;
    char* end = nullptr;
    const double numeric = std::strtod(args.endpos.c_str(), &end);
    if (!args.endpos.empty() && end && *end == '\0') {
        length = numeric;
    } else if (const char* part = std::getenv("FAKE_ZELVIC_PART_LENGTH")) {
        length = std::atof(part);
    }
    const std::string partial = partialOutputPath(args.output);
    const std::string text = "length=" + std::to_string(length) + "\n";
    writeBytes(partial, text.data(), text.size());
    const auto deadline = std::chrono::steady_clock::now() +
                          std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                              std::chrono::duration<double>(runFor));
    int step = 1;
    for (;; ++step) {
        reportPosition(args.folder, step);
        if (!deaf && command(args.folder) == channel::Command::Quit) {
            reportPosition(args.folder, step);  // the final record
            std::rename(partial.c_str(), stoppedOutputPath(args.output, step).c_str());
            return code(ExitStatus::Quit);
        }
        if (!gate.empty() && std::ifstream(gate.front())) {
            break;
        }
        if (step >= 3 && !(hold && std::chrono::steady_clock::now() < deadline)) {
            break;
        }
        if (hold) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }
    // Like the engine, the last record is where the output ends in the source.
    reportPosition(args.folder, std::atof(args.start.c_str()) + length);
    std::rename(partial.c_str(), args.output.c_str());
    if (!args.thumbnail.empty()) {
        const std::string picture = "thumbnail of " + args.output + "\n";
        writeBytes(args.thumbnail, picture.data(), picture.size());
    }
    return code(ExitStatus::Done);
}

int waitForQuit(const Arguments& args, bool deaf) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (std::chrono::steady_clock::now() < deadline) {
        if (!deaf && command(args.folder) == channel::Command::Quit) {
            return code(ExitStatus::Quit);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return code(ExitStatus::Failed);
}

int play(const Arguments& args) {
    bool found = false;
    const std::string source = contentOf(args.source, found);
    if (!found || source.find("fail") != std::string::npos) {
        std::printf("failed: %s\n", found ? "the source says fail" : "cannot open the source");
        return code(found ? ExitStatus::Failed : ExitStatus::SourceUnreadable);
    }
    reportPosition(args.folder, std::atof(args.start.c_str()) + 1.0);
    return waitForQuit(args, args.hold || source.find("deaf") != std::string::npos);
}

}  // namespace

int main(int argc, char** argv) {
    record(argc, argv);
    const Arguments args = parse(argc, argv);
    if (args.identify) {
        return identify(args);
    }
    if (args.output.empty()) {
        // Play mode; a run without a source (a test's stand-in) just waits.
        return args.source.empty() ? waitForQuit(args, args.hold) : play(args);
    }
    return encode(args);
}
