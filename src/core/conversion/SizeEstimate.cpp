#include "conversion/SizeEstimate.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "base/Text.h"
#include "conversion/EncoderCommandLine.h"

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

double kbits(const std::string& value) {
    return std::max(0, text::leadingInt(value)) * 1000.0;
}

// A split text as the engine takes it ("00:10:00", "650mb"): a length in
// seconds or a size in bytes; neither for anything else.
struct SplitLimit {
    double seconds = 0;
    double bytes = 0;
};

SplitLimit splitLimit(const std::string& split) {
    SplitLimit limit;
    if (split.size() == 8 && split[2] == ':' && split[5] == ':') {
        limit.seconds = text::leadingInt(split.substr(0, 2)) * 3600.0 +
                        text::leadingInt(split.substr(3, 2)) * 60.0 +
                        text::leadingInt(split.substr(6, 2));
        return limit;
    }
    for (const auto& [unit, factor] : {std::pair{"kb", 1024.0}, std::pair{"mb", 1048576.0},
                                       std::pair{"gb", 1073741824.0}, std::pair{"b", 1.0}}) {
        if (split.ends_with(unit)) {
            limit.bytes = std::atof(split.c_str()) * factor;
            return limit;
        }
    }
    return limit;
}

}  // namespace

std::uint64_t containerBytes(const Job& job, double seconds) {
    if (text::lower(job.outputFormat) == "mp3") {
        return static_cast<std::uint64_t>(kMp3HeaderBytes);
    }
    return static_cast<std::uint64_t>(kMp4HeaderBytes + kMp4BytesPerSecond * seconds);
}

OutputEstimate estimateOutput(const Job& job) {
    OutputEstimate estimate;
    estimate.seconds = job.clipEnabled != 0 ? std::max(0.0, job.clipEnd - job.clipStart)
                                            : std::max(0.0, job.duration);
    const bool mp3 = text::lower(job.outputFormat) == "mp3";
    double rate = job.audioDisabled == "no" ? kbits(job.audioBitrate) : 0.0;
    if (!mp3 && job.videoDisabled == "no") {
        rate += kbits(job.videoBitrate);
    }
    const double streams = rate / 8.0 * estimate.seconds;
    const EncoderCommandLine line(job, EngineInvocation{});
    if (line.splitOutput()) {
        const SplitLimit limit = splitLimit(line.splitText());
        // Parts cut by size end a little before their limit (the engine keeps a reserve).
        double parts = 1;
        if (limit.seconds > 0) {
            parts = std::ceil(estimate.seconds / limit.seconds - 1e-9);
        } else if (limit.bytes > 0) {
            parts = std::ceil(streams / (limit.bytes * 0.95) - 1e-9);
        }
        estimate.parts = std::max(1, static_cast<int>(parts));
    }
    estimate.bytes = static_cast<std::uint64_t>(streams) +
                     static_cast<std::uint64_t>(estimate.parts) *
                         containerBytes(job, estimate.seconds / estimate.parts);
    return estimate;
}

std::uint64_t totalEstimate(const std::vector<const Job*>& jobs) {
    std::uint64_t total = 0;
    for (const Job* job : jobs) {
        total += estimateOutput(*job).bytes;
    }
    return total;
}

}  // namespace pelorine
