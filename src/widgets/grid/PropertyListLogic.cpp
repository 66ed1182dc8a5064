#include "grid/PropertyListLogic.h"

#include <cctype>
#include <cstdio>

#include "base/Paths.h"

namespace pelorine {
namespace {

// Reads a number the lenient way the values have always been read: leading
// blanks and a sign, then digits until anything else; no digits reads as 0.
int leadingNumber(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])) != 0) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    long long number = 0;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])) != 0) {
        if (number < 1'000'000'000) {
            number = number * 10 + (text[i] - '0');
        }
        ++i;
    }
    return static_cast<int>(negative ? -number : number);
}

}  // namespace

bool isVideoRow(std::string_view name) {
    constexpr std::string_view kVideo = "video";
    if (name.size() < kVideo.size()) {
        return false;
    }
    for (std::size_t i = 0; i < kVideo.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(name[i])) != kVideo[i]) {
            return false;
        }
    }
    return true;
}

Rgb nameCellShade(std::string_view name) {
    return isVideoRow(name) ? Rgb{235, 235, 235} : Rgb{250, 250, 250};
}

std::optional<Rgb> parseRgbValue(const std::string& value) {
    if (value.find("RGB") == std::string::npos || value.size() <= 4) {
        return std::nullopt;
    }
    const std::size_t firstComma = value.find(',', 3);
    if (firstComma == std::string::npos || firstComma < 4) {
        return std::nullopt;
    }
    const std::size_t secondComma = value.find(',', firstComma + 1);
    if (secondComma == std::string::npos) {
        return std::nullopt;
    }
    const std::size_t close = value.find(')', secondComma + 1);
    if (close == std::string::npos) {
        return std::nullopt;
    }
    const std::string_view all(value);
    return Rgb{leadingNumber(all.substr(4, firstComma - 4)),
               leadingNumber(all.substr(firstComma + 1, secondComma - firstComma - 1)),
               leadingNumber(all.substr(secondComma + 1, close - secondComma - 1))};
}

std::string formatRgbValue(const Rgb& colour) {
    char text[48];
    std::snprintf(text, sizeof text, "RGB(%d,%d,%d)", colour.red, colour.green, colour.blue);
    return text;
}

std::string startFolderOf(const std::string& value) {
    return folderOf(value);
}

}  // namespace pelorine
