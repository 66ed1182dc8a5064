#include "settings/IniFile.h"

#include "base/Text.h"

namespace pelorine {
namespace {

// The name of a "[name]" line, or false when the line is not a section header.
bool sectionName(std::string_view line, std::string& name) {
    const std::string trimmed = text::trim(line);
    if (trimmed.size() < 2 || trimmed.front() != '[') {
        return false;
    }
    const auto close = trimmed.find(']');
    if (close == std::string::npos) {
        return false;
    }
    name = text::trim(std::string_view(trimmed).substr(1, close - 1));
    return true;
}

bool sameName(std::string_view a, std::string_view b) {
    return text::lower(a) == text::lower(b);
}

std::string unquote(std::string value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

// The text to store for `value` so that reading gives it back unchanged.
std::string storedForm(std::string_view value) {
    const bool changedByReading =
        text::trim(value) != value || unquote(std::string(value)) != value;
    return changedByReading ? "\"" + std::string(value) + "\"" : std::string(value);
}

}  // namespace

IniFile::IniFile(std::string_view content) {
    std::size_t start = 0;
    while (start < content.size()) {
        auto end = content.find('\n', start);
        if (end == std::string_view::npos) {
            end = content.size();
        }
        std::string line(content.substr(start, end - start));
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        lines_.push_back(std::move(line));
        start = end + 1;
    }
}

std::string IniFile::value(std::string_view section, std::string_view key,
                           std::string_view fallback) const {
    const std::size_t sectionLine = findSection(section);
    if (sectionLine == std::string::npos) {
        return std::string(fallback);
    }
    const std::size_t keyLine = findKey(sectionLine, key);
    if (keyLine == std::string::npos) {
        return std::string(fallback);
    }
    const std::string& line = lines_[keyLine];
    return unquote(text::trim(std::string_view(line).substr(line.find('=') + 1)));
}

void IniFile::setValue(std::string_view section, std::string_view key, std::string_view value) {
    const std::string entry = std::string(key) + "=" + storedForm(value);
    std::size_t sectionLine = findSection(section);
    if (sectionLine == std::string::npos) {
        lines_.push_back("[" + std::string(section) + "]");
        lines_.push_back(entry);
        return;
    }
    const std::size_t keyLine = findKey(sectionLine, key);
    if (keyLine != std::string::npos) {
        lines_[keyLine] = entry;
        return;
    }
    // After the section's last non-blank line, so blank separators stay last.
    std::size_t insertAt = sectionEnd(sectionLine);
    while (insertAt > sectionLine + 1 && text::trim(lines_[insertAt - 1]).empty()) {
        --insertAt;
    }
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(insertAt), entry);
}

std::string IniFile::content() const {
    std::string out;
    for (const auto& line : lines_) {
        out += line;
        out += '\n';
    }
    return out;
}

std::size_t IniFile::findSection(std::string_view section) const {
    std::string name;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (sectionName(lines_[i], name) && sameName(name, section)) {
            return i;
        }
    }
    return std::string::npos;
}

std::size_t IniFile::findKey(std::size_t sectionLine, std::string_view key) const {
    const std::size_t end = sectionEnd(sectionLine);
    for (std::size_t i = sectionLine + 1; i < end; ++i) {
        const std::string& line = lines_[i];
        const auto equals = line.find('=');
        if (equals != std::string::npos &&
            sameName(text::trim(std::string_view(line).substr(0, equals)), key)) {
            return i;
        }
    }
    return std::string::npos;
}

std::size_t IniFile::sectionEnd(std::size_t sectionLine) const {
    std::string name;
    std::size_t i = sectionLine + 1;
    while (i < lines_.size() && !sectionName(lines_[i], name)) {
        ++i;
    }
    return i;
}

}  // namespace pelorine
