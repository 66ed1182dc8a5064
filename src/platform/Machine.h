#pragma once
// What the machine offers this program: the processors it may run on and
// the memory still available, asked when a batch starts.

#include <cstdint>
#include <optional>

namespace pelorine::platform {

struct MachineFacts {
    // The processors this process may run on (a `taskset` narrows them); at least 1.
    int processors = 1;
    // The memory that can be taken without swapping, in bytes; nothing when unknown.
    std::optional<std::uint64_t> availableMemory;
};

class Machine {
public:
    virtual ~Machine() = default;
    virtual MachineFacts facts() const = 0;
};

Machine& systemMachine();

}  // namespace pelorine::platform
