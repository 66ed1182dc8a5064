#include "handheld/HandheldLayout.h"

#include <cctype>
#include <cstdio>

namespace pelorine::handheld {
namespace {

constexpr int kLastNumber = 99999;

std::string upper(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return out;
}

std::string joined(const std::string& folder, std::string_view name) {
    return folder.ends_with('/') ? folder + std::string(name) : folder + "/" + std::string(name);
}

std::string fiveDigits(int number) {
    char text[16];
    std::snprintf(text, sizeof text, "%05d", number);
    return text;
}

// The number of a name PREFIX#####.EXT (any case, any extension), or -1.
int numberOf(const std::string& upperName, const std::string& prefix) {
    if (!upperName.starts_with(prefix) || upperName.size() < prefix.size() + 5) {
        return -1;
    }
    int number = 0;
    for (std::size_t i = prefix.size(); i < prefix.size() + 5; ++i) {
        if (!std::isdigit(static_cast<unsigned char>(upperName[i]))) {
            return -1;
        }
        number = number * 10 + (upperName[i] - '0');
    }
    const bool ends = upperName.size() == prefix.size() + 5 || upperName[prefix.size() + 5] == '.';
    return ends ? number : -1;
}

}  // namespace

std::string fatSafeName(std::string_view title, std::size_t maxBytes) {
    std::string name;
    for (const char c : title) {
        const auto byte = static_cast<unsigned char>(c);
        const bool unsafe = byte < 0x20 || byte == 0x7f ||
                            std::string_view("?\"*:<>|\\/").find(c) != std::string_view::npos;
        name.push_back(unsafe ? '_' : c);
    }
    if (name.size() > maxBytes) {
        std::size_t cut = maxBytes;
        while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80) {
            --cut;
        }
        name.erase(cut);
    }
    while (!name.empty() && (name.back() == ' ' || name.back() == '.')) {
        name.pop_back();
    }
    const std::size_t first = name.find_first_not_of(' ');
    name = first == std::string::npos ? std::string() : name.substr(first);
    return name.empty() ? "Video" : name;
}

HandheldLayout::HandheldLayout(std::string root, const platform::FileSystem& files,
                               bool newerFirmware)
    : root_(std::move(root)), files_(files), newerFirmware_(newerFirmware) {
    while (root_.size() > 1 && root_.ends_with('/')) {
        root_.pop_back();
    }
}

std::set<std::string> HandheldLayout::takenIn(const std::string& folder) const {
    std::set<std::string> taken;
    for (const std::string& name : files_.listFolder(folder)) {
        taken.insert(upper(name));
    }
    const std::string prefix = upper(joined(folder, ""));
    for (const std::string& path : given_) {
        if (path.starts_with(prefix)) {
            taken.insert(path.substr(prefix.size()));
        }
    }
    return taken;
}

std::optional<HandheldPlace> HandheldLayout::numbered(const std::string& folder,
                                                      const std::string& prefix) {
    const std::set<std::string> taken = takenIn(folder);
    int highest = 0;
    for (const std::string& name : taken) {
        highest = std::max(highest, numberOf(name, prefix));
    }
    // After the highest number in use; when that was the last one, the
    // lowest that no file of any extension uses.
    const auto free = [&](int number) {
        for (const std::string& name : taken) {
            if (numberOf(name, prefix) == number) {
                return false;
            }
        }
        return true;
    };
    int number = highest + 1;
    if (number > kLastNumber) {
        number = 1;
        while (number <= kLastNumber && !free(number)) {
            ++number;
        }
        if (number > kLastNumber) {
            return std::nullopt;
        }
    }
    const std::string base = prefix + fiveDigits(number);
    HandheldPlace place{folder, joined(folder, base + ".MP4"), joined(folder, base + ".THM")};
    given_.insert(upper(place.file));
    given_.insert(upper(place.thumbnail));
    return place;
}

HandheldPlace HandheldLayout::titled(const std::string& folder, std::string_view title,
                                     const std::string& ext, bool thumbnail) {
    const std::set<std::string> taken = takenIn(folder);
    const std::string name = fatSafeName(title);
    std::string base = name;
    for (int copy = 2;
         taken.contains(upper(base + ext)) || (thumbnail && taken.contains(upper(base + ".THM")));
         ++copy) {
        base = name + " (" + std::to_string(copy) + ")";
    }
    HandheldPlace place{folder, joined(folder, base + ext),
                        thumbnail ? joined(folder, base + ".THM") : std::string()};
    given_.insert(upper(place.file));
    if (thumbnail) {
        given_.insert(upper(place.thumbnail));
    }
    return place;
}

std::optional<HandheldPlace> HandheldLayout::place(HandheldMedia media, std::string_view title) {
    switch (media) {
        case HandheldMedia::Music:
            return titled(joined(root_, "MUSIC"), title, ".MP3", false);
        case HandheldMedia::AvcVideo:
            if (!newerFirmware_) {
                return numbered(joined(root_, "MP_ROOT/100ANV01"), "MAQ");
            }
            break;
        case HandheldMedia::Mpeg4Video:
            if (!newerFirmware_) {
                return numbered(joined(root_, "MP_ROOT/100MNV01"), "M4V");
            }
            break;
    }
    return titled(joined(root_, "VIDEO"), title, ".MP4", true);
}

}  // namespace pelorine::handheld
