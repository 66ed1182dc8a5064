#pragma once
// The list view's adapter: keeps the rows of the window's job list in step
// with the JobList. Row i shows Job i: its place, source, clip texts, the
// file(s) it writes, its format, the estimated size of its output, and its
// status in the last batch. A cell is written when the Job's field behind it
// changes, so clip texts shown by showClipTexts() stay until the Job's own
// texts change.

#include <array>
#include <string>
#include <vector>

#include "app/MainView.h"
#include "conversion/BatchRun.h"
#include "conversion/BatchTiming.h"
#include "jobs/JobList.h"

namespace pelorine {

class JobRows final : public JobListObserver {
public:
    explicit JobRows(MainView& view) : view_(view) {}

    void jobAppended(std::size_t row, const Job& job) override;
    void jobRemoved(std::size_t row) override;
    void jobsCleared() override;
    void jobChanged(std::size_t row, const Job& job) override;

    // The clip texts of a row where they differ from its Job's own: typed
    // times and a clip switched off are shown as such while the Job keeps
    // its texts.
    void showClipTexts(std::size_t row, const std::string& start, const std::string& end);

    // The status column during and after a batch of the first `count` rows:
    // all waiting at its start; "converting", with its share once known, for
    // the Job going on; the outcome of each Job as it ends; and nothing for
    // those a stopped batch did not reach.
    void batchStarted(std::size_t count);
    void jobConverting(std::size_t row, std::optional<int> percent);
    // One of several Jobs converting at once: its share, speed and time left.
    void jobConverting(const RunningJobSnapshot& job);
    void jobEnded(std::size_t row, const JobResult& result);
    void batchEnded();

    // The engine log of the row's Job from the last batch that ran it; empty
    // when there is none.
    std::string logOf(std::size_t row) const;

private:
    using Cells = std::array<std::string, kColumnCount>;
    static Cells cellsOf(std::size_t row, const Job& job);
    void show(std::size_t row, int column, const std::string& text);

    struct Row {
        Cells fields;  // the Job's texts when last heard of
        Cells shown;   // what the row shows
        std::string logPath;
    };

    MainView& view_;
    std::vector<Row> rows_;
};

// The status column's words for a Job waiting in a batch and for the Job
// being converted ("converting 42 %").
inline constexpr const char* kWaitingStatus = "waiting";
std::string convertingStatus(std::optional<int> percent);
// With several Jobs at once, each running Job's cell says what the line
// under the bars says of one: "converting 42 %, 1.8×, 1:23 left", each part
// once known.
std::string convertingStatus(const RunningJobSnapshot& job);

}  // namespace pelorine
