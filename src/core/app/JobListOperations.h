#pragma once
// The job list as the user edits it: adding files (each identified by the
// engine and named), deleting and clearing, loading a clicked Job into the
// grid, the grid's and the range slider's edits written back into the Job
// the grid shows, and profile changes.
//
// The grid always shows either the Job last loaded into it or, when there is
// none (at start, after Delete, Clear, New project or Open project), the
// defaults of the profile in the profile box. Its edits go into the Job it
// shows, never into a row the selection moved to without loading it.

#include <functional>
#include <string>
#include <vector>

#include "app/Activity.h"
#include "app/JobRows.h"
#include "app/MainView.h"
#include "conversion/SourceFiles.h"
#include "engine/Engine.h"
#include "jobs/JobFactory.h"
#include "jobs/JobList.h"
#include "profiles/SettingsRows.h"
#include "settings/Settings.h"

namespace pelorine {

inline constexpr const char* kNoOutputFolderMessage = "Please specify a directory for output.";
inline constexpr const char* kNoProfileMessage = "Please select a profile.";
inline constexpr const char* kNoSelectionMessage = "Please select a video in the list first!";
inline constexpr const char* kClearCaption = "Clear";

// The profile box's selection for new Jobs (Add, Open DVD): nothing, after
// its message, when no output folder is set or no profile is selected.
std::optional<int> newJobsProfile(const Settings& settings, MainView& view, Dialogs& dialogs);

// The clip of the selected Job, as the preview uses it.
struct CurrentClip {
    double start = 0.0;
    double end = 0.0;
    bool enabled = false;
};

class JobListOperations final : public JobListObserver {
public:
    struct Parts {
        JobList& jobs;
        JobRows& jobRows;
        SettingsRows& rows;
        CustomProfile& custom;
        Engine& engine;
        Settings& settings;
        MainView& view;
        Dialogs& dialogs;
        Activity& activity;
    };

    explicit JobListOperations(Parts parts);

    // The random numbers behind the output names; tests make them predictable.
    void setRandom(std::function<int()> random) { factory_.setRandom(std::move(random)); }
    // The factory of every new Job the window makes (Open DVD's too).
    JobFactory& factory() { return factory_; }

    // The commands; their guard is the command table's.
    // Add: the files chosen in the file dialog, which opens where the last
    // Add took files from.
    void addFiles();
    // Files and folders dropped on the list, added as Add does; a folder
    // gives its video files, in its sub-folders too, in name order.
    void addDropped(const std::vector<std::string>& paths);
    void deleteSelected();
    // Clear and New project; asks first when the list has Jobs.
    void clear();
    // The grid and the profile box with no Job: the profile's defaults, no
    // row selected.
    void showNoJob();
    // A click or right-click on the list (never a keyboard move).
    void loadSelectedJob();

    // The settings grid's notifications, handled when they arrive.
    void clipTimesTyped();
    void settingsChanged();
    void outputFormatChosen();
    void clipVideoChosen();
    // The range slider moved to start .. end seconds.
    void clipRangeChanged(double start, double end);
    // The user chose another profile in the profile box.
    void profileChanged();
    // A profile file was read: its rows become the settings rows and the
    // customised profile, which the selected Job and the profile box take.
    void profileLoaded(const std::array<PropertyItem, SettingsRows::kCount>& loaded);

    // The current clip: the loaded Job's, or where the last seek put it.
    const CurrentClip& currentClip() const { return clip_; }
    CurrentClip& currentClip() { return clip_; }
    // The row of the Job the grid shows, if any.
    std::optional<std::size_t> selectedIndex() const { return selectedIndex_; }

    // JobListObserver: the Job the grid shows keeps its place, or is forgotten
    // with its row.
    void jobAppended(std::size_t, const Job&) override {}
    void jobRemoved(std::size_t row) override;
    void jobsCleared() override;
    void jobChanged(std::size_t, const Job&) override {}

private:
    // What every file of one Add or drop is added with; nothing (after the
    // message) when the output folder or the profile is missing.
    struct AddContext {
        Profile profile;  // as it stands when Add is pressed, for every file
    };
    std::optional<AddContext> addContext();
    void addPaths(const std::vector<std::string>& paths, const AddContext& context);
    // Identifies `path` on a helper thread while the window keeps painting.
    IdentifyOutcome identify(const std::string& path);
    // Adds one file; the reason it was left out, or empty.
    std::string addFile(const std::string& path, const Profile& profile);
    // The Job the grid shows; nullptr when it shows none.
    Job* gridJob();
    void showClip(const Job& job);
    // Puts the Job's clip back into the time rows after a refused typed time.
    void restoreClipRows(const Job& job);

    Parts p_;
    JobFactory factory_;
    std::optional<std::size_t> selectedIndex_;
    CurrentClip clip_;
};

}  // namespace pelorine
