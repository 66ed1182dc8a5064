#pragma once
// The commands of pelorine-cli: info, commands, run and convert, on the same
// engine, batch run and command-line composer as the window.

#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "cli/CliOptions.h"
#include "cli/Summary.h"
#include "cli/TerminalBatchView.h"
#include "conversion/BatchRun.h"
#include "engine/Engine.h"
#include "jobs/JobFactory.h"
#include "jobs/JobList.h"
#include "platform/FileSystem.h"
#include "platform/LargeFiles.h"
#include "platform/Machine.h"
#include "platform/MountTable.h"
#include "platform/PowerControl.h"
#include "profiles/Profile.h"
#include "settings/Settings.h"
#include "tracks/TrackDefaults.h"

namespace pelorine::cli {

// Hands the user's stop (Ctrl+C) to the batch that runs, or to the next one
// to start. Any thread.
class StopRelay {
public:
    void stop();
    // The batch that runs from now on; nullptr when it has ended.
    void attach(BatchRun* batch);
    bool stopped() const;

private:
    mutable std::mutex mutex_;
    BatchRun* batch_ = nullptr;
    bool stopped_ = false;
};

class CliProgram {
public:
    struct Services {
        Engine& engine;
        platform::FileSystem& files;
        platform::PowerControl& power;
        const Settings& settings;  // the window's, never written
        // Where --send finds the memory stick and how it writes to it.
        platform::LargeFiles& largeFiles;
        const platform::MountTable& mounts;
        // The processors and memory "Jobs at once: Auto" chooses from.
        const platform::Machine& machine;
        std::string handheldOverride;  // a folder standing for the only stick; empty: none
    };
    // Answers the overwrite question; true to overwrite.
    using Ask = std::function<bool(const std::string& question)>;

    CliProgram(Services services, ConsoleWriter& console, StopRelay& stops, Ask ask);

    // Runs the command; returns the exit status.
    int run(const CliOptions& options);

private:
    int info(const std::vector<std::string>& files);
    int commands(const CliOptions& options);
    int runProject(const CliOptions& options);
    int convert(const CliOptions& options);
    // Whether runs make the .THM picture beside each MP4 output.
    bool thumbnailsOn() const;
    // The code page of burned subtitle files: --subcp, else the window's.
    std::string subtitleCodePage(const CliOptions& options) const;
    // How many Jobs convert at once: --jobs, else the window's setting; Auto
    // as the machine is now.
    int jobsAtOnce(const CliOptions& options) const;
    // --send-to-psp: the Jobs the batch converted, to the memory stick; the
    // exit status of that part.
    int sendToHandheld(const BatchRun& batch);

    // The Jobs of a project, retargeted to --output; false (after a note) when
    // it cannot be read. `dropped` gets the Jobs whose source is gone.
    bool readProject(const CliOptions& options, std::vector<Job>& jobs,
                     std::vector<JobEntry>& dropped);
    // Converts `jobs` in one batch. `entries` lists every Job the user gave,
    // in their order, and `entryOf[i]` is the entry of jobs[i]; entries of
    // Jobs that never reached the batch carry their outcome already. Prints
    // the summary and returns the exit status.
    int convertJobs(std::vector<Job> jobs, std::vector<JobEntry> entries,
                    const std::vector<std::size_t>& entryOf, const CliOptions& options);
    // The profile --profile names; nothing (after a note) when it names none.
    std::optional<Profile> chosenProfile(const CliOptions& options);
    // Adds `file` as the window's Add does; false (with the entry's outcome
    // set) when it cannot be converted.
    bool addFile(const std::string& file, const Profile& profile, const std::string& folder,
                 JobList& jobs, JobEntry& entry);
    // The sound and subtitles of a new Job: --audio and --subtitles, else
    // the window's defaults; a name the file has nothing for is noted.
    TrackChoice chosenTracks(const std::string& file, const MediaInfo& info);
    int overwritePolicy(const CliOptions& options) const;
    void error(const std::string& text);

    Services services_;
    ConsoleWriter& console_;
    StopRelay& stops_;
    Ask ask_;
    JobFactory factory_;
    TrackPreferences trackPreferences_;
    struct {
        std::optional<std::string> audio;
        std::optional<std::string> subtitles;
    } requestedTracks_;
};

}  // namespace pelorine::cli
