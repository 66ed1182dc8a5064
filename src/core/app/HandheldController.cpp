#include "app/HandheldController.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>

#include "app/Commands.h"
#include "conversion/SizeEstimate.h"
#include "handheld/HandheldFinder.h"
#include "handheld/HandheldSend.h"

namespace pelorine {
namespace {

int permille(std::uint64_t done, std::uint64_t total) {
    return total == 0 ? 0 : static_cast<int>(done * 1000 / total);
}

// The output folder may not exist yet (it is made when converting): its
// nearest existing parent tells the free space.
std::string existingFolder(const platform::FileSystem& files, std::string folder) {
    while (!folder.empty() && !files.exists(folder)) {
        const std::size_t slash = folder.find_last_of('/', folder.size() - 2);
        if (slash == std::string::npos) {
            return "/";
        }
        folder.erase(slash + 1);
    }
    return folder;
}

}  // namespace

HandheldController::HandheldController(Services services, const JobList& jobs, MainView& view,
                                       Dialogs& dialogs, Activity& activity)
    : services_(std::move(services)),
      jobs_(jobs),
      view_(view),
      dialogs_(dialogs),
      activity_(activity) {}

std::optional<std::string> HandheldController::handheldRoot() const {
    const auto sticks =
        handheld::findHandhelds(services_.mounts, services_.files, services_.handheldOverride);
    if (sticks.empty()) {
        return std::nullopt;
    }
    return sticks.front().root;
}

HandheldController::SendResult HandheldController::send(const std::vector<Job>& jobs,
                                                        const handheld::CopyProgress& progress,
                                                        const handheld::StopAsked& stop) const {
    return handheld::sendJobs(jobs, handheldAccess(), services_.settings.newerFirmware(), progress,
                              stop);
}

handheld::HandheldAccess HandheldController::handheldAccess() const {
    return {services_.files, services_.largeFiles, services_.mounts, services_.handheldOverride};
}

void HandheldController::sendToHandheld(std::optional<std::size_t> row) {
    std::vector<Job> jobs;
    if (row && *row < jobs_.count()) {
        jobs.push_back(jobs_.job(*row));
    } else {
        jobs = jobs_.snapshot();
    }
    std::atomic<std::uint64_t> copied{0};
    std::atomic<std::uint64_t> total{0};
    std::atomic<bool> stop{false};
    std::atomic<bool> finished{false};
    SendResult result;
    std::thread worker([&] {
        result = send(
            jobs,
            [&](std::uint64_t bytes, std::uint64_t all) {
                total = all;
                copied = bytes;
            },
            [&] { return stop.load(); });
        finished = true;
    });
    view_.beginTask(kSendCaption, 1000);
    while (!finished) {
        const std::string label =
            "Copying to the PSP memory stick: " + handheld::sizeText(copied.load()) + " of " +
            handheld::sizeText(total.load());
        if (!view_.stepTask(permille(copied.load(), total.load()), label)) {
            stop = true;
        }
        activity_.keepWindowPainting();
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    worker.join();
    view_.endTask();
    if (result.status) {
        dialogs_.message(handheld::sendReport(result));
    } else {
        dialogs_.warning(handheld::sendReport(result), kSendCaption);
    }
}

std::string HandheldController::copyAfterBatch(BatchRun& batch) const {
    std::vector<Job> done;
    for (std::size_t row = 0; row < batch.results().size() && row < batch.jobs().size(); ++row) {
        if (batch.results()[row].outcome == JobOutcome::Done) {
            done.push_back(batch.jobs()[row]);
        }
    }
    if (done.empty()) {
        return {};
    }
    batch.view().setJobBar(0);
    const SendResult result = send(
        done,
        [&](std::uint64_t bytes, std::uint64_t total) {
            batch.view().setJobBar(permille(bytes, total) / 10);
        },
        [&] { return batch.stopRequested(); });
    return handheld::sendReport(result);
}

void HandheldController::setUpBatch(BatchRun& batch) {
    batch.setThumbnails(services_.settings.thumbnails());
    if (services_.settings.copyWhenFinished()) {
        batch.setFinishing([this](BatchRun& run) { return copyAfterBatch(run); });
    }
}

void HandheldController::toggle(int command) {
    Status written = Status::ok();
    HandheldSettings& settings = services_.settings;
    if (command == command::kToggleThumbnails) {
        written = settings.setThumbnails(!settings.thumbnails());
    } else if (command == command::kToggleNewerFirmware) {
        written = settings.setNewerFirmware(!settings.newerFirmware());
    } else if (command == command::kToggleCopyWhenFinished) {
        written = settings.setCopyWhenFinished(!settings.copyWhenFinished());
    }
    if (!written) {
        dialogs_.message(written.message());
    }
}

std::optional<bool> HandheldController::checked(int command) const {
    const HandheldSettings& settings = services_.settings;
    if (command == command::kToggleThumbnails) {
        return settings.thumbnails();
    }
    if (command == command::kToggleNewerFirmware) {
        return settings.newerFirmware();
    }
    if (command == command::kToggleCopyWhenFinished) {
        return settings.copyWhenFinished();
    }
    return std::nullopt;
}

std::uint64_t HandheldController::estimatedTotal() const {
    std::uint64_t total = 0;
    for (std::size_t row = 0; row < jobs_.count(); ++row) {
        total += estimateOutput(jobs_.job(row)).bytes;
    }
    return total;
}

HandheldController::Estimate HandheldController::estimate(std::optional<std::size_t> selected,
                                                          const std::string& outputFolder) const {
    Estimate estimate;
    if (jobs_.empty()) {
        return estimate;
    }
    const std::uint64_t total = estimatedTotal();
    estimate.text = "Size: ";
    if (selected && *selected < jobs_.count()) {
        estimate.text += "job " + std::to_string(*selected + 1) + " " +
                         handheld::sizeText(estimateOutput(jobs_.job(*selected)).bytes) + ", ";
    }
    estimate.text += "all " + handheld::sizeText(total);
    std::string free;
    const auto describe = [&](const std::string& where, const std::string& folder) {
        const auto space = services_.largeFiles.space(folder);
        if (!space) {
            return;
        }
        const bool fits = space->available >= total;
        estimate.tooLarge = estimate.tooLarge || !fits;
        free += (free.empty() ? "; free: " : ", ") + where + " " +
                handheld::sizeText(space->available) + (fits ? "" : " (too small)");
    };
    describe("output folder", existingFolder(services_.files, outputFolder));
    if (const auto root = handheldRoot()) {
        describe("PSP", *root);
    }
    estimate.text += free;
    return estimate;
}

bool HandheldController::roomForBatch(const std::string& outputFolder) {
    const std::uint64_t total = estimatedTotal();
    const auto space = services_.largeFiles.space(existingFolder(services_.files, outputFolder));
    if (!space || space->available >= total) {
        return true;
    }
    return dialogs_.confirm("The converted videos will take about " + handheld::sizeText(total) +
                                ", but only " + handheld::sizeText(space->available) +
                                " are free where they go (\"" + outputFolder +
                                "\"). Convert anyway?",
                            "Warning");
}

}  // namespace pelorine
