#include "tracks/Languages.h"

#include <array>

#include "base/Text.h"

namespace pelorine {
namespace {

struct Language {
    const char* name;
    const char* part1;
    const char* part2;   // the terminology code
    const char* part2b;  // the bibliographic code where it differs
};

constexpr std::array<Language, 32> kLanguages = {{
    {"English", "en", "eng", ""},    {"Japanese", "ja", "jpn", ""},
    {"French", "fr", "fra", "fre"},  {"German", "de", "deu", "ger"},
    {"Spanish", "es", "spa", ""},    {"Italian", "it", "ita", ""},
    {"Chinese", "zh", "zho", "chi"}, {"Korean", "ko", "kor", ""},
    {"Portuguese", "pt", "por", ""}, {"Russian", "ru", "rus", ""},
    {"Dutch", "nl", "nld", "dut"},   {"Swedish", "sv", "swe", ""},
    {"Norwegian", "no", "nor", ""},  {"Danish", "da", "dan", ""},
    {"Finnish", "fi", "fin", ""},    {"Polish", "pl", "pol", ""},
    {"Czech", "cs", "ces", "cze"},   {"Hungarian", "hu", "hun", ""},
    {"Greek", "el", "ell", "gre"},   {"Turkish", "tr", "tur", ""},
    {"Arabic", "ar", "ara", ""},     {"Hebrew", "he", "heb", ""},
    {"Hindi", "hi", "hin", ""},      {"Thai", "th", "tha", ""},
    {"Vietnamese", "vi", "vie", ""}, {"Indonesian", "id", "ind", ""},
    {"Ukrainian", "uk", "ukr", ""},  {"Romanian", "ro", "ron", "rum"},
    {"Bulgarian", "bg", "bul", ""},  {"Croatian", "hr", "hrv", ""},
    {"Serbian", "sr", "srp", ""},    {"Catalan", "ca", "cat", ""},
}};

const Language* find(std::string_view text) {
    const std::string lowered = text::lower(text::trim(text));
    if (lowered.empty()) {
        return nullptr;
    }
    for (const Language& language : kLanguages) {
        if (lowered == text::lower(language.name) || lowered == language.part1 ||
            lowered == language.part2 || lowered == language.part2b) {
            return &language;
        }
    }
    // A code with its region ("pt-BR", "en_US") is the language's.
    if (const std::size_t region = lowered.find_first_of("-_");
        region != std::string::npos && region > 0) {
        return find(std::string_view(lowered).substr(0, region));
    }
    return nullptr;
}

}  // namespace

std::string languageName(std::string_view text) {
    const Language* language = find(text);
    return language ? language->name : text::trim(text);
}

bool knownLanguage(std::string_view text) {
    return find(text) != nullptr;
}

bool sameLanguage(std::string_view a, std::string_view b) {
    const std::string left = text::lower(languageName(a));
    if (left.empty() || left == "unknown" || left == "und") {
        return false;
    }
    return left == text::lower(languageName(b));
}

std::vector<std::string> languageList(std::string_view text) {
    std::vector<std::string> languages;
    std::string current;
    for (const char c : text) {
        if (c == ',' || c == ' ' || c == '\t' || c == ';') {
            if (!current.empty()) {
                languages.push_back(std::move(current));
                current.clear();
            }
        } else {
            current += c;
        }
    }
    if (!current.empty()) {
        languages.push_back(std::move(current));
    }
    return languages;
}

std::string languageListText(const std::vector<std::string>& languages) {
    std::string out;
    for (const std::string& language : languages) {
        out += (out.empty() ? "" : ", ") + language;
    }
    return out;
}

}  // namespace pelorine
