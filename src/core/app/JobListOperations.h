#pragma once
// The job list as the user edits it: adding files (each identified by the
// engine and named), deleting and clearing, loading a clicked Job into the
// grid, the grid's and the range slider's edits written back into the
// selected Job, and profile changes.

#include <functional>
#include <string>
#include <vector>

#include "app/Activity.h"
#include "app/JobRows.h"
#include "app/MainView.h"
#include "conversion/JobFactory.h"
#include "conversion/JobList.h"
#include "engine/Engine.h"
#include "profiles/SettingsRows.h"
#include "settings/Settings.h"

namespace pelorine {

inline constexpr const char* kNoOutputFolderMessage = "Please specify a directory for output.";
inline constexpr const char* kNoProfileMessage = "Please select a profile.";
inline constexpr const char* kNoSelectionMessage = "Please select a video in the list first!";
inline constexpr const char* kAddFilter =
    "Supported Files|*.avi;*.mov;*.dv;*.mov;*.qt;*.mp4;*.yuv;*.rm;*.rmvb;*.wmv;*.asf;*.mpg;"
    "*.mpeg;*.dat;*.vob;*.flv|avi files(*.avi)|*.avi|dv video file(*.dv)|*.dv|quick time "
    "file(*.mov,*.qt)|*.mov;*.qt|mp4 files(*.mp4)|*.mp4|yuv files(*.yuv)|*.yuv|real media "
    "files(*.rm,*.rmvb)|*.rm;*.rmvb|windows media files(*.wmv,*.asf)|*.wmv;*.asf|mpeg "
    "files(*.mpg,*.mpeg)|*.mpg;*.mpeg|VCD file(*.dat)|*.dat|DVD file(*.vob)|*.vob|Flash "
    "Video(*.flv)|*.flv|Youtube video(*.flv)|*.flv|*.*|*.*||";

// The profile box's selection for new Jobs (Add, Open DVD): nothing, after
// its message, when no output folder is set or no profile is selected.
std::optional<int> newJobsProfile(const Settings& settings, MainView& view, Dialogs& dialogs);

// The clip of the selected Job, as the preview uses it.
struct CurrentClip {
    double start = 0.0;
    double end = 0.0;
    bool enabled = false;
};

class JobListOperations {
public:
    struct Parts {
        JobList& jobs;
        JobRows& jobRows;
        SettingsRows& rows;
        CustomProfile& custom;
        Engine& engine;
        const Settings& settings;
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
    void addFiles();
    void deleteSelected();
    void clear();
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
    std::optional<std::size_t> selectedIndex() const { return selectedIndex_; }

private:
    // Identifies `path` on a helper thread while the window keeps painting.
    IdentifyOutcome identify(const std::string& path);
    // Adds one file; the reason it was left out, or empty.
    std::string addFile(const std::string& path, const Profile& profile);
    Job* selectedJob();
    void showClip(const Job& job);

    Parts p_;
    JobFactory factory_;
    std::optional<std::size_t> selectedIndex_;
    CurrentClip clip_;
};

}  // namespace pelorine
