#pragma once
// Counts the bytes the program asks for with operator new, so tests can state
// how much memory reading a file takes.

#include <cstddef>

namespace pelorine::testing {

// Bytes requested through operator new since the program started.
std::size_t allocatedBytes();

// The bytes requested while an instance lives.
class AllocationMeter {
public:
    AllocationMeter() : start_(allocatedBytes()) {}
    std::size_t bytes() const { return allocatedBytes() - start_; }

private:
    std::size_t start_;
};

}  // namespace pelorine::testing
