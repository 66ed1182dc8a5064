#pragma once
// The decisions of the settings grid that need no screen: which rows are
// shaded, what a clip time looks like, how a colour value is written, and
// which notifications each kind of commit produces, in order.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "profiles/PropertyItem.h"

namespace pelorine {

// What the grid tells the window after a commit. The order inside one commit
// matters: the window reads the specific notice before the general one.
enum class GridNotice {
    ClipTimeTyped,       // text typed into "Start time"/"End time" was committed
    ValueChanged,        // a combo value was chosen or typed
    OutputFormatChosen,  // an entry was chosen in "Output format"
    ClipVideoChosen,     // an entry was chosen in "Clip video"
};
using GridNotices = std::vector<GridNotice>;

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

// Each commit stores the new value in the row and returns the notices to send.
// A committed edit of a clip time is announced whatever it reads: the window
// checks the time and says what is wrong with it.
GridNotices commitComboChoice(PropertyItem& item, const std::string& entry);
GridNotices commitComboText(PropertyItem& item, const std::string& text);
GridNotices commitEditText(PropertyItem& item, const std::string& text);

// "RGB(r,g,b)" values of colour rows. Parsing needs "RGB" somewhere in the
// value, then reads the numbers from the fifth character on, each up to its
// separator; a value without the separators gives nothing.
std::optional<Rgb> parseRgbValue(const std::string& value);
std::string formatRgbValue(const Rgb& colour);

// The folder a file row's chooser starts in: the value up to its last separator.
std::string startFolderOf(const std::string& value);

}  // namespace pelorine
