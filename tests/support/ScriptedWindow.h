#pragma once
// The main window, its dialogs and the desktop, played from a script: what the
// window logic asks of them is logged, and their answers are set by the test.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <fstream>

#include "app/Commands.h"
#include "app/MainController.h"
#include "platform/Desktop.h"
#include "platform/LargeFiles.h"
#include "platform/Machine.h"
#include "platform/MountTable.h"
#include "platform/OpticalDrives.h"
#include "support/Recorders.h"
#include "support/TestSupport.h"
#include "support/WindowThread.h"

namespace pelorine::testing {

struct ExitCalled {
    int code;
};

class ScriptedWindow final : public RecordingBatchView<MainView>, public Dialogs {
public:
    // MainView
    void focusDialog() override { log.add("focus"); }
    void minimise() override { log.add("minimise"); }
    int popUpMenu(int menu, int button) override {
        log.add("menu " + std::to_string(menu) + " at " + std::to_string(button));
        return menuChoice;
    }
    void setOutputPathText(const std::string& text) override {
        log.add("edit " + text);
        if (controller) {
            controller->outputPathEdited(text);  // the edit reports every change
        }
    }
    // A wait's turn of the event loop: what the batch handed over, then what
    // the test makes arrive meanwhile, if anything.
    void keepAlive() override {
        windowThread.pump();
        if (duringWait) {
            duringWait();
        }
    }
    void onWindowThread(const std::function<void()>& work) override { windowThread.run(work); }
    // As the window closes: what other threads hand over later is dropped.
    // Before the window logic is destroyed, so a worker it joins never waits.
    void close() { windowThread.close(); }
    void selectRow(std::size_t row) override {
        RecordingBatchView<MainView>::selectRow(row);
        selected = row;
    }
    void selectNoRow() override { selected.reset(); }
    void appendRow(const std::vector<std::string>& cells) override { rows.push_back(cells); }
    void removeRow(std::size_t row) override {
        rows.erase(rows.begin() + static_cast<std::ptrdiff_t>(row));
        if (selected == row) {
            selected.reset();
        }
    }
    void clearRows() override {
        rows.clear();
        selected.reset();
    }
    void setCell(std::size_t row, int column, const std::string& text) override {
        log.add("cell " + std::to_string(row) + "." + std::to_string(column) + " " + text);
        rows.at(row).at(static_cast<std::size_t>(column)) = text;
    }
    void showRows(const ShownRows& shown) override {
        gridRows.clear();
        for (const ShownRow& row : shown) {
            gridRows.push_back(row.item.name);
        }
        grid = shown;
    }
    void refreshRows(const ShownRows& shown) override {
        log.add("repaint grid");
        grid = shown;
    }
    void selectProfile(int index) override { profile = index; }
    void showCustomProfile() override {
        profileEntries = 5;
        profile = 4;
    }
    void showClip(double start, double end, double duration) override {
        log.add("clip " + std::to_string(start) + " " + std::to_string(end) + " of " +
                std::to_string(duration));
        // As the window does: the seek bar over the Job, the slider on its clip.
        seekMax = duration;
        seek = start;
        slider = {start, end};
    }
    // PreviewView
    preview::PreviewTarget previewTarget() override { return {186, 138, 4242}; }
    void setPreviewPause(int value) override { showPause = value; }
    void setPlayButtonState(bool playing, bool repaint) override {
        playButtonSecond = playing;
        log.add(std::string("play button ") + (playing ? "second" : "first") +
                (repaint ? " repainted" : ""));
    }
    void startPlaybackTimer(int periodMs) override { playbackTimer = periodMs; }
    void stopPlaybackTimer() override { playbackTimer = 0; }
    void setSeekPosition(double seconds) override { seek = std::clamp(seconds, 0.0, seekMax); }
    // The seek bar's release as the window reports it.
    SeekRelease seekRelease(int control = command::kSeekBar) const {
        return {control, seek, seekMax, slider, selected};
    }
    // What the window reports with a command.
    WindowState at() const { return {selected, profile}; }
    // As the window answers the end of a batch.
    void batchEnded() override {
        RecordingBatchView<MainView>::batchEnded();
        if (controller) {
            controller->batchOver(at());
        }
    }
    // The value the grid shows in the row of `role` ("" when it shows none).
    std::string gridValue(Row role) const {
        for (const ShownRow& row : grid) {
            if (row.role == role) {
                return row.item.value;
            }
        }
        return {};
    }
    void selectOnlyRow(std::size_t row) override { selected = row; }
    void showTiming(const std::string& text) override { timing = text; }
    void beginTask(const std::string& title, int) override { log.add("task " + title); }
    bool stepTask(int step, const std::string&) override { return step < cancelAtStep; }
    void endTask() override { log.add("task end"); }
    // Dialogs
    void message(const std::string& text) override { log.add("box " + text); }
    void warning(const std::string& text, const std::string& caption) override {
        log.add("warning " + caption + ": " + text);
    }
    bool confirm(const std::string& text, const std::string& caption) override {
        log.add("confirm " + caption + ": " + text);
        return confirmAnswer;
    }
    std::optional<std::string> chooseFolder(const std::string& prompt) override {
        log.add("choose " + prompt);
        return folderChoice;
    }
    std::vector<std::string> chooseFiles(const std::string&, const std::string& start) override {
        ++filesAsked;
        filesFolder = start;
        return filesChoice;
    }
    // The end message reads like the batch's own; what it offers is kept apart.
    bool endMessage(const std::string& text, bool offerLog) override {
        log.add("message " + text);
        offeredLog = offerLog;
        return logAnswer;
    }
    bool powerOffCountdown(int seconds, const std::string& summary) override {
        log.add("countdown " + std::to_string(seconds) + (summary.empty() ? "" : ": " + summary));
        return countdownRunsOut;
    }
    std::optional<std::string> chooseOpenFile(const std::string& filter,
                                              const std::string& extension) override {
        log.add("open dialog " + filter + " ." + extension);
        return fileChoice;
    }
    std::optional<std::string> chooseSaveFile(const std::string& filter,
                                              const std::string& extension) override {
        log.add("save dialog " + filter + " ." + extension);
        return fileChoice;
    }
    void showVideoInformation(const Job& job) override { log.add("information " + job.sourcePath); }
    std::optional<int> chooseOverwritePolicy(int current) override {
        log.add("overwrite dialog " + std::to_string(current));
        return policyChoice;
    }
    std::optional<std::string> askOutputFileName() override { return nameChoice; }
    void showAbout() override { log.add("about"); }
    std::optional<DvdChoice> runDvdDialog(DiscReader& reader,
                                          const std::vector<std::string>& drives) override {
        log.add("dvd dialog");
        return dvdDialog ? dvdDialog(reader, drives) : std::nullopt;
    }
    std::optional<std::pair<int, int>> chooseTracks(const TrackLists& lists) override {
        log.add("tracks dialog");
        shownTracks = lists;
        return tracksChoice;
    }
    std::optional<TrackPreferences> chooseTrackDefaults(const TrackPreferences& current) override {
        log.add("track defaults dialog");
        shownPreferences = current;
        return preferencesChoice;
    }
    void clear() { log.clear(); }

    WindowThread windowThread;  // the test's thread
    MainController* controller = nullptr;
    int menuChoice = 0;
    bool confirmAnswer = false;
    std::optional<std::string> folderChoice;
    std::vector<std::string> filesChoice;
    std::string filesFolder;
    int filesAsked = 0;
    bool offeredLog = false;
    bool logAnswer = false;
    std::string timing;
    std::optional<std::string> fileChoice;
    std::optional<int> policyChoice;
    std::optional<std::string> nameChoice;
    TrackLists shownTracks;
    std::optional<std::pair<int, int>> tracksChoice;
    TrackPreferences shownPreferences;
    std::optional<TrackPreferences> preferencesChoice;
    // Plays the DVD dialog: answers with a choice (or nothing for Cancel).
    std::function<std::optional<DvdChoice>(DiscReader&, const std::vector<std::string>&)> dvdDialog;
    std::vector<std::vector<std::string>> rows;
    std::optional<std::size_t> selected;
    std::vector<std::string> gridRows;
    ShownRows grid;
    std::function<void()> duringWait;
    int profile = -1;
    int profileEntries = 4;  // the profile box's entries
    int cancelAtStep = 1 << 30;
    // The preview's controls.
    int showPause = 0;
    bool playButtonSecond = false;
    int playbackTimer = 0;  // its period while it runs
    double seek = 0.0;
    double seekMax = 100.0;
    bool dragging = false;  // what the playback timer reports
    std::pair<double, double> slider{0.0, 100.0};
};

class ScriptedDesktop final : public platform::Desktop {
public:
    Status openLink(const std::string& link) override {
        links.push_back(link);
        return platform::linkStatus(result);
    }
    [[noreturn]] void exitProcess(int code) override { throw ExitCalled{code}; }
    std::vector<std::string> links;
    int result = platform::kLinkOpened;
};

// A machine of one processor: Auto converts one Job at a time, whatever
// machine runs the tests. A test of Jobs side by side chooses their number.
class OneProcessorMachine final : public platform::Machine {
public:
    platform::MachineFacts facts() const override { return {1, std::uint64_t{8} << 30}; }
};

inline const platform::Machine& oneProcessorMachine() {
    static const OneProcessorMachine machine;
    return machine;
}

// The system's drives, files and mount table, a folder standing for the
// memory stick when one is given, and a machine of one processor.
inline MainController::Devices systemDevices(std::string handheldOverride = {}) {
    return {platform::systemOpticalDrives(), platform::systemLargeFiles(),
            platform::systemMountTable(), oneProcessorMachine(), std::move(handheldOverride)};
}

// The window logic with a scripted window and the fake engine, in a folder of
// its own; `handheldOverride` stands for the memory stick.
class ControllerFixture : public ::testing::Test {
protected:
    explicit ControllerFixture(std::string handheldOverride = {})
        : controller({engine, paths, platform::systemFileSystem(), power, desktop, settings,
                      systemDevices(std::move(handheldOverride))},
                     window, window) {
        installFakeEngine(folder.path());
        window.controller = &controller;
        controller.initialise();
        window.clear();
    }
    ~ControllerFixture() override { window.close(); }

    // Makes the state "converting" with a real batch whose engine holds
    // until it is stopped: the list's first Job is made to hold (a Job is
    // added when the list is empty).
    void pretendConverting() {
        if (controller.jobs().empty()) {
            controller.jobs().append(
                plainJob(folder.file("held.avi"), folder.file("out/held.MP4"), 100));
        }
        std::ofstream(controller.jobs().job(0).sourcePath) << "length=100 hold";
        controller.handleCommand(command::kConvert, window.at());
        ASSERT_TRUE(waitUntil([&] {
            const BatchRun* batch = controller.batch().lastBatch();
            return batch && batch->converting() && batch->engineRunning();
        }));
        ASSERT_EQ(controller.activityState(), ActivityState::Converting);
    }
    // A click on list row `row`: selects it and loads its Job.
    void click(std::size_t row) {
        window.selected = row;
        controller.jobOperations().loadJob(row);
    }
    // The grid committed `text` in the row of `role`.
    void type(Row role, const std::string& text) {
        controller.jobOperations().edit(change::RowText{role, text});
    }
    // Stops that batch and waits for its end.
    void endPretending() {
        controller.handleCommand(command::kStop, window.at());
        ASSERT_TRUE(waitUntil([&] { return !controller.batchActive(); }));
    }

    TempFolder folder;
    FolderPaths paths{folder.path()};
    Engine engine{platform::systemProcessLauncher(), platform::systemProcessList(), paths,
                  platform::systemFileSystem()};
    Settings settings{platform::systemFileSystem(), folder.file("zelvic.ini"), folder.file("out")};
    ScriptedDesktop desktop;
    RecordingPower power;
    ScriptedWindow window;
    MainController controller;
};

}  // namespace pelorine::testing
