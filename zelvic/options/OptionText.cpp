#include "options/OptionText.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "options/Options.h"

namespace zelvic {
namespace text {

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

}  // namespace text

using namespace text;

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

}  // namespace zelvic
