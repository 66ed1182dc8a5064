#include "records/ChannelFiles.h"

#include "base/LittleEndian.h"

namespace pelorine::channel {

ControlRecord makeControlRecord(Command command) {
    ControlRecord record{};
    le::store<std::int32_t>(record, control::kCommand, static_cast<std::int32_t>(command));
    le::store<float>(record, control::kSpeed, 1.0f);
    le::store<std::int32_t>(record, control::kValue20, 0);
    le::store<std::int32_t>(record, control::kValue24, 1);
    le::store<std::int32_t>(record, control::kValue28, 0);
    return record;
}

Command readCommand(const std::uint8_t* data, std::size_t size, Command fallback) {
    if (size < 4) {
        return fallback;
    }
    const auto code = le::load<std::int32_t>(std::span(data, size), control::kCommand);
    switch (code) {
        case 0:
            return Command::Run;
        case 1:
            return Command::Pause;
        case 2:
            return Command::Quit;
        default:
            return fallback;
    }
}

std::array<std::uint8_t, kProgressRecordSize> makeProgressRecord(double seconds) {
    std::array<std::uint8_t, kProgressRecordSize> record{};
    le::store<double>(record, 0, seconds);
    return record;
}

}  // namespace pelorine::channel
