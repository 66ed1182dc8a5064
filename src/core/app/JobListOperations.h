#pragma once
// The job list as the user edits it: adding files (each identified by the
// engine and named), deleting and clearing, loading a clicked Job into the
// grid, and every change of the Job the grid shows, made by the JobEditor
// under the change's guard and then shown in the window.

#include <functional>
#include <string>
#include <vector>

#include "app/Activity.h"
#include "app/JobRows.h"
#include "app/MainView.h"
#include "conversion/SourceFiles.h"
#include "editing/JobEditor.h"
#include "engine/Engine.h"
#include "jobs/JobFactory.h"
#include "jobs/JobList.h"
#include "profiles/SettingsRows.h"
#include "settings/Settings.h"

namespace pelorine {

inline constexpr const char* kNoOutputFolderMessage = "Please specify a directory for output.";
inline constexpr const char* kNoProfileMessage = "Please select a profile.";
inline constexpr const char* kClearCaption = "Clear";

// The profile box's selection `profile` for new Jobs (Add, Open DVD):
// nothing, after its message, when no output folder is set or no profile is
// selected.
std::optional<int> newJobsProfile(const Settings& settings, int profile, Dialogs& dialogs);

class PreviewController;

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
        PreviewController& preview;
    };

    explicit JobListOperations(Parts parts);

    // The random numbers behind the output names; tests make them predictable.
    void setRandom(std::function<int()> random) { factory_.setRandom(std::move(random)); }
    // The factory of every new Job the window makes (Open DVD's too).
    JobFactory& factory() { return factory_; }

    // The commands; their guard is the command table's. `profile` is the
    // profile box's selection as the window reported it.
    // Add: the files chosen in the file dialog, which opens where the last
    // Add took files from.
    void addFiles(int profile);
    // Files and folders dropped on the list, added as Add does; a folder
    // gives its video files, in its sub-folders too, in name order.
    void addDropped(const std::vector<std::string>& paths, int profile);
    // Delete: the Job of the selected row.
    void deleteSelected(const WindowState& at);
    // Clear and New project; asks first when the list has Jobs.
    void clear(int profile);
    // The grid and the profile box with no Job: the defaults of `profile`,
    // no row selected. Whoever clears the list calls it.
    void showNoJob(int profile);
    // A click or right-click on list row `row` (never a keyboard move);
    // nothing while converting or waiting.
    void loadJob(std::optional<std::size_t> row);
    // A change of the Job the grid shows, from the grid, the range slider,
    // the profile box, a profile file or the output name dialog. While the
    // window waits it is refused without a word (what it moved is shown as
    // before); the grid's, the slider's and the profile box's changes are
    // refused with the guard message while converting, and stop a preview.
    void edit(const JobChange& change);

    // The row of the Job the grid shows, if any.
    std::optional<std::size_t> selectedIndex() const { return editor_.selectedIndex(); }

    // JobListObserver: the Job the grid shows keeps its place, or is forgotten
    // with its row or the whole list.
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
    std::optional<AddContext> addContext(int profile);
    void addPaths(const std::vector<std::string>& paths, const AddContext& context);
    // Identifies `path` on a helper thread while the window keeps painting.
    IdentifyOutcome identify(const std::string& path);
    // Adds one file; the reason it was left out, or empty.
    std::string addFile(const std::string& path, const Profile& profile);
    // Shows what an edit asks for.
    void apply(const EditResult& result);

    Parts p_;
    JobFactory factory_;
    JobEditor editor_;
};

}  // namespace pelorine
