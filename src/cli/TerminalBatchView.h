#pragma once
// The batch's front end on a terminal: a status line for the Job being
// converted, or for every Job converting when there are several at once
// (redrawn in place on a terminal, a line at every tenth elsewhere), a line
// as each Job ends, and the overwrite question asked on the terminal. The batch calls it on the
// thread that runs the batch; the status line is drawn by a ticker thread of its own while the
// batch runs.

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include "cli/StatusLine.h"
#include "cli/Summary.h"
#include "conversion/BatchRun.h"

namespace pelorine::cli {

// Where pelorine-cli writes: results on `out`, the status line, notes and
// questions on `err`. Safe to use from several threads.
class ConsoleWriter {
public:
    ConsoleWriter(std::ostream& out, std::ostream& err, bool errIsTerminal, std::size_t width)
        : out_(out), err_(err), printer_(errIsTerminal, width) {}

    void status(const JobStatus& status);
    void status(const BatchStatus& status);
    // A line on `out`, after the status line has been cleared.
    void result(const std::string& line);
    // A line on `err`, after the status line has been cleared.
    void note(const std::string& line);
    // Ends the status line for good.
    void clearStatus();

private:
    std::mutex mutex_;
    std::ostream& out_;
    std::ostream& err_;
    StatusPrinter printer_;
};

class TerminalBatchView final : public BatchView {
public:
    // `entries`: one per Job of the batch, in its order; their results are
    // filled in as the Jobs end. `ask` answers the overwrite question (true
    // to overwrite).
    TerminalBatchView(ConsoleWriter& console, std::vector<JobEntry>& entries,
                      std::function<bool(const std::string& question)> ask);
    ~TerminalBatchView() override;

    // The batch whose progress the status line follows; set before it runs.
    void follow(BatchRun& batch) { batch_ = &batch; }
    // What the batch said with showMessage(), in order.
    const std::vector<std::string>& messages() const { return messages_; }

    void selectRow(std::size_t) override {}
    void setOverallBar(int) override {}
    void setJobBar(int) override {}
    void startProgressTimer() override;
    void stopProgressTimer() override;
    bool shutDownWhenFinished() override { return false; }
    bool askOverwrite(const std::string& question) override;
    void showMessage(const std::string& text) override { messages_.push_back(text); }
    void jobEnded(std::size_t row, const JobResult& result) override;

private:
    void tick(RateWindow& rate, int& lastJob);
    void tickSideBySide(SideBySideTiming& timing);

    ConsoleWriter& console_;
    std::vector<JobEntry>& entries_;
    std::function<bool(const std::string&)> ask_;
    BatchRun* batch_ = nullptr;
    std::vector<std::string> messages_;
    // No status line is drawn while a question waits for its answer.
    std::atomic<bool> asking_{false};
    std::mutex mutex_;
    std::condition_variable wake_;
    bool ticking_ = false;
    std::thread ticker_;
};

}  // namespace pelorine::cli
