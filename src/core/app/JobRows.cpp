#include "app/JobRows.h"

#include "conversion/SizeEstimate.h"
#include "psp/StickCopy.h"

namespace pelorine {

JobRows::Cells JobRows::cellsOf(std::size_t row, const Job& job) {
    return {std::to_string(row + 1),
            job.sourcePath,
            job.startText,
            job.endText,
            job.outputPath,
            job.outputFormat,
            psp::sizeText(estimateOutput(job).bytes)};
}

void JobRows::jobAppended(std::size_t row, const Job& job) {
    const Cells cells = cellsOf(row, job);
    rows_.insert(rows_.begin() + static_cast<std::ptrdiff_t>(row), Row{cells, cells});
    view_.appendRow({cells.begin(), cells.end()});
}

void JobRows::jobRemoved(std::size_t row) {
    if (row >= rows_.size()) {
        return;
    }
    rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(row));
    view_.removeRow(row);
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        rows_[i].shown[kIdColumn] = rows_[i].fields[kIdColumn] = std::to_string(i + 1);
        view_.setCell(i, kIdColumn, rows_[i].shown[kIdColumn]);
    }
}

void JobRows::jobsCleared() {
    rows_.clear();
    view_.clearRows();
}

void JobRows::jobChanged(std::size_t row, const Job& job) {
    if (row >= rows_.size()) {
        return;
    }
    const Cells cells = cellsOf(row, job);
    for (int column : {kBeginColumn, kEndColumn, kOutputColumn, kFormatColumn, kSizeColumn}) {
        const auto at = static_cast<std::size_t>(column);
        if (rows_[row].fields[at] != cells[at]) {
            rows_[row].fields[at] = cells[at];
            show(row, column, cells[at]);
        }
    }
}

void JobRows::showClipTexts(std::size_t row, const std::string& start, const std::string& end) {
    show(row, kBeginColumn, start);
    show(row, kEndColumn, end);
}

void JobRows::show(std::size_t row, int column, const std::string& text) {
    if (row >= rows_.size()) {
        return;
    }
    std::string& cell = rows_[row].shown[static_cast<std::size_t>(column)];
    if (cell != text) {
        cell = text;
        view_.setCell(row, column, text);
    }
}

}  // namespace pelorine
