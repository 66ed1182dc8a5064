#pragma once
// A settings file in the private-profile (INI) format: "[SECTION]" lines and
// "Key=Value" lines. Section and key names match without regard to the case
// of ASCII letters; values lose surrounding blanks and one pair of
// surrounding quotes when read (a value that would lose something that way is
// written in quotes, so it reads back as it was). Writing a key keeps every other line of the
// file as it was. Any content, damaged or binary, is read without failing:
// what cannot be understood is kept and passed over.

#include <string>
#include <string_view>
#include <vector>

namespace pelorine {

class IniFile {
public:
    IniFile() = default;
    explicit IniFile(std::string_view content);

    // The value of `key` in `section`, or `fallback` when there is none.
    std::string value(std::string_view section, std::string_view key,
                      std::string_view fallback) const;
    void setValue(std::string_view section, std::string_view key, std::string_view value);

    std::string content() const;

private:
    // Index of the "[section]" line, or npos.
    std::size_t findSection(std::string_view section) const;
    // Index of the key line inside the section starting at `sectionLine`, or npos.
    std::size_t findKey(std::size_t sectionLine, std::string_view key) const;
    std::size_t sectionEnd(std::size_t sectionLine) const;

    std::vector<std::string> lines_;
};

}  // namespace pelorine
