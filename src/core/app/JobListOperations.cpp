#include "app/JobListOperations.h"

#include <chrono>
#include <future>
#include <thread>

#include "conversion/JobNaming.h"
#include "conversion/TimeText.h"
#include "platform/Text.h"
#include "records/ExitStatus.h"

namespace pelorine {
namespace {

std::string fileNameOf(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Why the engine could not tell what a file is, in words for the user.
std::string notIdentifiedReason(const IdentifyOutcome& outcome) {
    switch (outcome.result) {
        case IdentifyResult::EngineBusy:
        case IdentifyResult::Failed:
            return outcome.detail.message();
        case IdentifyResult::Identified:
            return {};
        case IdentifyResult::NotIdentified:
            break;
    }
    if (!outcome.detail) {
        return outcome.detail.message();
    }
    return outcome.exitStatus == code(ExitStatus::Done)
               ? "it has no length that could be played"
               : "it is not a video or sound file that can be read";
}

}  // namespace

JobListOperations::JobListOperations(Parts parts) : p_(std::move(parts)) {}

Job* JobListOperations::selectedJob() {
    const auto row = p_.view.selectedRow();
    return row && *row < p_.jobs.count() ? &p_.jobs.job(*row) : nullptr;
}

void JobListOperations::showClip(const Job& job) {
    p_.view.showClip(clip_.start, clip_.end, job.duration);
}

IdentifyOutcome JobListOperations::identify(const std::string& path) {
    auto pending =
        std::async(std::launch::async, [this, path] { return p_.engine.identify(path, false); });
    while (pending.wait_for(std::chrono::milliseconds(10)) != std::future_status::ready) {
        p_.view.keepAlive();
    }
    return pending.get();
}

std::optional<int> newJobsProfile(const Settings& settings, MainView& view, Dialogs& dialogs) {
    if (settings.outputPath().empty()) {
        dialogs.message(kNoOutputFolderMessage);
        return std::nullopt;
    }
    const int profile = view.profileSelection();
    if (profile < 0 || profile > kProfileCustom) {
        dialogs.message(kNoProfileMessage);
        return std::nullopt;
    }
    return profile;
}

void JobListOperations::addFiles() {
    const auto profile = newJobsProfile(p_.settings, p_.view, p_.dialogs);
    if (!profile) {
        return;
    }
    // The profile as it stands when Add is pressed, for every file of this Add.
    const Profile chosen = profileFor(*profile, p_.rows);
    const std::vector<std::string> paths = p_.dialogs.chooseFiles(kAddFilter);
    if (paths.empty()) {
        return;
    }
    std::string leftOut;
    p_.view.beginTask("Adding files", static_cast<int>(paths.size()));
    for (std::size_t i = 0; i < paths.size(); ++i) {
        if (!p_.view.stepTask(static_cast<int>(i), fileNameOf(paths[i]))) {
            break;
        }
        if (const std::string reason = addFile(paths[i], chosen); !reason.empty()) {
            leftOut += "\n" + paths[i] + ": " + reason;
        }
    }
    p_.view.endTask();
    if (!leftOut.empty()) {
        p_.dialogs.message("These files were not added:" + leftOut);
    }
}

std::string JobListOperations::addFile(const std::string& path, const Profile& profile) {
    if (hasSource(p_.jobs, path)) {
        return {};  // already in the list: nothing to say
    }
    const IdentifyOutcome outcome = identify(path);
    if (outcome.result != IdentifyResult::Identified) {
        return notIdentifiedReason(outcome);
    }
    p_.jobs.append(
        factory_.makeFileJob(path, profile, p_.settings.outputPath(), *outcome.info, p_.jobs));
    return {};
}

void JobListOperations::deleteSelected() {
    const auto row = p_.view.selectedRow();
    if (!row || *row >= p_.jobs.count()) {
        p_.dialogs.message(kNoSelectionMessage);
        return;
    }
    p_.jobs.remove(*row);
}

void JobListOperations::clear() {
    p_.jobs.clear();
}

void JobListOperations::loadSelectedJob() {
    if (p_.activity.converting()) {
        return;
    }
    const auto row = p_.view.selectedRow();
    if (!row || *row >= p_.jobs.count()) {
        return;
    }
    if (selectedIndex_ != row) {
        p_.activity.quitPreview();
        selectedIndex_ = row;
    }
    const Job& job = p_.jobs.job(*row);
    clip_ = {job.clipStart, job.clipEnd, job.clipEnabled != 0};
    showClip(job);
    p_.view.selectProfile(job.profileIndex);
    if (const auto shown = showJob(job, p_.rows, p_.custom)) {
        p_.view.showRows(*shown);
    }
}

void JobListOperations::clipTimesTyped() {
    if (!p_.activity.gate()) {
        return;
    }
    p_.activity.stopPreview();
    const std::string& start = p_.rows.value(row::kStartTime);
    const std::string& end = p_.rows.value(row::kEndTime);
    const auto clip = typedClip(start, end);
    const auto row = p_.view.selectedRow();
    Job* job = selectedJob();
    if (!clip || !job) {
        return;
    }
    clip_ = {clip->first, clip->second, true};
    job->clipEnabled = 1;
    job->clipStart = clip->first;
    job->clipEnd = clip->second;
    showClip(*job);
    // The row shows the times as typed; the Job keeps its own texts.
    p_.jobRows.showClipTexts(*row, start, end);
}

void JobListOperations::settingsChanged() {
    if (!p_.activity.gate()) {
        return;
    }
    Job* job = selectedJob();
    if (!job) {
        return;
    }
    // Typed values the engine could not use are refused here, where the user
    // typed them, rather than failing the conversion later.
    for (const char* name : {row::kVideoBitrate, row::kVideoSize, row::kSplit, row::kAudioVolume}) {
        if (Status typed = checkTypedSetting(name, p_.rows.value(name)); !typed) {
            p_.dialogs.message(typed.message());
            showJob(*job, p_.rows, p_.custom);
            p_.view.repaintGrid();
            return;
        }
    }
    copyRowsToJob(p_.rows, *job);
}

void JobListOperations::outputFormatChosen() {
    if (!p_.activity.gate()) {
        return;
    }
    if (Job* job = selectedJob()) {
        job->outputFormat = p_.rows.value(row::kOutputFormat);
        p_.jobs.changed(*p_.view.selectedRow());
    }
}

void JobListOperations::clipVideoChosen() {
    if (!p_.activity.gate()) {
        return;
    }
    Job* job = selectedJob();
    if (p_.rows.value(row::kClipVideo) != "no" || !job) {
        return;
    }
    clip_ = {0.0, job->duration, false};
    job->clipEnabled = 0;
    job->clipStart = 0.0;
    job->clipEnd = job->duration;
    showClip(*job);
    // The row shows the whole source; the Job keeps its own texts.
    p_.jobRows.showClipTexts(*p_.view.selectedRow(), kZeroTime, timeText(job->duration));
    p_.rows.set(row::kStartTime, kZeroTime);
    p_.rows.set(row::kEndTime, timeText(job->duration));
    p_.view.repaintGrid();
}

void JobListOperations::clipRangeChanged(double start, double end) {
    if (!p_.activity.gate()) {
        return;
    }
    Job* job = selectedJob();
    if (!job) {
        return;
    }
    p_.activity.quitPreview();
    job->clipEnabled = 1;
    job->clipStart = start;
    job->clipEnd = end;
    job->startText = timeText(start);
    job->endText = timeText(end);
    const std::size_t row = *p_.view.selectedRow();
    p_.jobs.changed(row);
    p_.jobRows.showClipTexts(row, job->startText, job->endText);
    p_.rows.set(row::kStartTime, job->startText);
    p_.rows.set(row::kEndTime, job->endText);
    if (p_.rows.value(row::kClipVideo) == "no") {
        p_.rows.set(row::kClipVideo, "yes");
    }
    p_.view.repaintGrid();
    clip_ = {start, end, true};
    showClip(*job);
}

void JobListOperations::profileChanged() {
    if (!p_.activity.gate()) {
        return;
    }
    const int profile = p_.view.profileSelection();
    Job* job = selectedJob();
    if (job) {
        if (profile == job->profileIndex) {
            return;
        }
        job->profileIndex = profile;
    }
    const auto shown = showProfile(profile, p_.rows, job, p_.custom);
    if (!shown) {
        return;
    }
    p_.view.showRows(*shown);
    clip_ = {0.0, job ? job->duration : 0.0, false};
    if (!job) {
        return;
    }
    showClip(*job);
    applyProfileToJob(*job, profile, p_.rows, p_.custom);
    const std::size_t row = *p_.view.selectedRow();
    p_.jobs.changed(row);
    p_.jobRows.showClipTexts(row, job->startText, job->endText);
}

void JobListOperations::profileLoaded(
    const std::array<PropertyItem, SettingsRows::kCount>& loaded) {
    p_.rows.items() = loaded;
    p_.custom.rows.items() = loaded;
    p_.custom.format = p_.rows.value(row::kOutputFormat);
    Job* job = selectedJob();
    if (job) {
        applyLoadedProfileToJob(p_.rows, *job);
        p_.jobs.changed(*p_.view.selectedRow());
    }
    p_.view.showCustomProfile();
    if (const auto shown = showLoadedProfile(p_.rows)) {
        p_.view.showRows(*shown);
    } else {
        p_.view.repaintGrid();
    }
}

}  // namespace pelorine
