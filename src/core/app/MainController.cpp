#include "app/MainController.h"

#include "app/Commands.h"
#include "app/SmallDialogText.h"
#include "conversion/BatchProgress.h"
#include "settings/OutputFolder.h"

namespace pelorine {

MainController::MainController(Services services, MainView& view, Dialogs& dialogs)
    : services_(services),
      view_(view),
      dialogs_(dialogs),
      link_(services.files),
      jobOperations_({jobs_, rows_, custom_, link_, services.engine, services.settings, view,
                      dialogs, [this] { return gate(); }, [this] { stopPreview(); },
                      [this] { return activityState() == ActivityState::Converting; }}) {}

MainController::~MainController() {
    if (worker_.joinable()) {
        if (batchActive_) {
            batch_.activityFlag = 1;
            link_.writeQuit();
        }
        worker_.join();
    }
}

bool MainController::gate() {
    if (refusedWhileConverting()) {
        return false;
    }
    if (activityState() == ActivityState::Previewing) {
        stopPreview();
    }
    return true;
}

void MainController::initialise() {
    std::string folder;
    if (Status ready = services_.engine.channelFolder(folder); !ready) {
        dialogs_.message(ready.message());
    }
    link_.setChannelFolder(folder);
    view_.showRows(rows_.startRows());
    view_.selectProfile(kStartProfile);
    view_.setOutputPathText(services_.settings.outputPath());
}

ActivityState MainController::activityState() const {
    return pelorine::activityState(batch_.activityFlag, services_.engine.isRunning());
}

bool MainController::refusedWhileConverting() {
    if (activityState() != ActivityState::Converting) {
        return false;
    }
    dialogs_.message(kGuardMessage);
    return true;
}

bool MainController::handleCommand(int id) {
    using namespace command;
    // Buttons and menu items leave no button with the focus.
    if (id < kListPlay || id > kListDeleteVideoFile) {
        view_.focusDialog();
    }
    switch (id) {
        case kExit:
        case kExitMenu:
            exitProgram();
            break;
        case kFileMenu:
            showMenu(kFileMenuResource, id);
            break;
        case kEditMenu:
            showMenu(kEditMenuResource, id);
            break;
        case kSettingsMenu:
            showMenu(kSettingsMenuResource, id);
            break;
        case kHelpMenu:
            showMenu(kHelpMenuResource, id);
            break;
        case kAdd:
        case kAddFile:
        case kListAddFile:
            jobOperations_.addFiles();
            break;
        case kDelete:
        case kDeleteSelectedFile:
        case kListDeleteVideoFile:
            jobOperations_.deleteSelected();
            break;
        case kClear:
        case kClearMenu:
        case kNewProject:
        case kListClear:
            jobOperations_.clear();
            break;
        case kConvert:
        case kConvertMenu:
            convert();
            break;
        case kStop:
        case kCancel:
        case kStopConversionMenu:
            stop();
            break;
        case kDvd:
        case kListDvdSettings:
            openDvd();
            break;
        case kWebsite:
        case kWebsiteMenu:
            openLink(helpStartPage());
            break;
        case kContactUs:
            openLink(std::string("mailto:") + kSupportAddress);
            break;
        case kHelp:
            openHelp();
            break;
        case kMinimise:
            view_.minimise();
            break;
        case kSaveProfileAs:
            saveProfileAs();
            break;
        case kLoadProfile:
            loadProfile();
            break;
        case kBrowse:
        case kSetOutputPath:
            chooseOutputFolder();
            break;
        case kPlay:
        case kPlayMenu:
        case kListPlay:
            play();
            break;
        case kStopPlay:
        case kStopPreviewMenu:
        case kListStop:
            stopPreview();
            break;
        case kStopPreviewOrGuard:
            if (!refusedWhileConverting() && activityState() == ActivityState::Previewing) {
                stopPreview();
            }
            break;
        case kPlayPrevious:
            playPrevious();
            break;
        case kPlayNext:
            playNext();
            break;
        case kOpenProject:
            openProject();
            break;
        case kSaveProject:
            saveProject();
            break;
        case kVideoInformation:
        case kListFileInformation:
            videoInformation();
            break;
        case kSetOutputFileName:
        case kListSetOutputFileName:
            setOutputFileName();
            break;
        case kOverwriteSettings:
            if (!refusedWhileConverting()) {
                overwriteSettings();
            }
            break;
        case kAbout:
            dialogs_.showAbout();
            break;
        default:
            return false;
    }
    return true;
}

void MainController::exitProgram() {
    // Asked whatever runs; a running engine is left to finish on its own.
    if (dialogs_.confirm(kExitQuestion, kWindowCaption)) {
        services_.desktop.exitProcess(1);
    }
}

bool MainController::closeRequested() {
    return dialogs_.confirm(kExitQuestion, kWindowCaption);
}

void MainController::showMenu(int menu, int button) {
    if (const int chosen = view_.popUpMenu(menu, button); chosen != 0) {
        handleCommand(chosen);
    }
}

void MainController::chooseOutputFolder() {
    if (refusedWhileConverting()) {
        return;
    }
    if (const auto folder = dialogs_.chooseFolder(kFolderPrompt)) {
        applyOutputFolder(*folder);
    }
    view_.setOutputPathText(services_.settings.outputPath());
}

void MainController::outputPathEdited(const std::string& text) {
    if (text == services_.settings.outputPath()) {
        return;  // nothing changes: also ends the echo of setOutputPathText
    }
    // The Jobs' output paths must not change under a running batch.
    if (refusedWhileConverting()) {
        view_.setOutputPathText(services_.settings.outputPath());
        return;
    }
    applyOutputFolder(text);
}

void MainController::applyOutputFolder(const std::string& folder) {
    services_.settings.setOutputPath(folder);
    const std::string& stored = services_.settings.outputPath();
    for (std::size_t row = 0; row < jobs_.count(); ++row) {
        Job& job = jobs_.job(row);
        job.outputPath = retargetOutputPath(stored, job.outputPath);
        view_.setCell(row, kOutputColumn, job.outputPath);
    }
}

void MainController::convert() {
    if (activityState() == ActivityState::Previewing) {
        stopPreview();
    }
    // One batch at a time: a second would run Jobs beside the first.
    if (batchActive_) {
        dialogs_.message(kEngineBusyMessage);
        return;
    }
    if (worker_.joinable()) {
        worker_.join();
    }
    batchActive_ = true;
    worker_ = std::thread([this] {
        BatchRun batch(
            jobs_, batch_, view_,
            {services_.engine, link_, services_.files, services_.power, services_.settings},
            link_.channelFolder() + "logs/");
        batch.run();
        batchActive_ = false;
    });
}

void MainController::stop() {
    stopBatch(batch_, services_.engine, link_, [this] { view_.keepAlive(); });
}

void MainController::videoInformation() {
    if (!gate()) {
        return;
    }
    if (const auto row = view_.selectedRow(); row && *row < jobs_.count()) {
        dialogs_.showVideoInformation(jobs_.job(*row));
    }
}

void MainController::setOutputFileName() {
    const auto row = view_.selectedRow();
    if (!row || *row >= jobs_.count()) {
        return;
    }
    stopPreview();
    if (const auto name = dialogs_.askOutputFileName()) {
        Job& job = jobs_.job(*row);
        job.outputPath = outputPathWithName(job.outputPath, *name, job.outputFormat);
        view_.setCell(*row, kOutputColumn, job.outputPath);
    }
}

void MainController::overwriteSettings() {
    if (const auto policy = dialogs_.chooseOverwritePolicy(services_.settings.overwritePolicy())) {
        services_.settings.setOverwritePolicy(*policy);
    }
}

void MainController::playSelected() {
    stopPreview();
    play();
}

void MainController::stopPreview() {
    quitEngine(services_.engine, link_, [this] { view_.keepAlive(); });
}

void MainController::progressTick() {
    const BarPositions bars =
        pelorine::progressTick(jobs_, batch_.currentJob, link_.readProgress());
    if (bars.stopTimer) {
        view_.stopProgressTimer();
    }
    if (bars.overall) {
        view_.setOverallBar(*bars.overall);
    }
    if (bars.job) {
        view_.setJobBar(*bars.job);
    }
}

std::string MainController::helpStartPage() const {
    // Beside the program in the build, in the shared data folder when installed.
    const std::string folder = services_.paths.programFolder();
    const std::string installed = folder + "../share/pelorine/help/index.html";
    return services_.files.exists(installed) ? installed : folder + "help/index.html";
}

void MainController::openHelp() {
    const std::string page = helpStartPage();
    if (!services_.files.exists(page)) {
        dialogs_.message("The help was not found at \"" + page +
                         "\". Please install Pelorine again.");
        return;
    }
    openLink(page);
}

void MainController::openLink(const std::string& link) {
    const int result = services_.desktop.openLink(link);
    if (result <= 32) {
        dialogs_.warning("Unable to open hyperlink:\n\n" + platform::openLinkErrorText(result),
                         kProductTitle);
    }
}

}  // namespace pelorine
