#pragma once
// Expected file contents written out by hand in tests: texts with their
// one-byte prefix, 32-bit integers, and raw bytes (doubles are given as their
// IEEE bytes, low byte first).

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace pelorine::testing {

class FileBytes {
public:
    // A text shorter than 255 bytes: its length, then the bytes.
    FileBytes& str(const std::string& text) {
        bytes_.push_back(static_cast<std::uint8_t>(text.size()));
        bytes_.insert(bytes_.end(), text.begin(), text.end());
        return *this;
    }
    FileBytes& i32(std::int32_t value) {
        const auto bits = static_cast<std::uint32_t>(value);
        for (int shift = 0; shift < 32; shift += 8) {
            bytes_.push_back(static_cast<std::uint8_t>(bits >> shift));
        }
        return *this;
    }
    FileBytes& raw(std::initializer_list<std::uint8_t> bytes) {
        bytes_.insert(bytes_.end(), bytes);
        return *this;
    }
    FileBytes& raw(const std::string& bytes) {
        bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
        return *this;
    }
    const std::vector<std::uint8_t>& bytes() const { return bytes_; }

private:
    std::vector<std::uint8_t> bytes_;
};

}  // namespace pelorine::testing
