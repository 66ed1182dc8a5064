#pragma once
// Little-endian encoding of the fixed-layout binary records (channel files,
// project and profile files). Every record is little-endian with IEEE doubles,
// whatever the host.

#include <bit>
#include <cstdint>
#include <cstring>
#include <span>

namespace pelorine::le {

template <typename T>
T load(std::span<const std::uint8_t> bytes, std::size_t offset) {
    static_assert(sizeof(T) <= 8);
    std::uint8_t raw[sizeof(T)];
    for (std::size_t i = 0; i < sizeof(T); ++i) {
        raw[i] =
            bytes[offset + (std::endian::native == std::endian::little ? i : sizeof(T) - 1 - i)];
    }
    T value;
    std::memcpy(&value, raw, sizeof(T));
    return value;
}

template <typename T>
void store(std::span<std::uint8_t> bytes, std::size_t offset, T value) {
    static_assert(sizeof(T) <= 8);
    std::uint8_t raw[sizeof(T)];
    std::memcpy(raw, &value, sizeof(T));
    for (std::size_t i = 0; i < sizeof(T); ++i) {
        bytes[offset + (std::endian::native == std::endian::little ? i : sizeof(T) - 1 - i)] =
            raw[i];
    }
}

}  // namespace pelorine::le
