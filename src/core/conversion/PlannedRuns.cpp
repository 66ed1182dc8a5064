#include "conversion/PlannedRuns.h"

#include <algorithm>
#include <utility>

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

double bitsPerSecond(const Typed<int>& kilobits) {
    return std::max(0, kilobits.value) * 1000.0;
}

}  // namespace

std::optional<double> plannedPartLength(const JobSettings& settings, bool& estimated) {
    estimated = false;
    if (!settings.splitOutput()) {
        return std::nullopt;
    }
    const Split& split = settings.split;
    if (split.kind == Split::Kind::ByTime) {
        return split.time.count();
    }
    const double rate = (settings.video ? bitsPerSecond(settings.video->bitrate) : 0.0) +
                        (settings.audio ? bitsPerSecond(settings.audio->bitrate) : 0.0);
    if (split.kind != Split::Kind::BySize || rate <= 0.0) {
        return std::nullopt;
    }
    estimated = true;
    return split.bytes * 8.0 * kPayloadShare / rate;
}

PlannedRuns planRuns(const Job& job, const EngineInvocation& invocation) {
    PlannedRuns planned;
    JobSettings settings;
    planned.settings = readJobSettings(job, settings);
    if (!planned.settings) {
        return planned;
    }
    planned.partLength = plannedPartLength(settings, planned.estimated);
    PlanningHost host(invocation.channelFolder, planned.partLength);
    convertJob(std::move(settings), invocation, host);
    planned.commandLines = std::move(host.commandLines);
    return planned;
}

}  // namespace pelorine
