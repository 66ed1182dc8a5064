#pragma once
// One row of the settings grid: a name, its value and how the value is
// edited. The rows belong to the main window; the grid only shows them.

#include <cstdint>
#include <string>
#include <vector>

namespace pelorine {

enum class EditorKind : std::int32_t { Combo = 0, Edit = 1, Colour = 2, Font = 3, File = 4 };

struct PropertyItem {
    std::string name;   // the caption, also the key the window looks rows up by
    std::string value;  // shown in the right column
    EditorKind kind = EditorKind::Combo;
    std::string options;         // combo entries, each followed by "|"
    std::int32_t fixedList = 1;  // combo: 1 a pure drop-down list, 0 also accepts typing

    bool operator==(const PropertyItem&) const = default;
};

// The combo entries of an option list: the texts before each "|"; text after
// the last "|" is not an entry.
std::vector<std::string> optionEntries(const std::string& options);

}  // namespace pelorine
