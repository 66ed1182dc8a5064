#include "app/JobListOperations.h"

#include <chrono>
#include <future>
#include <thread>

#include "app/PreviewController.h"
#include "base/Paths.h"
#include "jobs/JobNaming.h"
#include "records/ExitStatus.h"
#include "tracks/SubtitleFiles.h"
#include "tracks/TrackEntries.h"

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

JobListOperations::JobListOperations(Parts parts)
    : p_(std::move(parts)), editor_({p_.jobs, p_.rows, p_.custom}) {}

IdentifyOutcome JobListOperations::identify(const std::string& path) {
    auto pending =
        std::async(std::launch::async, [this, path] { return p_.engine.identify(path, false); });
    while (pending.wait_for(std::chrono::milliseconds(10)) != std::future_status::ready) {
        p_.activity.keepWindowPainting();
    }
    return pending.get();
}

std::optional<int> newJobsProfile(const Settings& settings, int profile, Dialogs& dialogs) {
    if (settings.outputPath().empty()) {
        dialogs.message(kNoOutputFolderMessage);
        return std::nullopt;
    }
    if (profile < 0 || profile > kProfileCustom) {
        dialogs.message(kNoProfileMessage);
        return std::nullopt;
    }
    return profile;
}

std::optional<JobListOperations::AddContext> JobListOperations::addContext(int profile) {
    const auto chosen = newJobsProfile(p_.settings, profile, p_.dialogs);
    if (!chosen) {
        return std::nullopt;
    }
    return AddContext{profileFor(*chosen, p_.rows)};
}

void JobListOperations::addFiles(int profile) {
    const auto context = addContext(profile);
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

void JobListOperations::addDropped(const std::vector<std::string>& paths, int profile) {
    const auto context = addContext(profile);
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
    const TrackChoice tracks =
        defaultTracks(p_.tracks.preferences(), offeredBy(path, *outcome.info));
    p_.jobs.append(factory_.makeFileJob(path, profile, p_.settings.outputPath(), *outcome.info,
                                        p_.jobs, tracks));
    return {};
}

OfferedTracks JobListOperations::offeredBy(const std::string& path, const MediaInfo& info) const {
    return offeredTracks(info, subtitleFilesBeside(path, p_.files));
}

void JobListOperations::soundAndSubtitles(const WindowState& at) {
    const auto row = at.selectedRow;
    if (!row || *row >= p_.jobs.count()) {
        p_.dialogs.message(kNoSelectionMessage);
        return;
    }
    const Job& job = p_.jobs.job(*row);
    if (!choosesFileTracks(job)) {
        p_.dialogs.message(kDvdTracksMessage);
        return;
    }
    const std::string source = job.sourcePath;
    const IdentifyOutcome outcome = identify(source);
    if (outcome.result != IdentifyResult::Identified || !outcome.info) {
        p_.dialogs.message(source + ": " + notIdentifiedReason(outcome));
        return;
    }
    const OfferedTracks offered = offeredBy(source, *outcome.info);
    const auto chosen = p_.dialogs.chooseTracks(trackLists(offered, trackChoiceOf(job)));
    // The list may have changed while the dialog was open.
    if (chosen && *row < p_.jobs.count() && p_.jobs.job(*row).sourcePath == source) {
        edit(change::Tracks{*row, trackChoiceAt(offered, chosen->first, chosen->second)});
    }
}

void JobListOperations::deleteSelected(const WindowState& at) {
    const auto row = at.selectedRow;
    if (!row || *row >= p_.jobs.count()) {
        p_.dialogs.message(kNoSelectionMessage);
        return;
    }
    p_.jobs.remove(*row);
    // Whatever the grid showed, the user chose nothing after this.
    showNoJob(at.profile);
}

void JobListOperations::clear(int profile) {
    const std::size_t count = p_.jobs.count();
    if (count == 0) {
        showNoJob(profile);
        return;
    }
    const std::string question =
        count == 1 ? "Remove the job from the list?"
                   : "Remove all " + std::to_string(count) + " jobs from the list?";
    if (p_.dialogs.confirm(question, kClearCaption)) {
        p_.jobs.clear();
        showNoJob(profile);
    }
}

void JobListOperations::showNoJob(int profile) {
    apply(editor_.showNoJob(profile));
}

void JobListOperations::jobRemoved(std::size_t row) {
    editor_.jobRemoved(row);
}

void JobListOperations::jobsCleared() {
    editor_.jobsCleared();
}

void JobListOperations::loadJob(std::optional<std::size_t> row) {
    if (!row || p_.activity.waiting() || p_.activity.converting()) {
        return;
    }
    apply(editor_.load(*row));
}

void JobListOperations::edit(const JobChange& change) {
    if (p_.activity.waiting()) {
        apply(editor_.shownBefore(change));
        return;
    }
    // A profile file and an output name have their guards in their commands.
    const bool fromTheWindow = !std::holds_alternative<change::LoadedProfile>(change) &&
                               !std::holds_alternative<change::OutputName>(change);
    if (fromTheWindow && !p_.activity.stopPreviewUnlessConverting()) {
        // Refused while converting: the grid, the profile box and the slider
        // show the Job as it is, not what was typed or chosen.
        apply(editor_.shownBefore(change));
        return;
    }
    apply(editor_.edit(change));
}

void JobListOperations::apply(const EditResult& result) {
    if (!result.refusal.empty()) {
        p_.dialogs.message(result.refusal);
    }
    if (result.quitPreview) {
        p_.activity.quitPreview();
    }
    if (result.selectNoRow) {
        p_.view.selectNoRow();
    }
    if (result.customProfile) {
        p_.view.showCustomProfile();
    } else if (result.profileBox) {
        p_.view.selectProfile(*result.profileBox);
    }
    if (result.clip) {
        p_.preview.showClip(*result.clip, editor_.selectedIndex());
        if (result.clipDuration) {
            p_.view.showClip(result.clip->start, result.clip->end, *result.clipDuration);
        }
    }
    if (result.grid) {
        if (result.resetGrid) {
            p_.view.showRows(*result.grid);
        } else {
            p_.view.refreshRows(*result.grid);
        }
    }
    if (result.listRow) {
        p_.jobs.changed(*result.listRow);
        if (result.clipTexts) {
            p_.jobRows.showClipTexts(*result.listRow, result.clipTexts->first,
                                     result.clipTexts->second);
        }
    }
}

}  // namespace pelorine
