#pragma once
// The status line of the Job being converted: its place in the batch, its
// name, how far it is, how fast the engine goes (seconds of source per second
// of wall time) and how long it still needs. On a terminal the line is redrawn
// in place; elsewhere a plain line is written at every tenth of the Job.

#include <cstddef>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "conversion/BatchTiming.h"

namespace pelorine::cli {

// The speed window and the time texts are the window's as well.
using pelorine::durationText;
using pelorine::RateWindow;

struct JobStatus {
    std::size_t number = 1;  // 1-based
    std::size_t count = 1;
    std::string name;  // the source's file name
    int percent = 0;
    std::optional<double> speed;
    std::optional<double> secondsLeft;
};

// "[2/5] holiday.avi  42%  1.8x real time  1:23 left", at most `width`
// characters: a long name is shortened in the middle.
std::string statusText(const JobStatus& status, std::size_t width);

// A batch converting several Jobs at once.
struct BatchStatus {
    std::size_t count = 1;
    // Each running Job's 1-based place and percentage, in list order.
    std::vector<std::pair<std::size_t, int>> jobs;
    int percent = 0;  // the whole batch's
    std::optional<double> secondsLeft;
};

// "[1/5] 42%  [3/5] 7%  total 20%  3:10 left", at most `width` characters:
// the Jobs that do not fit are left out, the total always stays.
std::string statusText(const BatchStatus& status, std::size_t width);

// Decides when to write: on a terminal every change is drawn over the last
// line; otherwise only each new tenth of a Job is written as its own line.
class StatusPrinter {
public:
    explicit StatusPrinter(bool terminal, std::size_t width = 80)
        : terminal_(terminal), width_(width) {}

    // The text to write for `status` (empty when nothing is to be written).
    std::string update(const JobStatus& status);
    // The same for several Jobs at once; elsewhere than on a terminal a
    // line at each tenth of the whole batch.
    std::string update(const BatchStatus& status);
    // The text that ends the status line before other output (a line end on
    // a terminal when a status is shown).
    std::string clear();

private:
    // `text` fitted to the terminal by `fit`; elsewhere written when `key`
    // (a Job's place, 0 for the batch) or `tenth` changed.
    template <typename Fit>
    std::string draw(Fit fit, std::size_t key, int tenth);

    bool terminal_;
    std::size_t width_;
    bool shown_ = false;
    std::string last_;
    std::size_t lastJob_ = 0;
    int lastTenth_ = -1;
};

}  // namespace pelorine::cli
