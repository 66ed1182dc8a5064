#pragma once
// Language names as tracks, subtitle files and the user's preferences give
// them: an ISO 639-1 code ("en"), an ISO 639-2 code of either form ("eng",
// "fre"/"fra") or the English name ("English"), in any case. The engine's
// info record names the languages it knows by their English name and others
// by their code.

#include <string>
#include <string_view>
#include <vector>

namespace pelorine {

// The English name of a known language in any of its forms ("ja", "JPN",
// "japanese" give "Japanese", and with a region "pt-BR" gives "Portuguese");
// any other text as it is, blanks trimmed.
std::string languageName(std::string_view text);
// Whether the name is one the table knows.
bool knownLanguage(std::string_view text);
// Whether `a` and `b` name the same language: "eng" and "en", "English" and
// "en". An empty or unknown ("unknown", "und") name matches nothing.
bool sameLanguage(std::string_view a, std::string_view b);

// A list of languages as the user types it: separated by commas or blanks,
// empty entries left out ("jpn, en" gives {"jpn", "en"}).
std::vector<std::string> languageList(std::string_view text);
// The list written back: "jpn, en".
std::string languageListText(const std::vector<std::string>& languages);

}  // namespace pelorine
