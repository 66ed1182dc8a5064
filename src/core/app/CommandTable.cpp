#include "app/CommandTable.h"

#include <stdexcept>

namespace pelorine {

void CommandTable::add(std::initializer_list<int> ids, Guard guard, const Handler& handler) {
    for (const int id : ids) {
        if (!entries_.emplace(id, Entry{guard, handler}).second) {
            throw std::logic_error("command " + std::to_string(id) + " is in the table twice");
        }
    }
}

const CommandTable::Entry* CommandTable::find(int id) const {
    const auto found = entries_.find(id);
    return found == entries_.end() ? nullptr : &found->second;
}

}  // namespace pelorine
