#include "keeping/RestorePlan.h"

#include <algorithm>

#include "conversion/OutputNames.h"
#include "conversion/PartFiles.h"
#include "jobs/JobSettings.h"
#include "project/ProjectFile.h"
#include "records/OutputFiles.h"
#include "tracks/SubtitleFiles.h"

namespace pelorine {
namespace {

bool endsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// The engine's unfinished files of the Job: its run's ".part", or for a split
// Job those of any of its parts.
std::vector<std::string> unfinishedFilesOf(const Job& job, const platform::FileSystem& files) {
    const JobSettings settings = jobSettingsOf(job);
    std::vector<std::string> unfinished;
    if (!settings.splitOutput()) {
        if (const std::string partial = partialOutputPath(firstOutputPath(settings));
            files.exists(partial)) {
            unfinished.push_back(partial);
        }
        return unfinished;
    }
    const PartFiles parts =
        findPartFiles(outputBasePath(settings.output.path), settings.output.extension, files);
    std::copy_if(parts.others.begin(), parts.others.end(), std::back_inserter(unfinished),
                 [](const std::string& path) { return endsWith(path, partialOutputPath("")); });
    return unfinished;
}

std::string jobsText(std::size_t count) {
    return std::to_string(count) + (count == 1 ? " job" : " jobs");
}

}  // namespace

std::size_t RestorePlan::converted() const {
    std::size_t done = 0;
    for (std::size_t i = 0; i < list.jobs.size(); ++i) {
        done += list.outcomeOf(i) == JobOutcome::Done ? 1 : 0;
    }
    return done;
}

bool jobOutputIsThere(const Job& job, const platform::FileSystem& files) {
    return files.exists(firstOutputPath(job)) &&
           (!jobSettingsOf(job).splitOutput() || unfinishedFilesOf(job, files).empty());
}

RestorePlan planRestore(KeptList kept, const platform::FileSystem& files) {
    RestorePlan plan;
    for (std::size_t i = 0; i < kept.jobs.size(); ++i) {
        Job& job = kept.jobs[i];
        if (!sourceIsThere(job, files)) {
            plan.droppedSources.push_back(job.sourcePath);
            continue;
        }
        findSubtitleFileAgain(job, files);
        JobOutcome outcome = kept.outcomeOf(i);
        if (kept.running.count(i) != 0) {
            const auto unfinished = unfinishedFilesOf(job, files);
            plan.unfinishedFiles.insert(plan.unfinishedFiles.end(), unfinished.begin(),
                                        unfinished.end());
            outcome = JobOutcome::Pending;
        } else if (outcome == JobOutcome::Done && !jobOutputIsThere(job, files)) {
            outcome = JobOutcome::Pending;
        }
        plan.list.jobs.push_back(std::move(job));
        plan.list.outcomes.push_back(outcome);
    }
    return plan;
}

std::string restoreQuestion(const RestorePlan& plan) {
    return "Pelorine did not close normally. Restore the list of " +
           jobsText(plan.list.jobs.size()) + "?\n\n" + std::to_string(plan.converted()) +
           " converted, " + std::to_string(plan.remaining()) + " remaining.";
}

std::string droppedSourcesMessage(const std::vector<std::string>& sources) {
    if (sources.empty()) {
        return {};
    }
    std::string text = "These jobs were left out because their video is gone:";
    for (const std::string& source : sources) {
        text += "\n" + source;
    }
    return text;
}

}  // namespace pelorine
