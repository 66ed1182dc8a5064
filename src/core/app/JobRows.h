#pragma once
// The list view's adapter: keeps the rows of the window's job list in step
// with the JobList. Row i shows Job i: its place, source, clip texts, output,
// format and the estimated size of its output. A cell is written when the Job's field behind it
// changes, so clip texts shown by showClipTexts() stay until the Job's own texts change.

#include <array>
#include <string>
#include <vector>

#include "app/MainView.h"
#include "conversion/JobList.h"

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

private:
    using Cells = std::array<std::string, 7>;
    static Cells cellsOf(std::size_t row, const Job& job);
    void show(std::size_t row, int column, const std::string& text);

    struct Row {
        Cells fields;  // the Job's texts when last heard of
        Cells shown;   // what the row shows
    };

    MainView& view_;
    std::vector<Row> rows_;
};

}  // namespace pelorine
