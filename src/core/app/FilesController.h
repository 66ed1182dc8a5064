#pragma once
// Project and profile files: Open Project, Save Project, Save Profile As and
// Load Profile.
//
// A project is read and checked whole before the list is touched: a file
// that cannot be read leaves the list as it was ("Failed!"), a damaged one
// too ("Command failed."). Saving goes through a temporary file, so a failed
// save ("Failed!") leaves the old file as it was.

#include <string>

#include "app/Activity.h"
#include "app/MainView.h"
#include "conversion/JobList.h"
#include "platform/FileSystem.h"

namespace pelorine {

class FilesController {
public:
    struct Parts {
        JobList& jobs;
        MainView& view;
        Dialogs& dialogs;
        Activity& activity;
        platform::FileSystem& files;
    };

    explicit FilesController(Parts parts) : p_(parts) {}

    // Open Project: a file chosen by the user replaces the list.
    void openProject();
    // The same for a file given by name (the program's command line); refused
    // while converting.
    void openProjectFile(const std::string& path);
    // Save Project: the list, in order, into a file chosen by the user.
    void saveProject();
    void saveProfileAs() {}
    void loadProfile() {}

private:
    Parts p_;
};

}  // namespace pelorine
