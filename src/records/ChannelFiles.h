#pragma once
// The three files through which the converter and the engine talk. Shared by
// both programs: the converter writes the control file and reads the other two,
// the engine does the opposite.

#include <array>
#include <cstdint>
#include <string_view>

namespace pelorine::channel {

inline constexpr std::string_view kInfoFileName = "videoinfo.dat";
inline constexpr std::string_view kControlFileName = "vctrl.dat";
inline constexpr std::string_view kProgressFileName = "vprog.dat";

// What the converter asks of the engine.
enum class Command : std::int32_t { Run = 0, Pause = 1, Quit = 2 };

// The control record: exactly 32 bytes, overwritten whole on each write.
inline constexpr std::size_t kControlRecordSize = 32;
namespace control {
inline constexpr std::size_t kCommand = 0;   // int32: 0 run, 1 pause, 2 quit
inline constexpr std::size_t kReserved = 4;  // 12 zero bytes
inline constexpr std::size_t kSpeed = 16;    // float, always 1.0
inline constexpr std::size_t kValue20 = 20;  // int32, 0
inline constexpr std::size_t kValue24 = 24;  // int32, 1
inline constexpr std::size_t kValue28 = 28;  // int32, 0
}  // namespace control

using ControlRecord = std::array<std::uint8_t, kControlRecordSize>;

// The record as the converter writes it after its channel folder was set.
ControlRecord makeControlRecord(Command command);
// The command code of a record as the engine reads it. A record too short to
// hold a code, or holding an unknown one, reads as `fallback` (the engine keeps
// doing what it did).
Command readCommand(const std::uint8_t* data, std::size_t size, Command fallback);

// The progress record: the engine's position in the source, in seconds, as the
// first 8 bytes (an IEEE double). Readers ignore anything after them.
inline constexpr std::size_t kProgressRecordSize = 8;
std::array<std::uint8_t, kProgressRecordSize> makeProgressRecord(double seconds);

}  // namespace pelorine::channel
