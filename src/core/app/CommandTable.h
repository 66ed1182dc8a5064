#pragma once
// The window's commands: each id names a guard and a handler, so a new
// command cannot forget its guard. A handler is given what the window showed
// when the command came.

#include <functional>
#include <initializer_list>
#include <map>

#include "app/Activity.h"

namespace pelorine {

class CommandTable {
public:
    using Handler = std::function<void(const WindowState&)>;
    struct Entry {
        Guard guard = Guard::None;
        Handler handler;
    };

    // Every id in `ids` runs `handler` once `guard` lets it.
    void add(std::initializer_list<int> ids, Guard guard, const Handler& handler);
    // The entry of `id`, or nullptr when it is not a command.
    const Entry* find(int id) const;

private:
    std::map<int, Entry> entries_;
};

}  // namespace pelorine
