#include "conversion/PlannedRuns.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "base/Text.h"
#include "conversion/JobConverter.h"
#include "records/ExitStatus.h"

namespace pelorine {
namespace {

// The share of a size-limited part that is picture and sound rather than
// the container's own bytes.
constexpr double kPayloadShare = 0.98;

// Plays the engine: every run succeeds at once, and part 1 has the planned length.
class PlanningHost final : public ConversionHost {
public:
    PlanningHost(std::string channelFolder, std::optional<double> partLength)
        : channelFolder_(std::move(channelFolder)), partLength_(partLength) {}

    EngineRunResult runEngine(const CommandLineFor& commandLine, const std::string&) override {
        commandLines.push_back(commandLine(channelFolder_));
        EngineRunResult result;
        result.exitStatus = code(ExitStatus::Done);
        return result;
    }
    std::optional<double> measureLength(const std::string&) override { return partLength_; }
    bool stopRequested() const override { return false; }

    std::vector<std::string> commandLines;

private:
    std::string channelFolder_;
    std::optional<double> partLength_;
};

std::optional<double> timeLength(const std::string& text) {
    int hours = 0, minutes = 0, seconds = 0;
    char end = 0;
    if (std::sscanf(text.c_str(), "%d:%d:%d%c", &hours, &minutes, &seconds, &end) != 3) {
        return std::nullopt;
    }
    return hours * 3600.0 + minutes * 60.0 + seconds;
}

// "650mb" as bytes, with the engine's units (kb, mb, gb of 1024).
std::optional<double> sizeBytes(const std::string& text) {
    char* end = nullptr;
    const double number = std::strtod(text.c_str(), &end);
    const std::string unit = text::lower(end ? end : "");
    const double scale = unit == "kb"   ? 1024.0
                         : unit == "mb" ? 1024.0 * 1024.0
                         : unit == "gb" ? 1024.0 * 1024.0 * 1024.0
                         : unit == "b"  ? 1.0
                                        : 0.0;
    if (end == text.c_str() || scale == 0.0 || !(number > 0.0)) {
        return std::nullopt;
    }
    return number * scale;
}

double kilobits(const std::string& text, bool disabled) {
    return disabled ? 0.0 : std::max(0, text::leadingInt(text)) * 1000.0;
}

}  // namespace

std::optional<double> plannedPartLength(const Job& job, bool& estimated) {
    const EncoderCommandLine line(job, {});
    estimated = false;
    if (!line.splitOutput()) {
        return std::nullopt;
    }
    if (const auto time = timeLength(line.splitText())) {
        return time;
    }
    const auto bytes = sizeBytes(line.splitText());
    const double bitsPerSecond = kilobits(job.videoBitrate, job.videoDisabled == "yes") +
                                 kilobits(job.audioBitrate, job.audioDisabled == "yes");
    if (!bytes || bitsPerSecond <= 0.0) {
        return std::nullopt;
    }
    estimated = true;
    return *bytes * 8.0 * kPayloadShare / bitsPerSecond;
}

PlannedRuns planRuns(const Job& job, const EngineInvocation& invocation) {
    PlannedRuns planned;
    planned.settings = checkCommandLineSettings(job);
    if (!planned.settings) {
        return planned;
    }
    planned.partLength = plannedPartLength(job, planned.estimated);
    PlanningHost host(invocation.channelFolder, planned.partLength);
    convertJob(job, invocation, host);
    planned.commandLines = std::move(host.commandLines);
    return planned;
}

}  // namespace pelorine
