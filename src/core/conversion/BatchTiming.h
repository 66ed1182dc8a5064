#pragma once
// How fast a batch goes and how long it still needs, from the engine's
// position reports: the speed over a sliding window of wall time (seconds of
// source per second of wall time, "x real time"), and the time left for the
// Job being converted and for the whole batch. Plain arithmetic, fed by
// whoever follows a batch: the window's progress timer and the command
// line's status line.

#include <deque>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "base/TimeText.h"
#include "conversion/BatchProgress.h"
#include "jobs/Job.h"

namespace pelorine {

// The engine's speed over the last few seconds of wall time.
class RateWindow {
public:
    explicit RateWindow(double spanSeconds = 5.0) : span_(spanSeconds) {}

    void reset() { samples_.clear(); }
    // The engine was at `position` seconds of the source at `wallSeconds`.
    // A position that goes back (a new part of a split Job) starts afresh.
    void add(double wallSeconds, double position);
    // Seconds of source per wall second; nothing until half a second of
    // samples has been seen.
    std::optional<double> speed() const;

private:
    struct Sample {
        double wall;
        double position;
    };
    double span_;
    std::deque<Sample> samples_;
};

// How far a Job is at `position` seconds of its source: `done` seconds of the
// `expected` ones. A clipped Job counts from its clip start over the clip's
// length; a position past that length counts against the whole source (as
// the progress bars do).
struct JobShare {
    double done = 0.0;
    double expected = 0.0;
};
JobShare jobShare(const Job& job, double position);

// The seconds of source a Job converts: its clip, or the whole source.
double convertedLength(const Job& job);

// What the window shows of a running batch at one look.
struct BatchSnapshot {
    std::optional<int> jobPercent;  // the current Job's share done, 0 .. 100
    std::optional<double> speed;    // seconds of source per wall second
    std::optional<double> jobSecondsLeft;
    std::optional<double> batchSecondsLeft;  // the current Job and those after it
};

class BatchTiming {
public:
    explicit BatchTiming(double spanSeconds = 5.0) : window_(spanSeconds) {}

    // One look at a batch converting Job `currentJob` (1-based; 0 before the
    // first) of `jobs`, whose engine is at `position` seconds of the source
    // (0 or less: no report yet), at `wallSeconds`. A new Job starts a new
    // speed window. The Jobs after the current one are expected to go as fast.
    BatchSnapshot update(const std::vector<Job>& jobs, int currentJob, double position,
                         double wallSeconds);

private:
    RateWindow window_;
    int job_ = 0;
};

// One of several Jobs converting at once, at one look: what its Status cell
// and, when it is the one followed, the Progress bar show.
struct RunningJobSnapshot {
    std::size_t row = 0;
    std::optional<int> percent;  // its share done, 0 .. 100
    std::optional<double> speed;
    std::optional<double> secondsLeft;
};

// A batch converting several Jobs at once, at one look.
struct SideBySideSnapshot {
    std::vector<RunningJobSnapshot> jobs;  // the running ones, in row order
    // The whole batch's share done, each Job weighted by its length
    // (batchPercent).
    std::optional<int> totalPercent;
    // What is left of the running Jobs and of those waiting, at the speed
    // the running ones make together.
    std::optional<double> batchSecondsLeft;
};

// The whole batch's share done, 0 .. 100: every Job weighted by the seconds
// it converts (convertedLength), the Jobs over counted whole and the running
// ones by how far their engines are; nothing when no Job has a length.
std::optional<int> batchPercent(const std::vector<Job>& jobs, const BatchState& state);

// The speed and time left of several Jobs converting at once, each with a
// speed window of its own.
class SideBySideTiming {
public:
    explicit SideBySideTiming(double spanSeconds = 5.0) : span_(spanSeconds) {}

    SideBySideSnapshot update(const std::vector<Job>& jobs, const BatchState& state,
                              double wallSeconds);

private:
    double span_;
    std::map<std::size_t, RateWindow> windows_;  // by row, the running Jobs only
};

// The line under the window's bars: "1.8× real time   this job 1:23 left   all
// 12:05 left", each part only when known; empty before anything is.
std::string timingText(const BatchSnapshot& snapshot);

}  // namespace pelorine
