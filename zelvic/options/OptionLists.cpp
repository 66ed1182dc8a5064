#include "options/OptionLists.h"

#include <cmath>
#include <functional>
#include <map>

#include "options/OptionText.h"

namespace zelvic {

using namespace text;

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

namespace {

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

}  // namespace

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

namespace {

bool validChannelCount(int count) {
    return count >= 1 && count <= 8;
}

}  // namespace

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

}  // namespace zelvic
