#include "conversion/JobConverter.h"

#include <cmath>
#include <utility>

#include "records/ExitStatus.h"

namespace pelorine {
namespace {

// Shorter than one frame at the highest rate the engine writes by default.
constexpr double kShortestPart = 1.0 / 30.0;

class JobRuns {
public:
    JobRuns(JobSettings settings, const EngineInvocation& invocation, ConversionHost& host)
        : line_(std::move(settings), invocation), host_(host) {}

    JobReport convert() {
        const std::optional<ClipRange>& clip = line_.settings().clip;
        if (!line_.splitOutput()) {
            run(clip ? EncoderCommandLine::timing(clip->start.count(), clip->length().count()) : "",
                line_.firstOutput());
        } else if (!clip) {
            splitPlan();
        } else {
            clipSplitPlan(*clip);
        }
        return std::move(report_);
    }

private:
    void run(const std::string& timing, const std::string& output) {
        std::string commandLine;
        const auto result = host_.runEngine(
            [&](const std::string& channelFolder) {
                commandLine = line_.commandLine(timing, output, channelFolder);
                return commandLine;
            },
            output);
        report_.runs.push_back({commandLine, output, result});
    }

    void runPart(int part, double start) {
        run(EncoderCommandLine::timing(start, line_.splitText()), line_.partFileName(part));
    }

    // Where the part after the last run starts: where that run's output
    // ended, as the engine's last progress record says, so consecutive parts
    // meet exactly; the measured length on from `start` when it said nothing.
    double nextStart(double start, double partLength) const {
        const EngineRunResult& last = report_.runs.back().result;
        // A record well short of a part is a position during the run, not its end.
        const bool reported =
            last.exitStatus == code(ExitStatus::Done) && last.lastPosition > start + partLength / 2;
        return reported ? last.lastPosition : start + partLength;
    }

    bool stopped() {
        report_.stopped = report_.stopped || host_.stopRequested();
        return report_.stopped;
    }

    // The length of part 1, which every later part shares; nullopt ends the Job.
    std::optional<double> measureFirstPart() {
        if (stopped()) {
            return std::nullopt;
        }
        const auto length = host_.measureLength(line_.partFileName(1));
        if (!length || !(*length > 0.0)) {
            report_.measureFailed = true;
            return std::nullopt;
        }
        return length;
    }

    void splitPlan() {
        run(EncoderCommandLine::firstPartTiming(line_.splitText()), line_.partFileName(1));
        const auto partLength = measureFirstPart();
        if (!partLength) {
            return;
        }
        const double duration = line_.settings().source.length.count();
        const int parts = static_cast<int>(std::trunc(duration / *partLength)) + 1;
        double start = nextStart(0.0, *partLength);
        for (int part = 2; part <= parts; ++part) {
            // A duration that is an exact multiple of the part length leaves
            // nothing for a last part.
            if (stopped() || start >= duration - kShortestPart) {
                return;
            }
            runPart(part, start);
            start = nextStart(start, *partLength);
        }
    }

    void clipSplitPlan(const ClipRange& clip) {
        const double clipStart = clip.start.count();
        const double clipEnd = clip.end.count();
        run(EncoderCommandLine::timing(clipStart, line_.splitText()), line_.partFileName(1));
        const auto partLength = measureFirstPart();
        const double clipLength = clipEnd - clipStart;
        if (!partLength || *partLength > clipLength) {
            return;  // part 1 holds the whole clip
        }
        const int fullParts = static_cast<int>(std::trunc(clipLength / *partLength));
        int last = 1;
        double start = nextStart(clipStart, *partLength);
        for (int part = 2; part <= fullParts; ++part) {
            if (stopped()) {
                return;
            }
            runPart(part, start);
            start = nextStart(start, *partLength);
            last = part;
        }
        // Rounding leaves a last part of a few femtoseconds where the clip is
        // a multiple of the part length: a part shorter than a frame is not run.
        if (stopped() || clipEnd - start < kShortestPart) {
            return;
        }
        run(EncoderCommandLine::timing(start, clipEnd - start), line_.partFileName(last + 1));
    }

    EncoderCommandLine line_;
    ConversionHost& host_;
    JobReport report_;
};

}  // namespace

JobReport convertJob(JobSettings settings, const EngineInvocation& invocation,
                     ConversionHost& host) {
    return JobRuns(std::move(settings), invocation, host).convert();
}

}  // namespace pelorine
