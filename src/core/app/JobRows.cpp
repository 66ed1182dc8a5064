#include "app/JobRows.h"

#include "base/Text.h"
#include "conversion/OutputNames.h"
#include "conversion/SizeEstimate.h"
#include "handheld/HandheldCopy.h"
#include "tracks/TrackEntries.h"

namespace pelorine {

std::string convertingStatus(std::optional<int> percent) {
    return percent ? "converting " + std::to_string(*percent) + " %" : "converting";
}

std::string convertingStatus(const RunningJobSnapshot& job) {
    std::string text = convertingStatus(job.percent);
    if (job.speed) {
        text += ", " + text::fixed1(*job.speed) + "\u00d7";
    }
    if (job.secondsLeft) {
        text += ", " + durationText(*job.secondsLeft) + " left";
    }
    return text;
}

JobRows::Cells JobRows::cellsOf(std::size_t row, const Job& job) {
    const bool file = choosesFileTracks(job);
    const TrackChoice tracks = trackChoiceOf(job);
    return {std::to_string(row + 1),
            job.sourcePath,
            job.startText,
            job.endText,
            outputCellText(job),
            job.outputFormat,
            handheld::sizeText(estimateOutput(job).bytes),
            "",
            file ? soundText(tracks) : "",
            file ? subtitlesText(tracks) : ""};
}

void JobRows::jobAppended(std::size_t row, const Job& job) {
    const Cells cells = cellsOf(row, job);
    rows_.insert(rows_.begin() + static_cast<std::ptrdiff_t>(row), Row{cells, cells, {}});
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
    for (int column : {kBeginColumn, kEndColumn, kOutputColumn, kFormatColumn, kSizeColumn,
                       kSoundColumn, kSubtitlesColumn}) {
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

void JobRows::batchStarted(std::size_t count) {
    for (std::size_t row = 0; row < count && row < rows_.size(); ++row) {
        rows_[row].logPath.clear();
        show(row, kStatusColumn, kWaitingStatus);
    }
}

void JobRows::jobConverting(std::size_t row, std::optional<int> percent) {
    show(row, kStatusColumn, convertingStatus(percent));
}

void JobRows::jobConverting(const RunningJobSnapshot& job) {
    show(job.row, kStatusColumn, convertingStatus(job));
}

void JobRows::jobEnded(std::size_t row, const JobResult& result) {
    if (row >= rows_.size()) {
        return;
    }
    rows_[row].logPath = result.logPath;
    show(row, kStatusColumn, outcomeText(result.outcome));
}

void JobRows::batchEnded() {
    const std::string converting = convertingStatus(std::nullopt);
    for (std::size_t row = 0; row < rows_.size(); ++row) {
        const std::string& status = rows_[row].shown[kStatusColumn];
        if (status == kWaitingStatus || status.rfind(converting, 0) == 0) {
            show(row, kStatusColumn, "");
        }
    }
}

std::string JobRows::logOf(std::size_t row) const {
    return row < rows_.size() ? rows_[row].logPath : std::string();
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
