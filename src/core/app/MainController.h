#pragma once
// The decisions of the main window: the command table, the activity state,
// the output folder, the batch run and its progress, leaving. The window
// forwards commands and events here and shows what this asks for.

#include <atomic>
#include <memory>
#include <string>
#include <thread>

#include "app/JobListOperations.h"
#include "app/MainView.h"
#include "conversion/BatchRun.h"
#include "conversion/JobList.h"
#include "engine/Engine.h"
#include "engine/EngineLink.h"
#include "platform/Desktop.h"
#include "platform/FileSystem.h"
#include "platform/PowerControl.h"
#include "platform/SystemPaths.h"
#include "settings/Settings.h"

namespace pelorine {

class MainController {
public:
    struct Services {
        Engine& engine;
        platform::SystemPaths& paths;
        platform::FileSystem& files;
        platform::PowerControl& power;
        platform::Desktop& desktop;
        Settings& settings;
    };

    MainController(Services services, MainView& view, Dialogs& dialogs);
    // Waits for a batch that is still converting.
    ~MainController();
    MainController(const MainController&) = delete;
    MainController& operator=(const MainController&) = delete;

    // Points the engine link at the channel folder and shows the output
    // folder; the window calls it once it is laid out.
    void initialise();

    // Every command of the window, its menus and its list view. False for an
    // id that is not a command.
    bool handleCommand(int id);

    // A double-click on a row: stops a preview, then plays the row's Job.
    void playSelected();

    // The output path edit's text changed (also when set by the program).
    void outputPathEdited(const std::string& text);
    // The window is asked to close: true when it may.
    bool closeRequested();
    // The progress timer's tick, every 50 ms while a batch runs.
    void progressTick();

    ActivityState activityState() const;
    bool batchActive() const { return batchActive_; }

    JobList& jobs() { return jobs_; }
    JobListOperations& jobOperations() { return jobOperations_; }
    SettingsRows& rows() { return rows_; }
    EngineLink& link() { return link_; }
    BatchState& batchState() { return batch_; }

    // The help's start page, installed beside the program.
    std::string helpStartPage() const;

private:
    // True (after the guard message) when a conversion runs.
    bool refusedWhileConverting();
    // The gate of the list operations: refuses while converting, stops a preview.
    bool gate();
    void exitProgram();
    void showMenu(int menu, int button);
    void chooseOutputFolder();
    void applyOutputFolder(const std::string& folder);
    void convert();
    void stop();
    void stopPreview();
    void openLink(const std::string& link);
    void openHelp();

    // Commands whose behaviour comes with the job list, the grid, the
    // preview, DVDs, projects, profile files and the small dialogs.
    void openDvd() {}
    void saveProfileAs() {}
    void loadProfile() {}
    void openProject() {}
    void saveProject() {}
    void play() {}
    void playPrevious() {}
    void playNext() {}
    void videoInformation();
    void setOutputFileName();
    void overwriteSettings();

    Services services_;
    MainView& view_;
    Dialogs& dialogs_;
    JobList jobs_;
    EngineLink link_;
    SettingsRows rows_;
    CustomProfile custom_;
    JobListOperations jobOperations_;
    BatchState batch_;
    std::atomic<bool> batchActive_{false};
    std::thread worker_;
};

}  // namespace pelorine
