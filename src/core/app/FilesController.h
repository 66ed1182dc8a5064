#pragma once
// Project and profile files: Open Project, Save Project, Save Profile As and
// Load Profile.
//
// A project or profile is read and checked whole before anything changes: a
// file that cannot be read leaves the list and the rows as they were
// ("Failed!"), a damaged one too ("Command failed."). Saving goes through a
// temporary file, so a failed save ("Failed!") leaves the old file as it was.

#include <functional>
#include <string>

#include "app/Activity.h"
#include "app/MainView.h"
#include "jobs/JobList.h"
#include "platform/FileSystem.h"
#include "profiles/ProfileFile.h"
#include "profiles/SettingsRows.h"

namespace pelorine {

class FilesController {
public:
    struct Parts {
        JobList& jobs;
        MainView& view;
        Dialogs& dialogs;
        Activity& activity;
        platform::FileSystem& files;
        const SettingsRows& rows;
        // Takes the rows of a profile file read whole into the window.
        std::function<void(const ProfileRows&)> profileLoaded;
        // The grid with no Job, showing the defaults of profile `index`.
        std::function<void(int index)> showNoJob;
    };

    explicit FilesController(Parts parts) : p_(parts) {}

    // Open Project: a file chosen by the user replaces the list, and the
    // grid shows the defaults of `profile`, the profile box's selection.
    void openProject(int profile);
    // The same for a file given by name (the program's command line); refused
    // while converting.
    void openProjectFile(const std::string& path, int profile);
    // Save Project: the list, in order, into a file chosen by the user.
    void saveProject();
    // Save Profile As: the eighteen settings rows as they stand.
    void saveProfileAs();
    // Load Profile: a file chosen by the user becomes the customised profile.
    void loadProfile();
    // Loads the profile file at path (one given on the command line).
    void loadProfileFile(const std::string& path);

private:
    Parts p_;
};

}  // namespace pelorine
