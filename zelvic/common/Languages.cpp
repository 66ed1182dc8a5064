#include "common/Languages.h"

#include <map>

namespace zelvic {

std::string languageName(std::string_view code) {
    if (code.empty() || code == "und") {
        return "unknown";
    }
    static const std::map<std::string_view, const char*> kNames = {
        {"en", "English"},     {"eng", "English"},  {"fr", "French"},   {"fra", "French"},
        {"fre", "French"},     {"de", "German"},    {"deu", "German"},  {"ger", "German"},
        {"es", "Spanish"},     {"spa", "Spanish"},  {"it", "Italian"},  {"ita", "Italian"},
        {"ja", "Japanese"},    {"jpn", "Japanese"}, {"zh", "Chinese"},  {"chi", "Chinese"},
        {"zho", "Chinese"},    {"ko", "Korean"},    {"kor", "Korean"},  {"pt", "Portuguese"},
        {"por", "Portuguese"}, {"ru", "Russian"},   {"rus", "Russian"}, {"nl", "Dutch"},
        {"nld", "Dutch"},      {"dut", "Dutch"},
    };
    const auto found = kNames.find(code);
    return found != kNames.end() ? found->second : std::string(code);
}

}  // namespace zelvic
