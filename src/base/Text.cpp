#include "base/Text.h"

#include <algorithm>
#include <charconv>
#include <climits>

namespace pelorine::text {
namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

// The text with every letter from `first` to `last` moved by `by`: the ASCII
// letters change case, every other byte stays.
std::string shifted(std::string_view s, char first, char last, int by) {
    std::string out(s);
    for (char& c : out) {
        if (c >= first && c <= last) {
            c = static_cast<char>(c + by);
        }
    }
    return out;
}

}  // namespace

std::string lower(std::string_view s) {
    return shifted(s, 'A', 'Z', 'a' - 'A');
}

std::string upper(std::string_view s) {
    return shifted(s, 'a', 'z', 'A' - 'a');
}

std::string trim(std::string_view s) {
    std::size_t begin = 0;
    std::size_t end = s.size();
    while (begin < end && isBlank(s[begin])) {
        ++begin;
    }
    while (end > begin && isBlank(s[end - 1])) {
        --end;
    }
    return std::string(s.substr(begin, end - begin));
}

int leadingDigits(std::string_view s) {
    long long value = 0;
    for (std::size_t i = 0; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) {
        value = std::min<long long>(value * 10 + (s[i] - '0'), INT_MAX);
    }
    return static_cast<int>(value);
}

int leadingInt(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size() && isBlank(s[i])) {
        ++i;
    }
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        negative = s[i] == '-';
        ++i;
    }
    long long value = 0;
    for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) {
        value = value * 10 + (s[i] - '0');
        if (value > static_cast<long long>(INT_MAX) + 1) {
            value = static_cast<long long>(INT_MAX) + 1;
        }
    }
    if (negative) {
        value = -value;
    }
    if (value > INT_MAX) {
        return INT_MAX;
    }
    return value < INT_MIN ? INT_MIN : static_cast<int>(value);
}

namespace {

std::string fixed(double value, int decimals) {
    char buffer[400];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    return std::string(buffer, result.ptr);
}

}  // namespace

std::string fixed6(double value) {
    return fixed(value, 6);
}

std::string fixed1(double value) {
    return fixed(value, 1);
}

}  // namespace pelorine::text
