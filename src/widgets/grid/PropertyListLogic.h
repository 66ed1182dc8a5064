#pragma once
// The decisions of the settings grid that need no screen: which rows are
// shaded and how a colour value is written.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "profiles/PropertyItem.h"

namespace pelorine {

struct Rgb {
    int red = 0;
    int green = 0;
    int blue = 0;
    bool operator==(const Rgb&) const = default;
};

// Rows about the picture stand out: their name begins with "video" in any case.
bool isVideoRow(std::string_view name);
Rgb nameCellShade(std::string_view name);
inline constexpr Rgb kGridLineColour{200, 200, 200};

// "RGB(r,g,b)" values of colour rows. Parsing needs "RGB" somewhere in the
// value, then reads the numbers from the fifth character on, each up to its
// separator; a value without the separators gives nothing.
std::optional<Rgb> parseRgbValue(const std::string& value);
std::string formatRgbValue(const Rgb& colour);

// The folder a file row's chooser starts in: the value up to its last separator.
std::string startFolderOf(const std::string& value);

}  // namespace pelorine
