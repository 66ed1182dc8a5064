#pragma once
// The window logic with a scripted window and the real engine of this build,
// installed into "bin/" of `folder`, its settings file "zelvic.ini" there and
// its outputs going to "out/".

#include "support/RealMedia.h"
#include "support/ScriptedWindow.h"
#include "support/TestSupport.h"

namespace pelorine::testing {

struct RealEngineWindow {
    explicit RealEngineWindow(const TempFolder& folder)
        : paths((installRealEngine(folder.file("bin/")), folder.path()), folder.file("bin/")),
          settings(platform::systemFileSystem(), folder.file("zelvic.ini"), folder.file("out")),
          controller({engine, paths, platform::systemFileSystem(), power, desktop, settings,
                      systemDevices()},
                     window, window) {
        window.controller = &controller;
        controller.initialise();
    }
    ~RealEngineWindow() { window.close(); }

    FolderPaths paths;
    Engine engine{platform::systemProcessLauncher(), platform::systemProcessList(), paths,
                  platform::systemFileSystem()};
    Settings settings;
    ScriptedDesktop desktop;
    RecordingPower power;
    ScriptedWindow window;
    MainController controller;
};

}  // namespace pelorine::testing
