#include "options/Options.h"

#include <algorithm>

#include "options/FilterChains.h"
#include "options/OptionLists.h"
#include "options/OptionText.h"

namespace zelvic {
namespace {

using namespace text;

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

// One option of the language: its name, whether the next argument is its
// value, and what it does to the options. A handler that returns an error
// without a message reports the value as malformed.
struct OptionSpec {
    std::string_view name;
    bool takesValue;
    Outcome (*apply)(const std::string& value, Options& options);
};

Outcome malformed() {
    return badCommandLine("");
}

// Sets `field` from a reader's result; a failed read is a malformed value.
template <typename Value, typename Field>
Outcome store(const std::optional<Value>& value, Field& field) {
    if (!value) {
        return malformed();
    }
    field = *value;
    return success();
}

// A value from a fixed set of words.
template <typename Enum>
Outcome choose(const std::string& value,
               std::initializer_list<std::pair<std::string_view, Enum>> words, Enum& field) {
    for (const auto& [word, choice] : words) {
        if (value == word) {
            field = choice;
            return success();
        }
    }
    return malformed();
}

std::optional<int> audioOrSubtitleId(const std::string& value) {
    const auto id = parseInt(value);
    return id && *id >= -1 ? id : std::nullopt;
}

constexpr OptionSpec kOptions[] = {
    // Flags.
    {"-nosound", false, [](const std::string&, Options& o) { return o.noSound = true, success(); }},
    {"-identify", false,
     [](const std::string&, Options& o) { return o.identify = true, success(); }},
    {"-framedrop", false,
     [](const std::string&, Options& o) { return o.frameDrop = true, success(); }},
    {"-slave", false, [](const std::string&, Options& o) { return o.slave = true, success(); }},
    {"-keepaspect", false,
     [](const std::string&, Options& o) { return o.keepAspect = true, success(); }},
    // The source.
    {"-dvd-device", true,
     [](const std::string& v, Options& o) { return o.dvdDevice = v, success(); }},
    {"-cdrom-device", true,
     [](const std::string& v, Options& o) { return o.cdromDevice = v, success(); }},
    {"-chapter", true, [](const std::string& v, Options& o) { return parseChapters(v, o); }},
    {"-aid", true,
     [](const std::string& v, Options& o) { return store(audioOrSubtitleId(v), o.audioId); }},
    {"-sid", true,
     [](const std::string& v, Options& o) { return store(audioOrSubtitleId(v), o.subtitleId); }},
    {"-sub", true,
     [](const std::string& v, Options& o) {
         return v.empty() ? malformed() : (o.subtitleFile = v, success());
     }},
    {"-subcp", true,
     [](const std::string& v, Options& o) {
         return v.empty() ? malformed() : (o.subtitleCodePage = v, success());
     }},
    {"-ss", true, [](const std::string& v, Options& o) { return store(parseSeconds(v), o.start); }},
    {"-endpos", true,
     [](const std::string& v, Options& o) { return store(parseEndLimit(v), o.end); }},
    // Outputs and the channel.
    {"-vo", true, [](const std::string& v, Options& o) { return o.videoOut = v, success(); }},
    {"-ao", true, [](const std::string& v, Options& o) { return o.audioOut = v, success(); }},
    {"-o", true,
     [](const std::string& v, Options& o) {
         return v.empty() ? malformed() : (o.output = v, success());
     }},
    {"-currentfolder", true,
     [](const std::string& v, Options& o) { return o.currentFolder = v, success(); }},
    {"-thumbnail", true,
     [](const std::string& v, Options& o) {
         return v.empty() ? malformed() : (o.thumbnail = v, success());
     }},
    // Filters and rates.
    {"-srate", true,
     [](const std::string& v, Options& o) {
         const auto rate = parseInt(v);
         return store(rate && *rate >= 1000 && *rate <= 192000 ? rate : std::nullopt, o.sampleRate);
     }},
    {"-af", true,
     [](const std::string& v, Options& o) { return parseAudioFilters(v, o.audioFilters); }},
    {"-vf", true,
     [](const std::string& v, Options& o) { return parseVideoFilters(v, o.videoFilters); }},
    {"-ofps", true,
     [](const std::string& v, Options& o) { return store(parseFrameRate(v), o.outputFps); }},
    // Encoders and the container.
    {"-ovc", true,
     [](const std::string& v, Options& o) {
         return choose(v, {{"lavc", VideoEncoder::Lavc}, {"frameno", VideoEncoder::None}},
                       o.videoEncoder);
     }},
    {"-oac", true,
     [](const std::string& v, Options& o) {
         return choose(v, {{"lavc", AudioEncoder::Lavc}, {"mp3lame", AudioEncoder::Mp3Lame}},
                       o.audioEncoder);
     }},
    {"-lavcopts", true,
     [](const std::string& v, Options& o) {
         auto settings = parseLavcopts(v, o.lavc);
         return settings ? (o.lavc = *settings, success()) : Outcome(settings.error());
     }},
    {"-lameopts", true,
     [](const std::string& v, Options& o) {
         auto settings = parseLameopts(v, o.lame);
         return settings ? (o.lame = *settings, success()) : Outcome(settings.error());
     }},
    {"-of", true,
     [](const std::string& v, Options& o) {
         return choose(v, {{"lavf", Container::Lavf}, {"rawaudio", Container::RawAudio}},
                       o.container);
     }},
    {"-lavfopts", true, [](const std::string& v, Options& o) { return parseLavfopts(v, o); }},
    {"-ffourcc", true,
     [](const std::string& v, Options& o) {
         return v.empty() || v.size() > 4 ? malformed() : (o.fourcc = v, success());
     }},
    // Play mode.
    {"-autosync", true,
     [](const std::string& v, Options& o) { return store(parseNonNegative(v), o.autoSync); }},
    {"-mc", true,
     [](const std::string& v, Options& o) {
         const auto seconds = parseNumber(v);
         return store(seconds && *seconds >= 0 ? seconds : std::nullopt, o.maxCorrection);
     }},
    {"-wid", true,
     [](const std::string& v, Options& o) { return store(parseUnsignedAnyBase(v), o.windowId); }},
    {"-colorkey", true,
     [](const std::string& v, Options& o) {
         const auto colour = parseUnsignedAnyBase(v);
         return colour && *colour <= 0xFFFFFF
                    ? (o.colorKey = static_cast<std::uint32_t>(*colour), success())
                    : malformed();
     }},
    {"-priority", true, [](const std::string& v, Options& o) { return o.priority = v, success(); }},
};

const OptionSpec* findOption(std::string_view name) {
    const auto found = std::find_if(std::begin(kOptions), std::end(kOptions),
                                    [&](const OptionSpec& spec) { return spec.name == name; });
    return found == std::end(kOptions) ? nullptr : found;
}

}  // namespace

Mode Options::mode() const {
    if (identify) {
        return Mode::Identify;
    }
    return output.empty() ? Mode::Play : Mode::Encode;
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
        const OptionSpec* spec = findOption(arg);
        if (!spec) {
            return badCommandLine("unknown option \"" + arg + "\"");
        }
        if (spec->takesValue && i + 1 >= args.size()) {
            return badCommandLine("option \"" + arg + "\" needs a value");
        }
        static const std::string kNoValue;
        const std::string& value = spec->takesValue ? args[++i] : kNoValue;
        if (auto outcome = spec->apply(value, options); !outcome) {
            if (outcome.error().message.empty()) {
                return badCommandLine("malformed value \"" + value + "\" for " + arg);
            }
            return outcome.error();
        }
    }
    if (!options.hasSource()) {
        return badCommandLine("no source given");
    }
    if (options.subtitleId >= 0 && !options.subtitleFile.empty()) {
        return badCommandLine("one subtitle can be burned: -sid or -sub, not both");
    }
    if (options.mode() == Mode::Encode) {
        if (auto outcome = checkEncodeRequest(options); !outcome) {
            return outcome.error();
        }
    }
    return options;
}

}  // namespace zelvic
