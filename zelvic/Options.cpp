#include "Options.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <functional>
#include <map>

namespace zelvic {
namespace {

std::string lower(std::string_view text) {
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return result;
}

std::vector<std::string_view> split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    std::size_t begin = 0;
    while (true) {
        const std::size_t end = text.find(separator, begin);
        parts.push_back(text.substr(begin, end - begin));
        if (end == std::string_view::npos) {
            return parts;
        }
        begin = end + 1;
    }
}

std::optional<long long> parseInteger(std::string_view text) {
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
    }
    long long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

std::optional<int> parseInt(std::string_view text) {
    const auto value = parseInteger(text);
    if (!value || *value < INT32_MIN || *value > INT32_MAX) {
        return std::nullopt;
    }
    return static_cast<int>(*value);
}

std::optional<int> parseNonNegative(std::string_view text) {
    const auto value = parseInt(text);
    if (!value || *value < 0) {
        return std::nullopt;
    }
    return value;
}

std::optional<double> parseNumber(std::string_view text) {
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
    }
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() ||
        !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

std::optional<std::uint64_t> parseUnsignedAnyBase(std::string_view text) {
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    }
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

// A key=value:flag list; keys are kept in order because some lists repeat keys.
struct Setting {
    std::string_view key;
    std::optional<std::string_view> value;
};

std::vector<Setting> parseSettings(std::string_view text) {
    std::vector<Setting> settings;
    for (std::string_view part : split(text, ':')) {
        if (part.empty()) {
            continue;
        }
        const std::size_t equals = part.find('=');
        if (equals == std::string_view::npos) {
            settings.push_back({part, std::nullopt});
        } else {
            settings.push_back({part.substr(0, equals), part.substr(equals + 1)});
        }
    }
    return settings;
}

// Quality switches accept a bare flag, yes/no, a number, or a method name
// (`trell=lambda`); anything that is not "no" or 0 switches them on.
std::optional<int> parseSwitch(const Setting& setting) {
    if (!setting.value) {
        return 1;
    }
    const std::string value = lower(*setting.value);
    if (value == "no" || value == "off" || value == "false") {
        return 0;
    }
    if (value == "yes" || value == "on" || value == "true") {
        return 1;
    }
    if (const auto number = parseInt(value)) {
        return *number;
    }
    if (!value.empty() && std::all_of(value.begin(), value.end(), [](unsigned char c) {
            return std::isalpha(c) || c == '_';
        })) {
        return 1;
    }
    return std::nullopt;
}

Result<LavcSettings> parseLavcopts(std::string_view text, LavcSettings settings) {
    using Setter = std::function<bool(LavcSettings&, const Setting&)>;
    const auto number = [](int LavcSettings::*field, bool allowNegative) {
        return [field, allowNegative](LavcSettings& s, const Setting& setting) {
            if (!setting.value) {
                return false;
            }
            const auto value =
                allowNegative ? parseInt(*setting.value) : parseNonNegative(*setting.value);
            if (!value) {
                return false;
            }
            s.*field = *value;
            return true;
        };
    };
    const auto intSwitch = [](int LavcSettings::*field) {
        return [field](LavcSettings& s, const Setting& setting) {
            const auto value = parseSwitch(setting);
            if (!value) {
                return false;
            }
            s.*field = *value;
            return true;
        };
    };
    const auto boolSwitch = [](bool LavcSettings::*field) {
        return [field](LavcSettings& s, const Setting& setting) {
            const auto value = parseSwitch(setting);
            if (!value) {
                return false;
            }
            s.*field = *value != 0;
            return true;
        };
    };
    static const std::map<std::string, Setter, std::less<>> setters = {
        {"vcodec",
         [](LavcSettings& s, const Setting& setting) {
             if (!setting.value || (*setting.value != "mpeg4" && *setting.value != "h264")) {
                 return false;
             }
             s.vcodec = *setting.value;
             return true;
         }},
        {"acodec",
         [](LavcSettings& s, const Setting& setting) {
             if (!setting.value || *setting.value != "aac") {
                 return false;
             }
             s.acodec = *setting.value;
             return true;
         }},
        {"vbitrate", number(&LavcSettings::vbitrate, false)},
        {"abitrate", number(&LavcSettings::abitrate, false)},
        {"vrc_maxrate", number(&LavcSettings::vrcMaxrate, false)},
        {"vratetol", number(&LavcSettings::vratetol, false)},
        {"vqmin", number(&LavcSettings::vqmin, false)},
        {"vqmax", number(&LavcSettings::vqmax, false)},
        {"keyint", number(&LavcSettings::keyint, false)},
        {"level", number(&LavcSettings::level, false)},
        {"coder", number(&LavcSettings::coder, false)},
        {"mbd", number(&LavcSettings::mbd, false)},
        {"cmp", number(&LavcSettings::cmp, false)},
        {"subcmp", number(&LavcSettings::subcmp, false)},
        {"trell", intSwitch(&LavcSettings::trell)},
        {"v4mv", boolSwitch(&LavcSettings::v4mv)},
        {"aic", intSwitch(&LavcSettings::aic)},
        {"qpel", boolSwitch(&LavcSettings::qpel)},
        {"vme", number(&LavcSettings::vme, false)},
        {"bit_exact", boolSwitch(&LavcSettings::bitExact)},
        {"vglobal", boolSwitch(&LavcSettings::vglobal)},
        {"aglobal", boolSwitch(&LavcSettings::aglobal)},
    };
    for (const Setting& setting : parseSettings(text)) {
        const auto found = setters.find(setting.key);
        if (found == setters.end()) {
            return badCommandLine("unknown -lavcopts setting \"" + std::string(setting.key) + "\"");
        }
        if (!found->second(settings, setting)) {
            return badCommandLine("malformed -lavcopts setting \"" + std::string(setting.key) +
                                  (setting.value ? "=" + std::string(*setting.value) : "") + "\"");
        }
    }
    return settings;
}

Result<LameSettings> parseLameopts(std::string_view text, LameSettings settings) {
    for (const Setting& setting : parseSettings(text)) {
        if (setting.key == "cbr" && !setting.value) {
            settings.cbr = true;
        } else if (setting.key == "br" && setting.value && parseInt(*setting.value) &&
                   *parseInt(*setting.value) > 0) {
            settings.bitrate = *parseInt(*setting.value);
        } else if (setting.key == "mode" && setting.value && parseInt(*setting.value) &&
                   (*parseInt(*setting.value) == 0 || *parseInt(*setting.value) == 1 ||
                    *parseInt(*setting.value) == 3)) {
            settings.mode = *parseInt(*setting.value);
        } else {
            return badCommandLine("malformed -lameopts setting \"" + std::string(setting.key) +
                                  "\"");
        }
    }
    return settings;
}

Outcome parseLavfopts(std::string_view text, Options& options) {
    for (const Setting& setting : parseSettings(text)) {
        if (setting.key == "format" && setting.value && !setting.value->empty()) {
            options.lavfFormat = *setting.value;
        } else if (setting.key == "i_certify_that_my_video_stream_does_not_use_b_frames") {
            options.noBFramesCertified = true;
        } else {
            return badCommandLine("malformed -lavfopts setting \"" + std::string(setting.key) +
                                  "\"");
        }
    }
    return success();
}

// "name=a:b:c" or "name".
std::pair<std::string_view, std::vector<std::string_view>> filterParts(std::string_view text) {
    const std::size_t equals = text.find('=');
    if (equals == std::string_view::npos) {
        return {text, {}};
    }
    return {text.substr(0, equals), split(text.substr(equals + 1), ':')};
}

std::optional<int> parseSide(std::string_view text) {
    const auto value = parseInt(text);
    if (!value || *value < -2 || *value > 16384) {
        return std::nullopt;
    }
    return value;
}

Outcome parseVideoFilters(std::string_view chain, std::vector<VideoStep>& steps) {
    for (std::string_view text : split(chain, ',')) {
        const auto [name, args] = filterParts(text);
        const auto malformed = [&] {
            return badCommandLine("malformed video filter \"" + std::string(text) + "\"");
        };
        if (name == "scale") {
            ScaleStep step;
            if (args.size() > 2) {
                return malformed();
            }
            if (!args.empty()) {
                const auto width = parseSide(args[0]);
                const auto height = args.size() > 1 ? parseSide(args[1]) : std::optional<int>(0);
                if (!width || !height) {
                    return malformed();
                }
                step = {*width, *height};
            }
            steps.push_back(step);
        } else if (name == "harddup") {
            if (!args.empty()) {
                return malformed();
            }
            steps.push_back(HardDupStep{});
        } else if (name == "expand") {
            ExpandStep step;
            int* const fields[] = {&step.width, &step.height, &step.x, &step.y};
            if (args.size() > 5) {
                return malformed();
            }
            for (std::size_t i = 0; i < args.size() && i < 4; ++i) {
                const auto value = parseInt(args[i]);
                if (!value || *value > 16384 || *value < (i < 2 ? 0 : -1)) {
                    return malformed();
                }
                *fields[i] = *value;
            }
            if (args.size() == 5) {
                const auto osd = parseInt(args[4]);
                if (!osd) {
                    return malformed();
                }
                step.osd = *osd != 0;
            }
            steps.push_back(step);
        } else {
            return badCommandLine("unknown video filter \"" + std::string(name) + "\"");
        }
    }
    return success();
}

bool validChannelCount(int count) {
    return count >= 1 && count <= 8;
}

Outcome parseAudioFilters(std::string_view chain, std::vector<AudioStep>& steps) {
    for (std::string_view text : split(chain, ',')) {
        const auto [name, args] = filterParts(text);
        const auto malformed = [&] {
            return badCommandLine("malformed audio filter \"" + std::string(text) + "\"");
        };
        if (name == "channels") {
            ChannelsStep step;
            if (args.empty()) {
                return malformed();
            }
            const auto outputs = parseInt(args[0]);
            if (!outputs || !validChannelCount(*outputs)) {
                return malformed();
            }
            step.outputs = *outputs;
            if (args.size() > 1) {
                const auto routes = parseNonNegative(args[1]);
                if (!routes || args.size() != 2 + 2 * static_cast<std::size_t>(*routes)) {
                    return malformed();
                }
                for (int r = 0; r < *routes; ++r) {
                    const auto from = parseNonNegative(args[2 + 2 * r]);
                    const auto to = parseNonNegative(args[3 + 2 * r]);
                    if (!from || !to || *from >= 8 || *to >= step.outputs) {
                        return malformed();
                    }
                    step.routes.push_back({*from, *to});
                }
            }
            steps.push_back(step);
        } else if (name == "pan") {
            PanStep step;
            if (args.size() < 2) {
                return malformed();
            }
            const auto outputs = parseInt(args[0]);
            if (!outputs || !validChannelCount(*outputs) ||
                (args.size() - 1) % static_cast<std::size_t>(*outputs) != 0) {
                return malformed();
            }
            step.outputs = *outputs;
            for (std::size_t i = 1; i < args.size(); ++i) {
                const auto gain = parseNumber(args[i]);
                if (!gain) {
                    return malformed();
                }
                step.gains.push_back(*gain);
            }
            steps.push_back(step);
        } else if (name == "volume") {
            VolumeStep step;
            if (args.empty() || args.size() > 2) {
                return malformed();
            }
            std::string value = lower(args[0]);
            if (value.ends_with("db")) {
                value.resize(value.size() - 2);
            }
            const auto decibels = parseNumber(value);
            if (!decibels || std::abs(*decibels) > 200) {
                return malformed();
            }
            step.decibels = *decibels;
            if (args.size() == 2) {
                if (args[1] != "sc" && args[1] != "1" && args[1] != "0") {
                    return malformed();
                }
                step.softClip = args[1] != "0";
            }
            steps.push_back(step);
        } else if (name == "volnorm") {
            steps.push_back(VolNormStep{});
        } else {
            return badCommandLine("unknown audio filter \"" + std::string(name) + "\"");
        }
    }
    return success();
}

Outcome parseChapters(std::string_view text, Options& options) {
    const std::size_t dash = text.find('-');
    const auto first = parseInt(text.substr(0, dash));
    if (!first || *first < 1) {
        return badCommandLine("malformed -chapter \"" + std::string(text) + "\"");
    }
    options.chapterFirst = *first;
    options.chapterLast = 0;
    if (dash != std::string_view::npos && dash + 1 < text.size()) {
        const auto last = parseInt(text.substr(dash + 1));
        if (!last || *last < *first) {
            return badCommandLine("malformed -chapter \"" + std::string(text) + "\"");
        }
        options.chapterLast = *last;
    }
    return success();
}

Outcome parseSource(const std::string& text, Options& options, bool& sourceSeen) {
    if (sourceSeen) {
        return badCommandLine("more than one source given (\"" + text + "\")");
    }
    sourceSeen = true;
    for (const auto& [prefix, kind] :
         {std::pair{std::string_view("dvd://"), SourceKind::DvdTitle},
          std::pair{std::string_view("vcd://"), SourceKind::VcdTrack}}) {
        if (lower(text).starts_with(prefix)) {
            const std::string_view number = std::string_view(text).substr(prefix.size());
            const auto title = number.empty() ? std::optional<int>(1) : parseInt(number);
            if (!title || *title < 1) {
                return badCommandLine("malformed source \"" + text + "\"");
            }
            options.sourceKind = kind;
            options.title = *title;
            return success();
        }
    }
    options.sourceKind = SourceKind::File;
    options.source = text;
    return success();
}

Outcome checkEncodeRequest(const Options& options) {
    if (options.videoEncoder == VideoEncoder::Unset) {
        return badCommandLine("encoding needs a video encoder (-ovc lavc or -ovc frameno)");
    }
    if (options.container == Container::Unset) {
        return badCommandLine("encoding needs an output format (-of lavf or -of rawaudio)");
    }
    const bool audio = !options.noSound && options.audioEncoder != AudioEncoder::Unset;
    const bool video = options.videoEncoder == VideoEncoder::Lavc;
    if (video && options.lavc.vcodec.empty()) {
        return badCommandLine("-ovc lavc needs a video codec (-lavcopts vcodec=...)");
    }
    if (audio && options.audioEncoder == AudioEncoder::Lavc && options.lavc.acodec.empty()) {
        return badCommandLine("-oac lavc needs an audio codec (-lavcopts acodec=...)");
    }
    if (!audio && !video) {
        return badCommandLine("nothing to encode: neither video nor audio is asked for");
    }
    if (options.container == Container::RawAudio && !audio) {
        return badCommandLine("-of rawaudio needs audio");
    }
    if (options.container == Container::Lavf && options.lavfFormat.empty()) {
        return badCommandLine("-of lavf needs a format (-lavfopts format=...)");
    }
    return success();
}

}  // namespace

Mode Options::mode() const {
    if (identify) {
        return Mode::Identify;
    }
    return output.empty() ? Mode::Play : Mode::Encode;
}

std::optional<double> parseSeconds(std::string_view text) {
    const auto parts = split(text, ':');
    if (parts.size() > 3) {
        return std::nullopt;
    }
    double total = 0;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const auto value = parseNumber(parts[i]);
        const bool last = i + 1 == parts.size();
        if (!value || *value < 0 || (parts.size() > 1 && parts[i].starts_with('+')) ||
            (!last && *value != std::floor(*value))) {
            return std::nullopt;
        }
        total = total * 60 + *value;
    }
    return total;
}

std::optional<EndLimit> parseEndLimit(std::string_view text) {
    const std::string value = lower(text);
    static constexpr std::pair<std::string_view, std::int64_t> kUnits[] = {
        {"kb", 1024}, {"mb", 1024 * 1024}, {"gb", 1024LL * 1024 * 1024}, {"b", 1}};
    for (const auto& [unit, factor] : kUnits) {
        if (value.ends_with(unit)) {
            const auto amount =
                parseNumber(std::string_view(value).substr(0, value.size() - unit.size()));
            if (!amount || *amount <= 0 || *amount * static_cast<double>(factor) > 1e15) {
                return std::nullopt;
            }
            EndLimit limit;
            limit.bytes =
                static_cast<std::int64_t>(std::floor(*amount * static_cast<double>(factor)));
            return limit;
        }
    }
    const auto seconds = parseSeconds(value);
    if (!seconds) {
        return std::nullopt;
    }
    EndLimit limit;
    limit.seconds = *seconds;
    return limit;
}

std::optional<FrameRate> parseFrameRate(std::string_view text) {
    if (const std::size_t slash = text.find('/'); slash != std::string_view::npos) {
        const auto num = parseInt(text.substr(0, slash));
        const auto den = parseInt(text.substr(slash + 1));
        if (!num || !den || *num <= 0 || *den <= 0) {
            return std::nullopt;
        }
        return FrameRate{*num, *den};
    }
    const auto value = parseNumber(text);
    if (!value || *value <= 0 || *value > 1000) {
        return std::nullopt;
    }
    // The NTSC family is written in decimals (29.97, 23.976, 59.94) but means N*1000/1001.
    const double ntsc = *value * 1.001;
    if (std::abs(ntsc - std::round(ntsc)) < 0.005 &&
        std::abs(*value - std::round(*value)) > 0.001) {
        return FrameRate{static_cast<int>(std::round(ntsc)) * 1000, 1001};
    }
    if (std::abs(*value - std::round(*value)) < 1e-9) {
        return FrameRate{static_cast<int>(std::round(*value)), 1};
    }
    return FrameRate{static_cast<int>(std::round(*value * 1000)), 1000};
}

Result<Options> parseOptions(std::span<const std::string> args) {
    Options options;
    bool sourceSeen = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg.empty()) {
            continue;
        }
        if (arg[0] != '-' || arg == "-") {
            if (auto outcome = parseSource(arg, options, sourceSeen); !outcome) {
                return outcome.error();
            }
            continue;
        }
        // Flags first, then the options that take one value.
        if (arg == "-nosound") {
            options.noSound = true;
        } else if (arg == "-identify") {
            options.identify = true;
        } else if (arg == "-framedrop") {
            options.frameDrop = true;
        } else if (arg == "-slave") {
            options.slave = true;
        } else if (arg == "-keepaspect") {
            options.keepAspect = true;
        } else {
            static const std::vector<std::string_view> kValued = {
                "-dvd-device", "-chapter",  "-aid",      "-sid",     "-cdrom-device",  "-ss",
                "-endpos",     "-vo",       "-ao",       "-o",       "-currentfolder", "-srate",
                "-af",         "-vf",       "-ofps",     "-ovc",     "-oac",           "-lavcopts",
                "-lameopts",   "-of",       "-lavfopts", "-ffourcc", "-autosync",      "-mc",
                "-wid",        "-colorkey", "-priority"};
            if (std::find(kValued.begin(), kValued.end(), arg) == kValued.end()) {
                return badCommandLine("unknown option \"" + arg + "\"");
            }
            if (i + 1 >= args.size()) {
                return badCommandLine("option \"" + arg + "\" needs a value");
            }
            const std::string& value = args[++i];
            const auto malformed = [&] {
                return badCommandLine("malformed value \"" + value + "\" for " + arg);
            };
            if (arg == "-dvd-device") {
                options.dvdDevice = value;
            } else if (arg == "-cdrom-device") {
                options.cdromDevice = value;
            } else if (arg == "-chapter") {
                if (auto outcome = parseChapters(value, options); !outcome) {
                    return outcome.error();
                }
            } else if (arg == "-aid" || arg == "-sid") {
                const auto id = parseInt(value);
                if (!id || *id < -1) {
                    return malformed();
                }
                (arg == "-aid" ? options.audioId : options.subtitleId) = *id;
            } else if (arg == "-ss") {
                const auto seconds = parseSeconds(value);
                if (!seconds) {
                    return malformed();
                }
                options.start = *seconds;
            } else if (arg == "-endpos") {
                const auto limit = parseEndLimit(value);
                if (!limit) {
                    return malformed();
                }
                options.end = *limit;
            } else if (arg == "-vo") {
                options.videoOut = value;
            } else if (arg == "-ao") {
                options.audioOut = value;
            } else if (arg == "-o") {
                if (value.empty()) {
                    return malformed();
                }
                options.output = value;
            } else if (arg == "-currentfolder") {
                options.currentFolder = value;
            } else if (arg == "-srate") {
                const auto rate = parseInt(value);
                if (!rate || *rate < 1000 || *rate > 192000) {
                    return malformed();
                }
                options.sampleRate = *rate;
            } else if (arg == "-af") {
                if (auto outcome = parseAudioFilters(value, options.audioFilters); !outcome) {
                    return outcome.error();
                }
            } else if (arg == "-vf") {
                if (auto outcome = parseVideoFilters(value, options.videoFilters); !outcome) {
                    return outcome.error();
                }
            } else if (arg == "-ofps") {
                const auto rate = parseFrameRate(value);
                if (!rate) {
                    return malformed();
                }
                options.outputFps = *rate;
            } else if (arg == "-ovc") {
                if (value == "lavc") {
                    options.videoEncoder = VideoEncoder::Lavc;
                } else if (value == "frameno") {
                    options.videoEncoder = VideoEncoder::None;
                } else {
                    return malformed();
                }
            } else if (arg == "-oac") {
                if (value == "lavc") {
                    options.audioEncoder = AudioEncoder::Lavc;
                } else if (value == "mp3lame") {
                    options.audioEncoder = AudioEncoder::Mp3Lame;
                } else {
                    return malformed();
                }
            } else if (arg == "-lavcopts") {
                auto settings = parseLavcopts(value, options.lavc);
                if (!settings) {
                    return settings.error();
                }
                options.lavc = *settings;
            } else if (arg == "-lameopts") {
                auto settings = parseLameopts(value, options.lame);
                if (!settings) {
                    return settings.error();
                }
                options.lame = *settings;
            } else if (arg == "-of") {
                if (value == "lavf") {
                    options.container = Container::Lavf;
                } else if (value == "rawaudio") {
                    options.container = Container::RawAudio;
                } else {
                    return malformed();
                }
            } else if (arg == "-lavfopts") {
                if (auto outcome = parseLavfopts(value, options); !outcome) {
                    return outcome.error();
                }
            } else if (arg == "-ffourcc") {
                if (value.empty() || value.size() > 4) {
                    return malformed();
                }
                options.fourcc = value;
            } else if (arg == "-autosync") {
                const auto frames = parseNonNegative(value);
                if (!frames) {
                    return malformed();
                }
                options.autoSync = *frames;
            } else if (arg == "-mc") {
                const auto seconds = parseNumber(value);
                if (!seconds || *seconds < 0) {
                    return malformed();
                }
                options.maxCorrection = *seconds;
            } else if (arg == "-wid") {
                const auto id = parseUnsignedAnyBase(value);
                if (!id) {
                    return malformed();
                }
                options.windowId = *id;
            } else if (arg == "-colorkey") {
                const auto colour = parseUnsignedAnyBase(value);
                if (!colour || *colour > 0xFFFFFF) {
                    return malformed();
                }
                options.colorKey = static_cast<std::uint32_t>(*colour);
            } else if (arg == "-priority") {
                options.priority = value;
            }
        }
    }
    if (!options.hasSource()) {
        return badCommandLine("no source given");
    }
    if (options.mode() == Mode::Encode) {
        if (auto outcome = checkEncodeRequest(options); !outcome) {
            return outcome.error();
        }
    }
    return options;
}

}  // namespace zelvic
