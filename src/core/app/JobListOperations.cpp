#include "app/JobListOperations.h"

#include <chrono>
#include <future>
#include <thread>

#include "base/Paths.h"
#include "base/Text.h"
#include "base/TimeText.h"
#include "jobs/JobNaming.h"
#include "records/ExitStatus.h"

namespace pelorine {
namespace {

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

Job* JobListOperations::gridJob() {
    return selectedIndex_ && *selectedIndex_ < p_.jobs.count() ? &p_.jobs.job(*selectedIndex_)
                                                               : nullptr;
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

std::optional<JobListOperations::AddContext> JobListOperations::addContext() {
    const auto profile = newJobsProfile(p_.settings, p_.view, p_.dialogs);
    if (!profile) {
        return std::nullopt;
    }
    return AddContext{profileFor(*profile, p_.rows)};
}

void JobListOperations::addFiles() {
    const auto context = addContext();
    if (!context) {
        return;
    }
    const std::vector<std::string> paths =
        p_.dialogs.chooseFiles(kAddFilter, p_.settings.addFolder());
    if (paths.empty()) {
        return;
    }
    p_.settings.setAddFolder(folderOf(paths.front()));
    addPaths(paths, *context);
}

void JobListOperations::addDropped(const std::vector<std::string>& paths) {
    const auto context = addContext();
    if (!context) {
        return;
    }
    const std::vector<std::string> sources = droppedSources(paths, p_.engine.files());
    if (sources.empty()) {
        p_.dialogs.message("There are no video files in what was dropped.");
        return;
    }
    addPaths(sources, *context);
}

void JobListOperations::addPaths(const std::vector<std::string>& paths, const AddContext& context) {
    std::string leftOut;
    p_.view.beginTask("Adding files", static_cast<int>(paths.size()));
    for (std::size_t i = 0; i < paths.size(); ++i) {
        if (!p_.view.stepTask(static_cast<int>(i), fileNameOf(paths[i]))) {
            break;
        }
        if (const std::string reason = addFile(paths[i], context.profile); !reason.empty()) {
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
    // Whatever the grid showed, the user chose nothing after this.
    showNoJob();
}

void JobListOperations::clear() {
    const std::size_t count = p_.jobs.count();
    if (count == 0) {
        showNoJob();
        return;
    }
    const std::string question =
        count == 1 ? "Remove the job from the list?"
                   : "Remove all " + std::to_string(count) + " jobs from the list?";
    if (p_.dialogs.confirm(question, kClearCaption)) {
        p_.jobs.clear();  // the list's observers show no Job
    }
}

void JobListOperations::showNoJob() {
    selectedIndex_.reset();
    clip_ = {};
    p_.view.selectNoRow();
    p_.view.showClip(0.0, 0.0, 0.0);
    if (const auto shown = showProfile(p_.view.profileSelection(), p_.rows, nullptr, p_.custom)) {
        p_.view.showRows(*shown);
    }
}

void JobListOperations::jobRemoved(std::size_t row) {
    if (!selectedIndex_ || *selectedIndex_ < row) {
        return;
    }
    if (*selectedIndex_ == row) {
        selectedIndex_.reset();
    } else {
        --*selectedIndex_;
    }
}

void JobListOperations::jobsCleared() {
    showNoJob();
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
    Job* job = gridJob();
    if (!job) {
        return;
    }
    const std::string start = p_.rows.value(Row::StartTime);
    const std::string end = p_.rows.value(Row::EndTime);
    std::pair<double, double> clip;
    if (Status typed = checkTypedClip(start, end, job->duration, clip); !typed) {
        p_.dialogs.message(typed.message());
        restoreClipRows(*job);
        return;
    }
    clip_ = {clip.first, clip.second, true};
    job->clipEnabled = 1;
    job->clipStart = clip.first;
    job->clipEnd = clip.second;
    showClip(*job);
    // The clip the user typed is the clip converted, as with the slider.
    p_.rows.set(Row::ClipVideo, "yes");
    p_.view.repaintGrid();
    p_.jobs.changed(*selectedIndex_);
    // The row shows the times as typed; the Job keeps its own texts.
    p_.jobRows.showClipTexts(*selectedIndex_, start, end);
}

void JobListOperations::restoreClipRows(const Job& job) {
    const bool clipped = job.clipEnabled != 0;
    p_.rows.set(Row::StartTime, clipped ? timeText(job.clipStart) : kZeroTime);
    p_.rows.set(Row::EndTime, timeText(clipped ? job.clipEnd : job.duration));
    p_.view.repaintGrid();
}

void JobListOperations::settingsChanged() {
    if (!p_.activity.gate()) {
        return;
    }
    Job* job = gridJob();
    if (!job) {
        return;
    }
    // Typed values the engine could not use are refused here, where the user
    // typed them, rather than failing the conversion later.
    for (const Row role : {Row::VideoBitrate, Row::VideoSize, Row::Split, Row::AudioVolume}) {
        if (Status typed = checkTypedSetting(role, p_.rows.value(role)); !typed) {
            p_.dialogs.message(typed.message());
            showJob(*job, p_.rows, p_.custom);
            p_.view.repaintGrid();
            return;
        }
    }
    copyRowsToJob(p_.rows, *job);
    p_.jobs.changed(*selectedIndex_);  // "Split" and "Clip video" change the files written
}

void JobListOperations::outputFormatChosen() {
    if (!p_.activity.gate()) {
        return;
    }
    if (Job* job = gridJob()) {
        job->outputFormat = p_.rows.value(Row::OutputFormat);
        p_.jobs.changed(*selectedIndex_);
    }
}

void JobListOperations::clipVideoChosen() {
    if (!p_.activity.gate()) {
        return;
    }
    Job* job = gridJob();
    if (p_.rows.value(Row::ClipVideo) != "no" || !job) {
        return;
    }
    clip_ = {0.0, job->duration, false};
    job->clipEnabled = 0;
    job->clipStart = 0.0;
    job->clipEnd = job->duration;
    showClip(*job);
    // The row shows the whole source; the Job keeps its own texts.
    p_.jobs.changed(*selectedIndex_);
    p_.jobRows.showClipTexts(*selectedIndex_, kZeroTime, timeText(job->duration));
    p_.rows.set(Row::StartTime, kZeroTime);
    p_.rows.set(Row::EndTime, timeText(job->duration));
    p_.view.repaintGrid();
}

void JobListOperations::clipRangeChanged(double start, double end) {
    if (!p_.activity.gate()) {
        return;
    }
    Job* job = gridJob();
    if (!job) {
        return;
    }
    p_.activity.quitPreview();
    job->clipEnabled = 1;
    job->clipStart = start;
    job->clipEnd = end;
    job->startText = timeText(start);
    job->endText = timeText(end);
    const std::size_t row = *selectedIndex_;
    p_.jobs.changed(row);
    p_.jobRows.showClipTexts(row, job->startText, job->endText);
    p_.rows.set(Row::StartTime, job->startText);
    p_.rows.set(Row::EndTime, job->endText);
    if (p_.rows.value(Row::ClipVideo) == "no") {
        p_.rows.set(Row::ClipVideo, "yes");
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
    Job* job = gridJob();
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
    const std::size_t row = *selectedIndex_;
    p_.jobs.changed(row);
    p_.jobRows.showClipTexts(row, job->startText, job->endText);
}

void JobListOperations::profileLoaded(
    const std::array<PropertyItem, SettingsRows::kCount>& loaded) {
    p_.rows.items() = loaded;
    p_.custom.rows.items() = loaded;
    p_.custom.format = p_.rows.value(Row::OutputFormat);
    if (Job* job = gridJob()) {
        applyLoadedProfileToJob(p_.rows, *job);
        p_.jobs.changed(*selectedIndex_);
    }
    p_.view.showCustomProfile();
    if (const auto shown = showLoadedProfile(p_.rows)) {
        p_.view.showRows(*shown);
    } else {
        p_.view.repaintGrid();
    }
}

}  // namespace pelorine
