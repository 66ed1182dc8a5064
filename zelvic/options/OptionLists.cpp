#include "options/OptionLists.h"

#include <algorithm>
#include <functional>
#include <initializer_list>
#include <map>
#include <string>
#include <vector>

#include "options/OptionText.h"

namespace zelvic {
namespace {

using namespace text;

// What one key of a list does: reads its setting into `Target`, false when
// the value is malformed.
template <typename Target>
using Setter = std::function<bool(Target&, const Setting&)>;
template <typename Target>
using Setters = std::map<std::string, Setter<Target>, std::less<>>;

// A setter that stores in `field` what `read` makes of the setting.
template <typename Target, typename Field, typename Read>
Setter<Target> into(Field Target::*field, Read read) {
    return [field, read](Target& target, const Setting& setting) {
        const auto value = read(setting);
        if (!value) {
            return false;
        }
        target.*field = static_cast<Field>(*value);
        return true;
    };
}

// Readers of a setting's value; nullopt when it is malformed.
std::optional<int> count(const Setting& setting) {
    return setting.value ? parseNonNegative(*setting.value) : std::nullopt;
}
std::optional<int> positive(const Setting& setting) {
    const auto value = count(setting);
    return value && *value > 0 ? value : std::nullopt;
}
std::optional<std::string> word(const Setting& setting) {
    if (!setting.value || setting.value->empty()) {
        return std::nullopt;
    }
    return std::string(*setting.value);
}
// A bare flag: the setting is on when given without a value.
std::optional<bool> bare(const Setting& setting) {
    return setting.value ? std::nullopt : std::optional<bool>(true);
}
// A flag whatever its value says.
std::optional<bool> given(const Setting&) {
    return true;
}
template <typename Value>
auto oneOf(std::initializer_list<Value> values, std::optional<Value> (*read)(const Setting&)) {
    return [choices = std::vector<Value>(values), read](const Setting& setting) {
        const auto value = read(setting);
        return value && std::find(choices.begin(), choices.end(), *value) != choices.end()
                   ? value
                   : std::nullopt;
    };
}

template <typename Target>
Outcome applySettings(std::string_view text, std::string_view option,
                      const Setters<Target>& setters, Target& target) {
    for (const Setting& setting : parseSettings(text)) {
        const std::string key(setting.key);
        const auto found = setters.find(key);
        if (found == setters.end()) {
            return badCommandLine("unknown " + std::string(option) + " setting \"" + key + "\"");
        }
        if (!found->second(target, setting)) {
            return badCommandLine("malformed " + std::string(option) + " setting \"" + key +
                                  (setting.value ? "=" + std::string(*setting.value) : "") + "\"");
        }
    }
    return success();
}

const Setters<LavcSettings>& lavcSetters() {
    using S = LavcSettings;
    static const Setters<S> setters = {
        {"vcodec", into(&S::vcodec, oneOf<std::string>({"mpeg4", "h264"}, word))},
        {"acodec", into(&S::acodec, oneOf<std::string>({"aac"}, word))},
        {"vbitrate", into(&S::vbitrate, count)},
        {"abitrate", into(&S::abitrate, count)},
        {"vrc_maxrate", into(&S::vrcMaxrate, count)},
        {"vratetol", into(&S::vratetol, count)},
        {"vqmin", into(&S::vqmin, count)},
        {"vqmax", into(&S::vqmax, count)},
        {"keyint", into(&S::keyint, count)},
        {"level", into(&S::level, count)},
        {"coder", into(&S::coder, count)},
        {"mbd", into(&S::mbd, count)},
        {"cmp", into(&S::cmp, count)},
        {"subcmp", into(&S::subcmp, count)},
        {"trell", into(&S::trell, parseSwitch)},
        {"v4mv", into(&S::v4mv, parseSwitch)},
        {"aic", into(&S::aic, parseSwitch)},
        {"qpel", into(&S::qpel, parseSwitch)},
        {"vme", into(&S::vme, count)},
        {"bit_exact", into(&S::bitExact, parseSwitch)},
        {"vglobal", into(&S::vglobal, parseSwitch)},
        {"aglobal", into(&S::aglobal, parseSwitch)},
    };
    return setters;
}

}  // namespace

Result<LavcSettings> parseLavcopts(std::string_view text, LavcSettings settings) {
    if (auto applied = applySettings(text, "-lavcopts", lavcSetters(), settings); !applied) {
        return applied.error();
    }
    return settings;
}

Result<LameSettings> parseLameopts(std::string_view text, LameSettings settings) {
    static const Setters<LameSettings> setters = {
        {"cbr", into(&LameSettings::cbr, bare)},
        {"br", into(&LameSettings::bitrate, positive)},
        {"mode", into(&LameSettings::mode, oneOf<int>({0, 1, 3}, count))},
    };
    if (auto applied = applySettings(text, "-lameopts", setters, settings); !applied) {
        return applied.error();
    }
    return settings;
}

Outcome parseLavfopts(std::string_view text, Options& options) {
    static const Setters<Options> setters = {
        {"format", into(&Options::lavfFormat, word)},
        {"i_certify_that_my_video_stream_does_not_use_b_frames",
         into(&Options::noBFramesCertified, given)},
    };
    return applySettings(text, "-lavfopts", setters, options);
}

}  // namespace zelvic
