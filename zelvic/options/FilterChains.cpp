#include "options/FilterChains.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <utility>

#include "options/OptionText.h"

namespace zelvic {
namespace {

using namespace text;
using Arguments = std::vector<std::string_view>;

// "name=a:b:c" or "name".
std::pair<std::string_view, Arguments> filterParts(std::string_view text) {
    const std::size_t equals = text.find('=');
    if (equals == std::string_view::npos) {
        return {text, {}};
    }
    return {text.substr(0, equals), split(text.substr(equals + 1), ':')};
}

// A filter of a chain: its name and what its arguments make (nothing when
// they are malformed).
template <typename Step>
struct FilterSpec {
    std::string_view name;
    std::optional<Step> (*parse)(const Arguments& args);
};

template <typename Step, std::size_t Count>
Outcome parseChain(std::string_view chain, const char* kind,
                   const FilterSpec<Step> (&filters)[Count], std::vector<Step>& steps) {
    for (std::string_view text : split(chain, ',')) {
        const auto [name, args] = filterParts(text);
        const auto* filter = std::find_if(std::begin(filters), std::end(filters),
                                          [&](const auto& spec) { return spec.name == name; });
        if (filter == std::end(filters)) {
            return badCommandLine("unknown " + std::string(kind) + " filter \"" +
                                  std::string(name) + "\"");
        }
        auto step = filter->parse(args);
        if (!step) {
            return badCommandLine("malformed " + std::string(kind) + " filter \"" +
                                  std::string(text) + "\"");
        }
        steps.push_back(std::move(*step));
    }
    return success();
}

std::optional<int> parseSide(std::string_view text) {
    const auto value = parseInt(text);
    if (!value || *value < -2 || *value > 16384) {
        return std::nullopt;
    }
    return value;
}

std::optional<VideoStep> scale(const Arguments& args) {
    ScaleStep step;
    if (args.size() > 2) {
        return std::nullopt;
    }
    if (!args.empty()) {
        const auto width = parseSide(args[0]);
        const auto height = args.size() > 1 ? parseSide(args[1]) : std::optional<int>(0);
        if (!width || !height) {
            return std::nullopt;
        }
        step = {*width, *height};
    }
    return step;
}

std::optional<VideoStep> harddup(const Arguments& args) {
    return args.empty() ? std::optional<VideoStep>(HardDupStep{}) : std::nullopt;
}

std::optional<VideoStep> expand(const Arguments& args) {
    ExpandStep step;
    int* const fields[] = {&step.width, &step.height, &step.x, &step.y};
    if (args.size() > 5) {
        return std::nullopt;
    }
    for (std::size_t i = 0; i < args.size() && i < 4; ++i) {
        const auto value = parseInt(args[i]);
        if (!value || *value > 16384 || *value < (i < 2 ? 0 : -1)) {
            return std::nullopt;
        }
        *fields[i] = *value;
    }
    if (args.size() == 5) {
        const auto osd = parseInt(args[4]);
        if (!osd) {
            return std::nullopt;
        }
        step.osd = *osd != 0;
    }
    return step;
}

bool validChannelCount(int count) {
    return count >= 1 && count <= 8;
}

std::optional<AudioStep> channels(const Arguments& args) {
    ChannelsStep step;
    const auto outputs = args.empty() ? std::nullopt : parseInt(args[0]);
    if (!outputs || !validChannelCount(*outputs)) {
        return std::nullopt;
    }
    step.outputs = *outputs;
    if (args.size() > 1) {
        const auto routes = parseNonNegative(args[1]);
        if (!routes || args.size() != 2 + 2 * static_cast<std::size_t>(*routes)) {
            return std::nullopt;
        }
        for (int r = 0; r < *routes; ++r) {
            const auto from = parseNonNegative(args[2 + 2 * r]);
            const auto to = parseNonNegative(args[3 + 2 * r]);
            if (!from || !to || *from >= 8 || *to >= step.outputs) {
                return std::nullopt;
            }
            step.routes.push_back({*from, *to});
        }
    }
    return step;
}

std::optional<AudioStep> pan(const Arguments& args) {
    PanStep step;
    const auto outputs = args.size() < 2 ? std::nullopt : parseInt(args[0]);
    if (!outputs || !validChannelCount(*outputs) ||
        (args.size() - 1) % static_cast<std::size_t>(*outputs) != 0) {
        return std::nullopt;
    }
    step.outputs = *outputs;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const auto gain = parseNumber(args[i]);
        if (!gain) {
            return std::nullopt;
        }
        step.gains.push_back(*gain);
    }
    return step;
}

std::optional<AudioStep> volume(const Arguments& args) {
    VolumeStep step;
    if (args.empty() || args.size() > 2) {
        return std::nullopt;
    }
    std::string value = lower(args[0]);
    if (value.ends_with("db")) {
        value.resize(value.size() - 2);
    }
    const auto decibels = parseNumber(value);
    if (!decibels || std::abs(*decibels) > 200) {
        return std::nullopt;
    }
    step.decibels = *decibels;
    if (args.size() == 2) {
        if (args[1] != "sc" && args[1] != "1" && args[1] != "0") {
            return std::nullopt;
        }
        step.softClip = args[1] != "0";
    }
    return step;
}

// volnorm takes no arguments; any given are passed over.
std::optional<AudioStep> volnorm(const Arguments&) {
    return VolNormStep{};
}

constexpr FilterSpec<VideoStep> kVideoFilters[] = {
    {"scale", scale}, {"harddup", harddup}, {"expand", expand}};
constexpr FilterSpec<AudioStep> kAudioFilters[] = {
    {"channels", channels}, {"pan", pan}, {"volume", volume}, {"volnorm", volnorm}};

}  // namespace

Outcome parseVideoFilters(std::string_view chain, std::vector<VideoStep>& steps) {
    return parseChain(chain, "video", kVideoFilters, steps);
}

Outcome parseAudioFilters(std::string_view chain, std::vector<AudioStep>& steps) {
    return parseChain(chain, "audio", kAudioFilters, steps);
}

}  // namespace zelvic
