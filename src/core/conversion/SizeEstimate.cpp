#include "conversion/SizeEstimate.h"

#include <algorithm>
#include <cmath>

namespace pelorine {
namespace {

// Measured on the engine's outputs of the built-in profiles (file size less
// the packets' bytes): 5.6 KB for 6 s, 8.1 KB for 10 s, 11.3 KB for 15 s,
// about 9 bytes of index for each of the 25 pictures and 43 sound packets a
// second.
constexpr double kMp4HeaderBytes = 2048;
constexpr double kMp4BytesPerSecond = 640;
// A bare MP3 has no container; the encoder pads a frame now and then.
constexpr double kMp3HeaderBytes = 0;

double bytesPerSecond(const Typed<int>& kilobits) {
    return std::max(0, kilobits.value) * 1000.0 / 8.0;
}

// The container's own bytes for `seconds` of output.
std::uint64_t containerBytes(const JobSettings& settings, double seconds) {
    if (settings.mp3()) {
        return static_cast<std::uint64_t>(kMp3HeaderBytes);
    }
    return static_cast<std::uint64_t>(kMp4HeaderBytes + kMp4BytesPerSecond * seconds);
}

// Parts cut by size end a little before their limit (the engine keeps a reserve).
int partCount(const Split& split, double seconds, double streamBytes) {
    double parts = 1;
    if (split.kind == Split::Kind::ByTime && split.time.count() > 0) {
        parts = std::ceil(seconds / split.time.count() - 1e-9);
    } else if (split.kind == Split::Kind::BySize) {
        parts = std::ceil(streamBytes / (split.bytes * 0.95) - 1e-9);
    }
    return std::max(1, static_cast<int>(parts));
}

}  // namespace

OutputEstimate estimateOutput(const JobSettings& settings) {
    OutputEstimate estimate;
    estimate.seconds = std::max(0.0, settings.convertedLength().count());
    double rate = settings.audio ? bytesPerSecond(settings.audio->bitrate) : 0.0;
    if (!settings.mp3() && settings.video) {
        rate += bytesPerSecond(settings.video->bitrate);
    }
    const double streams = rate * estimate.seconds;
    if (settings.splitOutput()) {
        estimate.parts = partCount(settings.split, estimate.seconds, streams);
    }
    estimate.bytes = static_cast<std::uint64_t>(streams) +
                     static_cast<std::uint64_t>(estimate.parts) *
                         containerBytes(settings, estimate.seconds / estimate.parts);
    return estimate;
}

OutputEstimate estimateOutput(const Job& job) {
    return estimateOutput(jobSettingsOf(job));
}

}  // namespace pelorine
