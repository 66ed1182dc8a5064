#include "profiles/PropertyItem.h"

namespace pelorine {

std::vector<std::string> optionEntries(const std::string& options) {
    std::vector<std::string> entries;
    std::size_t start = 0;
    for (auto bar = options.find('|'); bar != std::string::npos; bar = options.find('|', start)) {
        entries.push_back(options.substr(start, bar - start));
        start = bar + 1;
    }
    return entries;
}

}  // namespace pelorine
