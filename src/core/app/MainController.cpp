#include "app/MainController.h"

#include "app/Commands.h"
#include "app/SmallDialogText.h"
#include "conversion/JobsAtOnce.h"
#include "profiles/ProfileFile.h"
#include "project/ProjectFile.h"
#include "settings/OutputFolder.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <string_view>

namespace pelorine {

MainController::MainController(Services services, MainView& view, Dialogs& dialogs)
    : services_(services),
      view_(view),
      dialogs_(dialogs),
      jobRows_(view),
      activity_(dialogs, view),
      preview_({services.engine, view, activity_, dialogs, jobs_,
                [this] { return trackSettings_.preferences().subtitleCodePage; }}),
      files_({jobs_, view, dialogs, activity_, services.files, rows_,
              [this](const ProfileRows& rows) { jobOperations_.edit(change::LoadedProfile{rows}); },
              [this](int index) { jobOperations_.showNoJob(index); }}),
      trackSettings_(services.files, services.settings.filePath()),
      jobOperations_({jobs_, jobRows_, rows_, custom_, services.engine, services.settings, view,
                      dialogs, activity_, preview_, services.files, trackSettings_}),
      discReader_(services.engine, [this] { activity_.keepWindowPainting(); }),
      openDvd_({jobs_, services.settings, dialogs, jobOperations_.factory(),
                [this](int index) { return profileFor(index, rows_); }, discReader_,
                [&drives = services.devices.drives] { return drives.list(); }}),
      handheldSettings_(services.files, services.settings.filePath()),
      handheld_({handheldSettings_, services.files, services.devices.largeFiles,
                 services.devices.mounts, services.devices.handheldOverride},
                jobs_, view, dialogs, activity_),
      keepSetting_(services.files, services.settings.filePath()),
      jobsSetting_(services.files, services.settings.filePath()),
      batch_({{services.engine, services.files, services.power, services.settings},
              services.paths,
              services.desktop,
              jobs_,
              jobRows_,
              view,
              activity_,
              dialogs}) {
    handheldSettings_.read();
    trackSettings_.read();
    keepSetting_.read();
    jobsSetting_.read();
    batch_.setBatchSetup([this](BatchRun& batch) {
        handheld_.setUpBatch(batch);
        batch.setSubtitleCodePage(trackSettings_.preferences().subtitleCodePage);
        batch.setJobsAtOnce(jobsAtOnce());
        if (kept_) {
            batch.setConvertedBefore(kept_->tracker().convertedBefore());
        }
    });
    // The rows first: the grid's keeper may select and show after them.
    jobs_.addObserver(&jobRows_);
    jobs_.addObserver(&jobOperations_);
    activity_.attach(batch_, preview_);
    buildCommandTable();
}

void MainController::keepList(KeepingServices services) {
    kept_ = std::make_unique<KeptWindowList>(KeptWindowList::Parts{
        services_.paths.stateFolder(), services, jobs_,
        [this](std::size_t row, const JobResult& result) { jobRows_.jobEnded(row, result); }});
    batch_.setTracker(&kept_->tracker());
    kept_->start(keepSetting_.on());
}

Status MainController::finishKeeping() {
    return kept_ ? kept_->finish() : Status::ok();
}

std::optional<bool> MainController::checked(int command) const {
    if (command == command::kToggleKeepList) {
        return keepSetting_.on();
    }
    if (command >= command::kJobsAtOnceAuto && command <= command::kJobsAtOnceMost) {
        return command - command::kJobsAtOnceAuto == jobsSetting_.value();
    }
    return handheld_.checked(command);
}

int MainController::jobsAtOnce() const {
    return jobsAtOnceFor(jobsSetting_.value(), services_.devices.machine);
}

void MainController::buildCommandTable() {
    using namespace command;
    using At = const WindowState&;
    auto& c = commands_;
    c.add({kExit, kExitMenu}, Guard::None, [this](At) { exitProgram(); });
    c.add({kFileMenu}, Guard::None, [this](At at) { showMenu(kFileMenuResource, kFileMenu, at); });
    c.add({kEditMenu}, Guard::None, [this](At at) { showMenu(kEditMenuResource, kEditMenu, at); });
    c.add({kSettingsMenu}, Guard::None,
          [this](At at) { showMenu(kSettingsMenuResource, kSettingsMenu, at); });
    c.add({kHelpMenu}, Guard::None, [this](At at) { showMenu(kHelpMenuResource, kHelpMenu, at); });
    c.add({kAdd, kAddFile, kListAddFile}, Guard::Gate,
          [this](At at) { jobOperations_.addFiles(at.profile); });
    c.add({kDelete, kDeleteSelectedFile, kListDeleteVideoFile}, Guard::Gate,
          [this](At at) { jobOperations_.deleteSelected(at); });
    c.add({kClear, kClearMenu, kNewProject, kListClear}, Guard::Gate,
          [this](At at) { jobOperations_.clear(at.profile); });
    c.add({kConvert, kConvertMenu}, Guard::None, [this](At) {
        // A batch already running answers for itself.
        if (batch_.active() || handheld_.roomForBatch(services_.settings.outputPath())) {
            batch_.convert();
        }
    });
    c.add({kStop, kCancel, kStopConversionMenu}, Guard::None, [this](At) { batch_.stop(); });
    c.add({kPlay, kPlayMenu, kListPlay}, Guard::None,
          [this](At at) { preview_.play(at.selectedRow); });
    c.add({kStopPlay, kStopPreviewMenu, kListStop}, Guard::None,
          [this](At) { preview_.stopPlay(); });
    c.add({kStopPreviewOrGuard}, Guard::RefuseWhileConverting, [this](At) { preview_.stopPlay(); });
    c.add({kPlayPrevious}, Guard::None, [this](At at) { preview_.playPrevious(at.selectedRow); });
    c.add({kPlayNext}, Guard::None, [this](At at) { preview_.playNext(at.selectedRow); });
    c.add({kDvd, kListDvdSettings}, Guard::Gate, [this](At at) { openDvd_.run(at.profile); });
    c.add({kOpenProject}, Guard::None, [this](At at) { files_.openProject(at.profile); });
    c.add({kSaveProject}, Guard::None, [this](At) { files_.saveProject(); });
    c.add({kSaveProfileAs}, Guard::None, [this](At) { files_.saveProfileAs(); });
    c.add({kLoadProfile}, Guard::Gate, [this](At) { files_.loadProfile(); });
    c.add({kWebsite, kWebsiteMenu}, Guard::None,
          [this](At) { openLink(services_.paths.helpStartPage()); });
    c.add({kContactUs}, Guard::None,
          [this](At) { openLink(std::string("mailto:") + kSupportAddress); });
    c.add({kHelp}, Guard::None, [this](At) { openHelp(); });
    c.add({kMinimise}, Guard::None, [this](At) { view_.minimise(); });
    c.add({kAbout}, Guard::None, [this](At) { dialogs_.showAbout(); });
    c.add({kBrowse, kSetOutputPath}, Guard::RefuseWhileConverting,
          [this](At) { chooseOutputFolder(); });
    c.add({kVideoInformation, kListFileInformation}, Guard::Gate,
          [this](At at) { videoInformation(at.selectedRow); });
    // Allowed while converting: the batch converts its own copy.
    c.add({kSetOutputFileName, kListSetOutputFileName}, Guard::None,
          [this](At at) { setOutputFileName(at.selectedRow); });
    c.add({kOverwriteSettings}, Guard::RefuseWhileConverting, [this](At) { overwriteSettings(); });
    c.add({kSoundAndSubtitles, kListSoundAndSubtitles}, Guard::Gate,
          [this](At at) { jobOperations_.soundAndSubtitles(at); });
    c.add({kTrackDefaults}, Guard::None, [this](At) { trackDefaults(); });
    c.add({kSendToHandheld}, Guard::RefuseWhileConverting,
          [this](At) { handheld_.sendToHandheld(std::nullopt); });
    c.add({kListSendToHandheld}, Guard::RefuseWhileConverting,
          [this](At at) { handheld_.sendToHandheld(at.selectedRow); });
    addSettingChecks();
    c.add({kListShowLog}, Guard::None, [this](At at) { showSelectedLog(at.selectedRow); });
}

// The Settings menu's checks, each stored at once.
void MainController::addSettingChecks() {
    using namespace command;
    using At = const WindowState&;
    auto& c = commands_;
    for (const int toggle : {kToggleThumbnails, kToggleNewerFirmware, kToggleCopyWhenFinished}) {
        c.add({toggle}, Guard::None, [this, toggle](At) { handheld_.toggle(toggle); });
    }
    // The next start reads it.
    c.add({kToggleKeepList}, Guard::None, [this](At) {
        if (const Status saved = keepSetting_.set(!keepSetting_.on()); !saved) {
            dialogs_.message(saved.message());
        }
    });
    // Stored at once; a batch that converts keeps the number it started with.
    for (int choice = kJobsAtOnceAuto; choice <= kJobsAtOnceMost; ++choice) {
        c.add({choice}, Guard::None, [this, choice](At) {
            if (const Status saved = jobsSetting_.set(choice - kJobsAtOnceAuto); !saved) {
                dialogs_.message(saved.message());
            }
        });
    }
}

void MainController::initialise() {
    services_.engine.sweepStaleRuns();
    // The grid and the profile box agree from the start.
    view_.selectProfile(kStartProfile);
    jobOperations_.showNoJob(kStartProfile);
    view_.setOutputPathText(services_.settings.outputPath());
}

bool MainController::handleCommand(int id, const WindowState& at) {
    const CommandTable::Entry* entry = commands_.find(id);
    if (!entry) {
        return false;
    }
    // Buttons and menu items leave no button with the focus.
    if (id < command::kListPlay || id > command::kListSendToHandheld) {
        view_.focusDialog();
    }
    if (activity_.passes(entry->guard)) {
        entry->handler(at);
    }
    return true;
}

void MainController::openFile(const std::string& path, const WindowState& at) {
    openFiles({path}, at);
}

namespace {
bool hasExtension(const std::string& path, std::string_view extension) {
    const std::string name = std::filesystem::path(path).filename().string();
    if (name.size() <= extension.size() + 1 || name[name.size() - extension.size() - 1] != '.') {
        return false;
    }
    const std::string_view tail = std::string_view(name).substr(name.size() - extension.size());
    return std::equal(
        tail.begin(), tail.end(), extension.begin(), extension.end(),
        [](char a, char b) { return std::tolower(static_cast<unsigned char>(a)) == b; });
}
}  // namespace

void MainController::openFiles(const std::vector<std::string>& paths, const WindowState& at) {
    std::vector<std::string> sources;
    for (const std::string& path : paths) {
        if (hasExtension(path, kProjectExtension)) {
            files_.openProjectFile(path, at.profile);
        } else if (hasExtension(path, kProfileExtension)) {
            files_.loadProfileFile(path);
        } else {
            sources.push_back(path);
        }
    }
    if (!sources.empty()) {
        filesDropped(sources, at.profile);
    }
}

void MainController::filesDropped(const std::vector<std::string>& paths, int profile) {
    if (activity_.passes(Guard::Gate)) {
        jobOperations_.addDropped(paths, profile);
    }
}

void MainController::trackDefaults() {
    if (const auto chosen = dialogs_.chooseTrackDefaults(trackSettings_.preferences())) {
        if (const Status saved = trackSettings_.setPreferences(*chosen); !saved) {
            dialogs_.message(saved.message());
        }
    }
}

void MainController::showSelectedLog(std::optional<std::size_t> row) {
    if (!row || *row >= jobs_.count()) {
        dialogs_.message(kNoSelectionMessage);
        return;
    }
    batch_.openLog(jobRows_.logOf(*row));
}

void MainController::batchOver(const WindowState& at) {
    jobOperations_.loadJob(at.selectedRow);
}

void MainController::playSelected(std::optional<std::size_t> row) {
    if (activity_.waiting()) {
        return;
    }
    preview_.stopPlay();
    preview_.play(row);
}

void MainController::exitProgram() {
    // Asked whatever runs; a converting engine is left to finish on its own.
    if (dialogs_.confirm(kExitQuestion, kWindowCaption)) {
        // A preview would go on playing into a window that is gone.
        preview_.quit();
        (void)finishKeeping();  // a clean end, though the process ends at once
        services_.desktop.exitProcess(1);
    }
}

bool MainController::closeRequested() {
    return dialogs_.confirm(kExitQuestion, kWindowCaption);
}

void MainController::showMenu(int menu, int button, const WindowState& at) {
    // The menu is modal: the window still shows what it showed at the click.
    if (const int chosen = view_.popUpMenu(menu, button); chosen != 0) {
        handleCommand(chosen, at);
    }
}

void MainController::chooseOutputFolder() {
    if (const auto folder = dialogs_.chooseFolder(kFolderPrompt)) {
        applyOutputFolder(*folder);
    }
    view_.setOutputPathText(services_.settings.outputPath());
}

void MainController::outputPathEdited(const std::string& text) {
    if (text == services_.settings.outputPath()) {
        return;  // nothing changes: also ends the echo of setOutputPathText
    }
    if (activity_.waiting() || activity_.refusedWhileConverting()) {
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
        jobs_.changed(row);
    }
}

void MainController::videoInformation(std::optional<std::size_t> row) {
    if (row && *row < jobs_.count()) {
        dialogs_.showVideoInformation(jobs_.job(*row));
    }
}

void MainController::setOutputFileName(std::optional<std::size_t> row) {
    if (!row || *row >= jobs_.count()) {
        return;
    }
    activity_.stopPreview();
    if (auto name = dialogs_.askOutputFileName()) {
        jobOperations_.edit(change::OutputName{*row, std::move(*name)});
    }
}

void MainController::overwriteSettings() {
    if (const auto policy = dialogs_.chooseOverwritePolicy(services_.settings.overwritePolicy())) {
        services_.settings.setOverwritePolicy(*policy);
    }
}

void MainController::openHelp() {
    const std::string page = services_.paths.helpStartPage();
    if (!services_.files.exists(page)) {
        dialogs_.message("The help was not found at \"" + page +
                         "\". Please install Pelorine again.");
        return;
    }
    openLink(page);
}

void MainController::openLink(const std::string& link) {
    if (const Status opened = services_.desktop.openLink(link); !opened) {
        dialogs_.warning("Unable to open hyperlink:\n\n" + opened.message(), kProductTitle);
    }
}

}  // namespace pelorine
