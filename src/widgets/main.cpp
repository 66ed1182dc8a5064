// Pelorine's start-up: the settings, the one-instance check, the dialog
// colours, then the main window until it closes.

#include <QApplication>
#include <QFont>
#include <QMessageBox>
#include <QTimer>

#include <string>
#include <vector>

#include "app/MainView.h"
#include "app/SingleInstance.h"
#include "engine/Engine.h"
#include "keeping/KeepThread.h"
#include "platform/Console.h"
#include "platform/Desktop.h"
#include "platform/FileSystem.h"
#include "platform/LargeFiles.h"
#include "platform/Machine.h"
#include "platform/MountTable.h"
#include "platform/OpticalDrives.h"
#include "platform/PowerControl.h"
#include "platform/Processes.h"
#include "platform/SystemPaths.h"
#include "settings/Settings.h"
#include "window/MainWindow.h"
#include "window/QtDialogs.h"
#include "window/QtKeeping.h"

namespace {

// Before the application exists: the platform and how the preview's native
// window lives beside the widgets Qt draws.
void prepareApplication() {
    // The engine plays the preview into an X11 window: the X11 platform
    // first (XWayland on a Wayland desktop), Wayland only where there is no X.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "xcb;wayland");
    }
    // The preview area has a native window of its own; the rest stays drawn by Qt.
    QApplication::setAttribute(Qt::AA_DontCreateNativeWidgetSiblings);
}

// The faces the window is drawn with, or their free look-alikes.
void useWindowFaces() {
    QFont::insertSubstitutions("MS Sans Serif", {"Liberation Sans", "DejaVu Sans"});
    QFont::insertSubstitutions("Tahoma", {"DejaVu Sans", "Liberation Sans"});
}

// What the window's logic works with on this system.
pelorine::MainController::Services systemServices(pelorine::Engine& engine,
                                                  pelorine::platform::SystemPaths& paths,
                                                  pelorine::Settings& settings) {
    using namespace pelorine;
    return {engine,
            paths,
            platform::systemFileSystem(),
            platform::systemPowerControl(),
            platform::systemDesktop(),
            settings,
            {platform::systemOpticalDrives(), platform::systemLargeFiles(),
             platform::systemMountTable(), platform::systemMachine(),
             platform::handheldOverrideFolder()}};
}

}  // namespace

int main(int argc, char** argv) {
    using namespace pelorine;
    prepareApplication();
    QApplication application(argc, argv);
    QApplication::setApplicationName(kProductTitle);
    useWindowFaces();

    const auto paths = platform::makeLinuxSystemPaths(platform::currentEnvironment());
    Settings settings(platform::systemFileSystem(), paths->settingsFilePath(),
                      paths->defaultOutputFolder());
    settings.load();

    std::string channelFolder;
    const Status ready = paths->ensureChannelFolder(channelFolder);
    const InstanceCheck instance =
        ready ? checkSingleInstance(channelFolder) : InstanceCheck{nullptr, ready.message()};
    if (!instance.lock) {
        QMessageBox::information(nullptr, kProductTitle, QString::fromStdString(instance.refusal));
        return 1;
    }
    applyDialogColours();

    Engine engine(platform::systemProcessLauncher(), platform::systemProcessList(), *paths,
                  platform::systemFileSystem());
    QtDialogs dialogs;
    // The list kept on disk: its timer, writer and dialogs outlive the window.
    QtKeepTimer keepTimer;
    KeepThread keepWriter(queuedOn(&application));
    QtKeepDialogs keepDialogs;
    auto window = std::make_unique<MainWindow>(systemServices(engine, *paths, settings), dialogs);
    dialogs.setOwner(window.get());
    keepDialogs.setOwner(window.get());
    window->show();
    // Once the window shows: what the last run left, asked about or
    // restored; then a file given on the command line, as a file manager
    // starts the program, so its messages belong to the window.
    // Made absolute here: the list, a saved project and the list kept on
    // disk name each video by its whole path, whatever folder opens them.
    std::vector<std::string> files;
    for (int i = 1; i < argc; ++i) {
        files.push_back(platform::absolutePath(argv[i]));
    }
    QTimer::singleShot(0, window.get(), [&window, &keepTimer, &keepWriter, &keepDialogs, files] {
        window->controller().keepList(
            {platform::systemFileSystem(), keepTimer, keepWriter, keepDialogs});
        if (!files.empty()) {
            window->controller().openFiles(files, window->state());
        }
    });
    const int result = application.exec();
    (void)window->controller().finishKeeping();
    // Closing while a batch converts: the batch must not outlive its window.
    if (window->controller().batchActive()) {
        platform::systemDesktop().exitProcess(result);
    }
    return result;
}
