#include "cli/CliProgram.h"

#include <algorithm>
#include <array>

#include "base/Text.h"
#include "cli/CliHelp.h"
#include "cli/InfoText.h"
#include "conversion/JobsAtOnce.h"
#include "conversion/OutputNames.h"
#include "conversion/PlannedRuns.h"
#include "handheld/HandheldSend.h"
#include "keeping/RestorePlan.h"
#include "platform/Console.h"
#include "profiles/ProfileFile.h"
#include "profiles/SettingsRows.h"
#include "project/ProjectFile.h"
#include "settings/HandheldSettings.h"
#include "settings/JobsAtOnceSetting.h"
#include "settings/OutputFolder.h"
#include "settings/TrackSettings.h"
#include "tracks/SubtitleFiles.h"

namespace pelorine::cli {

void StopRelay::stop() {
    std::lock_guard lock(mutex_);
    stopped_ = true;
    if (batch_) {
        batch_->requestStop();
    }
}

void StopRelay::attach(BatchRun* batch) {
    std::lock_guard lock(mutex_);
    batch_ = batch;
    if (batch_ && stopped_) {
        batch_->requestStop();
    }
}

bool StopRelay::stopped() const {
    std::lock_guard lock(mutex_);
    return stopped_;
}

namespace {

// The file a Job writes, as the summary names it: the composer's name, whose
// extension is the output format as typed (a Job's output path may say ".MP4"
// where the file is ".mp4"); for a split Job its first part.
std::string outputShown(const Job& job) {
    const JobSettings settings = jobSettingsOf(job);
    const std::string first = firstOutputPath(settings);
    return settings.splitOutput() ? first + " and the later parts" : first;
}

}  // namespace

CliProgram::CliProgram(Services services, ConsoleWriter& console, StopRelay& stops, Ask ask)
    : services_(services), console_(console), stops_(stops), ask_(std::move(ask)) {}

void CliProgram::error(const std::string& text) {
    console_.note(std::string(kProgramName) + ": " + text);
}

// As the window makes them: the .THM pictures follow its PSP settings.
bool CliProgram::thumbnailsOn() const {
    HandheldSettings handheld(services_.files, services_.settings.filePath());
    handheld.read();
    return handheld.thumbnails();
}

std::string CliProgram::subtitleCodePage(const CliOptions& options) const {
    if (options.subtitleCodePage) {
        return *options.subtitleCodePage;
    }
    TrackSettings tracks(services_.files, services_.settings.filePath());
    tracks.read();
    return tracks.preferences().subtitleCodePage;
}

int CliProgram::jobsAtOnce(const CliOptions& options) const {
    if (options.jobsAtOnce) {
        return jobsAtOnceFor(*options.jobsAtOnce, services_.machine);
    }
    JobsAtOnceSetting setting(services_.files, services_.settings.filePath());
    setting.read();
    return jobsAtOnceFor(setting.value(), services_.machine);
}

int CliProgram::run(const CliOptions& options) {
    switch (options.verb) {
        case Verb::Info:
            return info(options.files);
        case Verb::Commands:
            return commands(options);
        case Verb::Run:
            return runProject(options);
        case Verb::Convert:
            return convert(options);
        case Verb::Help:
        case Verb::Version:
            break;
    }
    return 0;
}

int CliProgram::info(const std::vector<std::string>& files) {
    int status = 0;
    bool first = true;
    for (const std::string& file : files) {
        if (!services_.files.fileSize(file)) {
            error(file + ": " + (services_.files.exists(file) ? "not a file" : "no such file"));
            status = 1;
            continue;
        }
        const IdentifyOutcome outcome = services_.engine.identify(file, false);
        if (outcome.result != IdentifyResult::Identified || !outcome.info) {
            const bool plain = outcome.result == IdentifyResult::NotIdentified;
            error(file + ": " +
                  (plain ? "not a video or sound file the engine can read"
                   : outcome.detail.message().empty() ? std::string(kEngineBusyMessage)
                                                      : outcome.detail.message()));
            status = 1;
            continue;
        }
        console_.result((first ? "" : "\n") + infoText(file, *outcome.info,
                                                       services_.files.fileSize(file),
                                                       subtitleFilesBeside(file, services_.files)));
        first = false;
    }
    return status;
}

bool CliProgram::readProject(const CliOptions& options, std::vector<Job>& jobs,
                             std::vector<JobEntry>& dropped) {
    const std::string& path = options.files.front();
    OpenedProject opened = openProject(path, services_.files);
    if (opened.result != OpenedProject::Result::Opened) {
        error(opened.detail.message());
        return false;
    }
    for (const std::string& source : opened.droppedSources) {
        JobEntry entry{source, {}, {}};
        entry.result.outcome = JobOutcome::Failed;
        entry.result.reason = "The source is gone.";
        dropped.push_back(entry);
    }
    jobs = std::move(opened.jobs);
    if (options.outputFolder) {
        const std::string folder = platform::absolutePath(*options.outputFolder);
        for (Job& job : jobs) {
            job.outputPath = retargetOutputPath(folder, job.outputPath);
        }
    }
    return true;
}

int CliProgram::commands(const CliOptions& options) {
    std::vector<Job> jobs;
    std::vector<JobEntry> dropped;
    if (!readProject(options, jobs, dropped)) {
        return 1;
    }
    for (const JobEntry& entry : dropped) {
        error("note: \"" + entry.source + "\" is gone; its Job is left out, as the window does");
    }
    std::string folder;
    if (const Status ready = services_.engine.privateFolder(folder); !ready) {
        error(ready.message());
        return 1;
    }
    const EngineInvocation invocation{services_.engine.path(), folder, thumbnailsOn(),
                                      subtitleCodePage(options)};
    for (std::size_t i = 0; i < jobs.size(); ++i) {
        const PlannedRuns planned = planRuns(jobs[i], invocation);
        const std::string job = "Job " + std::to_string(i + 1);
        if (!planned.settings) {
            error(job + " would fail before any engine run: " + planned.settings.message());
        }
        if (planned.estimated && planned.partLength) {
            error("note: " + job + " is split by size: its later parts are shown for part 1 " +
                  "lasting about " + std::to_string(static_cast<long>(*planned.partLength)) +
                  " s; they start where part 1 really ends");
        }
        for (const std::string& line : planned.commandLines) {
            console_.result(line);
        }
    }
    return 0;
}

int CliProgram::overwritePolicy(const CliOptions& options) const {
    if (!options.overwrite) {
        return services_.settings.overwritePolicy();
    }
    switch (*options.overwrite) {
        case OverwriteChoice::Ask:
            return kAskBeforeOverwrite;
        case OverwriteChoice::Skip:
            return kSkipExisting;
        case OverwriteChoice::Replace:
            break;
    }
    return kOverwrite;
}

int CliProgram::runProject(const CliOptions& options) {
    std::vector<Job> jobs;
    std::vector<JobEntry> dropped;
    if (!readProject(options, jobs, dropped)) {
        return 1;
    }
    std::vector<JobEntry> entries;
    std::vector<std::size_t> entryOf;
    std::vector<Job> converted;
    for (Job& job : jobs) {
        JobEntry entry{job.sourcePath, outputShown(job), {}};
        // A Job split into parts is converted again: its first part cannot
        // tell whether the batch ended before its last one.
        if (options.resume && !jobSettingsOf(job).splitOutput() &&
            jobOutputIsThere(job, services_.files)) {
            entry.result.outcome = JobOutcome::Skipped;
            entry.result.reason = "converted before, its output is there (--resume)";
        } else {
            entryOf.push_back(entries.size());
            converted.push_back(std::move(job));
        }
        entries.push_back(std::move(entry));
    }
    entries.insert(entries.end(), dropped.begin(), dropped.end());
    return convertJobs(std::move(converted), std::move(entries), entryOf, options);
}

std::optional<Profile> CliProgram::chosenProfile(const CliOptions& options) {
    static constexpr std::array<const char*, 4> kShortNames = {"mpeg4", "mpeg4-wide", "h264",
                                                               "mp3"};
    const std::string wanted = options.profile.value_or(std::to_string(kStartProfile));
    for (int index = kProfileMpeg4Small; index <= kProfileMp3; ++index) {
        const auto place = static_cast<std::size_t>(index);
        if (wanted == std::to_string(index) || text::lower(wanted) == kShortNames[place] ||
            text::lower(wanted) == text::lower(kProfileNames[place])) {
            return builtInProfile(index);
        }
    }
    if (!services_.files.exists(wanted)) {
        error("no profile '" + wanted + "': give 0-3, mpeg4, mpeg4-wide, h264, mp3 or a " +
              ".profile file");
        return std::nullopt;
    }
    const OpenedProfile opened = openProfile(wanted, services_.files);
    if (opened.result != OpenedProfile::Result::Opened) {
        error(opened.detail.message());
        return std::nullopt;
    }
    SettingsRows rows;
    rows.items() = opened.rows;
    return profileFor(kProfileCustom, rows);
}

bool CliProgram::addFile(const std::string& file, const Profile& profile, const std::string& folder,
                         JobList& jobs, JobEntry& entry) {
    entry.result.outcome = JobOutcome::Failed;
    if (!services_.files.fileSize(file)) {
        entry.result.reason = services_.files.exists(file) ? "Not a file." : "No such file.";
        return false;
    }
    const IdentifyOutcome outcome = services_.engine.identify(file, false);
    if (outcome.result != IdentifyResult::Identified || !outcome.info) {
        entry.result.reason = outcome.result == IdentifyResult::NotIdentified
                                  ? "Not a video or sound file the engine can read."
                                  : outcome.detail.message();
        if (entry.result.reason.empty()) {
            entry.result.reason = kEngineBusyMessage;
        }
        return false;
    }
    const Job& job = jobs.append(factory_.makeFileJob(file, profile, folder, *outcome.info, jobs,
                                                      chosenTracks(file, *outcome.info)));
    entry.output = outputShown(job);
    entry.result.outcome = JobOutcome::Pending;
    return true;
}

TrackChoice CliProgram::chosenTracks(const std::string& file, const MediaInfo& info) {
    const OfferedTracks offered = offeredTracks(info, subtitleFilesBeside(file, services_.files));
    TrackChoice choice = defaultTracks(trackPreferences_, offered);
    const std::string quoted = "\"" + file + "\"";
    if (const auto& audio = requestedTracks_.audio) {
        choice.sound = soundNamed(offered, *audio);
        if (!choice.sound) {
            error("note: " + quoted + " has no sound track in " + *audio +
                  "; its default one is converted");
        }
    }
    if (const auto& subtitles = requestedTracks_.subtitles) {
        const std::string path = platform::absolutePath(*subtitles);
        const auto named = subtitlesNamed(offered, *subtitles);
        if (named) {
            choice.subtitles = *named;
        } else if (services_.files.fileSize(path)) {
            choice.subtitles = SubtitleChoice::ofFile(path);
        } else {
            choice.subtitles = SubtitleChoice::none();
            error("note: " + quoted + " has no subtitles in " + *subtitles +
                  ", and there is no such file; it is converted without subtitles");
        }
    }
    return choice;
}

int CliProgram::convert(const CliOptions& options) {
    TrackSettings tracks(services_.files, services_.settings.filePath());
    tracks.read();
    trackPreferences_ = tracks.preferences();
    requestedTracks_ = {options.audio, options.subtitles};
    const std::optional<Profile> profile = chosenProfile(options);
    if (!profile) {
        return 1;
    }
    const std::string folder = options.outputFolder ? platform::absolutePath(*options.outputFolder)
                                                    : services_.settings.outputPath();
    if (folder.empty()) {
        error("no output folder: give one with --output");
        return 1;
    }
    JobList jobs;
    std::vector<JobEntry> entries;
    std::vector<std::size_t> entryOf;
    for (const std::string& given : options.files) {
        const std::string file = platform::absolutePath(given);
        JobEntry entry{file, {}, {}};
        bool twice = false;
        for (const JobEntry& earlier : entries) {
            twice = twice || earlier.source == file;
        }
        if (twice) {
            error("note: \"" + given + "\" is given twice; it is converted once");
            continue;
        }
        if (!stops_.stopped() && addFile(file, *profile, folder, jobs, entry)) {
            entryOf.push_back(entries.size());
        }
        entries.push_back(entry);
    }
    return convertJobs(jobs.snapshot(), std::move(entries), entryOf, options);
}

int CliProgram::convertJobs(std::vector<Job> jobs, std::vector<JobEntry> entries,
                            const std::vector<std::size_t>& entryOf, const CliOptions& options) {
    std::string folder;
    if (const Status ready = services_.engine.privateFolder(folder); !ready) {
        error(ready.message());
        return 1;
    }
    std::vector<JobEntry> batchEntries;
    for (const std::size_t entry : entryOf) {
        batchEntries.push_back(entries[entry]);
    }
    // The batch's own settings: the choice of this command line, never saved.
    Settings settings(services_.files, "", services_.settings.outputPath());
    settings.setOverwritePolicy(overwritePolicy(options));
    TerminalBatchView view(console_, batchEntries, ask_);
    BatchRun batch(std::move(jobs), view,
                   {services_.engine, services_.files, services_.power, settings},
                   // Each pelorine-cli's own: several may convert at the same time.
                   folder + "cli-logs/" + std::to_string(services_.engine.ownProcessId()) + "/");
    batch.setThumbnails(thumbnailsOn());
    batch.setSubtitleCodePage(subtitleCodePage(options));
    batch.setJobsAtOnce(jobsAtOnce(options));
    view.follow(batch);
    stops_.attach(&batch);
    batch.run();
    stops_.attach(nullptr);
    view.stopProgressTimer();
    if (batch.results().size() != entryOf.size()) {
        // Refused before it began: another engine runs.
        for (const std::string& message : view.messages()) {
            error(message);
        }
        return 1;
    }
    for (std::size_t i = 0; i < entryOf.size(); ++i) {
        entries[entryOf[i]].result = batch.results()[i];
    }
    console_.result(summaryText(entries));
    const int status = exitStatusOf(entries);
    if (options.sendToHandheld && !stops_.stopped()) {
        return std::max(status, sendToHandheld(batch));
    }
    return status;
}

int CliProgram::sendToHandheld(const BatchRun& batch) {
    std::vector<Job> done;
    for (std::size_t row = 0; row < batch.results().size(); ++row) {
        if (batch.results()[row].outcome == JobOutcome::Done) {
            done.push_back(batch.jobs()[row]);
        }
    }
    HandheldSettings handheld(services_.files, services_.settings.filePath());
    handheld.read();
    const handheld::SendResult sent = handheld::sendJobs(
        done, {services_.files, services_.largeFiles, services_.mounts, services_.handheldOverride},
        handheld.newerFirmware(), {}, [this] { return stops_.stopped(); });
    if (!sent.status) {
        error(handheld::sendReport(sent));
        return 1;
    }
    console_.result(handheld::sendReport(sent) + "\n");
    return 0;
}

}  // namespace pelorine::cli
