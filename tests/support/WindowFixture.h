#pragma once
// The real main window on the converter's core, in a folder of its own: the
// engine is looked for in `programFolder`, the settings file and the outputs
// sit in `folder`, power-off is recorded and the dialogs are scripted.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "engine/Engine.h"
#include "platform/Desktop.h"
#include "platform/FileSystem.h"
#include "platform/Processes.h"
#include "settings/Settings.h"
#include "support/Recorders.h"
#include "support/ScriptedWindow.h"
#include "support/TestSupport.h"
#include "window/MainWindow.h"

namespace pelorine::testing {

class WindowFixture : public ::testing::Test {
protected:
    // The engine in `folder` + `programSubfolder` ("bin/"), or in `folder` itself.
    explicit WindowFixture(const std::string& programSubfolder = {})
        : programFolder(folder.path() + programSubfolder) {}

    // Loads the settings and shows the window; the engine must be installed first.
    void openWindow() {
        settings.load();
        window = std::make_unique<MainWindow>(
            MainController::Services{engine, paths, platform::systemFileSystem(), power,
                                     platform::systemDesktop(), settings, systemDevices()},
            dialogs);
        window->show();
    }

    TempFolder folder;
    std::string programFolder;
    FolderPaths paths{folder.path(), programFolder};
    Engine engine{platform::systemProcessLauncher(), platform::systemProcessList(), paths,
                  platform::systemFileSystem()};
    Settings settings{platform::systemFileSystem(), folder.file("zelvic.ini"), folder.file("out")};
    RecordingPower power;
    ScriptedWindow dialogs;  // only its dialogs are used
    std::unique_ptr<MainWindow> window;
};

}  // namespace pelorine::testing
