#pragma once
// The small readers every part of the option language shares: numbers that
// must be whole texts, colon-separated settings lists, switches.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zelvic::text {

std::string lower(std::string_view text);
std::vector<std::string_view> split(std::string_view text, char separator);

// Each returns nullopt unless the whole text is the number (a leading '+' allowed).
std::optional<long long> parseInteger(std::string_view text);
std::optional<int> parseInt(std::string_view text);
std::optional<int> parseNonNegative(std::string_view text);
std::optional<double> parseNumber(std::string_view text);  // finite only
// Decimal, or hexadecimal after "0x".
std::optional<std::uint64_t> parseUnsignedAnyBase(std::string_view text);

// A key=value:flag list; keys are kept in order because some lists repeat keys.
struct Setting {
    std::string_view key;
    std::optional<std::string_view> value;
};
std::vector<Setting> parseSettings(std::string_view text);

// Quality switches accept a bare flag, yes/no, a number, or a method name
// (`trell=lambda`); anything that is not "no" or 0 switches them on.
std::optional<int> parseSwitch(const Setting& setting);

}  // namespace zelvic::text
