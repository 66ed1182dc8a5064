#pragma once
// What the main window's logic needs of the window and of its dialogs. The
// Qt window implements both; tests answer them from a script.

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "conversion/BatchRun.h"
#include "dvd/DvdDialogModel.h"
#include "editing/JobEditor.h"
#include "jobs/DvdSource.h"
#include "jobs/Job.h"
#include "preview/PreviewView.h"

namespace pelorine {

inline constexpr const char* kProductTitle = "Pelorine";
inline constexpr const char* kWindowCaption = "Video Batch Converter";
inline constexpr const char* kGuardMessage =
    "Please stop converting the videos and then add files to the list.";
inline constexpr const char* kNoSelectionMessage = "Please select a video in the list first!";
inline constexpr const char* kExitQuestion = "Exit anyway?";
inline constexpr const char* kFolderPrompt = "\"Please Select a Folder:\"";
// Until the project has a domain of its own.
inline constexpr const char* kSupportAddress = "support@pelorine.example";

// What the window shows when it reports a command or an event, sent with
// it: the job list's first selected row, if any, and the profile box's
// selection (-1 for none).
struct WindowState {
    std::optional<std::size_t> selectedRow;
    int profile = -1;
};

// The window. BatchView's calls come from the conversion worker, but for
// batchEnded, which comes on the window's own thread as the rest do; the
// window answers it with MainController::batchOver.
class MainView : public BatchView, public PreviewView {
public:
    // Takes the keyboard focus away from the button that was used.
    virtual void focusDialog() = 0;
    virtual void minimise() = 0;
    // Shows pop-up menu `menu` under the button `button`; the chosen command
    // id, or 0 when none was chosen.
    virtual int popUpMenu(int menu, int button) = 0;
    virtual void setOutputPathText(const std::string& text) = 0;
    // One turn of the window's event loop, so that it keeps painting during
    // a wait on its own thread (see Activity::keepWindowPainting).
    virtual void keepAlive() = 0;
    // Runs `work` on the window's thread, waiting for it when called from
    // another (the conversion worker); once the window is closing, not at all.
    virtual void onWindowThread(const std::function<void()>& work) = 0;

    // The job list: row i shows Job i, in the columns of JobColumn.
    virtual void appendRow(const std::vector<std::string>& cells) = 0;
    virtual void removeRow(std::size_t row) = 0;
    virtual void clearRows() = 0;
    virtual void setCell(std::size_t row, int column, const std::string& text) = 0;
    // No row selected, and none made current that a key could select.
    virtual void selectNoRow() = 0;

    // The settings grid shows these rows, in this order, and reports each
    // committed edit by the row's role with its text.
    virtual void showRows(const ShownRows& rows) = 0;
    // New values of the rows it shows: an open editor shows its row's value
    // again unless the user is typing in it.
    virtual void refreshRows(const ShownRows& rows) = 0;
    // The profile box: choosing an entry without reporting it as the user's
    // change.
    virtual void selectProfile(int index) = 0;
    // Gives the profile box its fifth entry, "Customized profile", once, and
    // chooses it without reporting it as the user's change.
    virtual void showCustomProfile() = 0;
    // The clip of the selected Job in the seek bar and the range slider.
    virtual void showClip(double start, double end, double duration) = 0;
    // The line under the progress bars: speed and time left of a batch.
    virtual void showTiming(const std::string& text) = 0;

    // A long task on the window's thread, with a way to cancel the rest:
    // stepTask returns false once the user has cancelled.
    virtual void beginTask(const std::string& title, int steps) = 0;
    virtual bool stepTask(int step, const std::string& label) = 0;
    virtual void endTask() = 0;
};

// The job list's columns.
enum JobColumn : int {
    kIdColumn,
    kSourceColumn,
    kBeginColumn,
    kEndColumn,
    kOutputColumn,
    kFormatColumn,
    kSizeColumn,    // the estimated size of the output
    kStatusColumn,  // the Job's state in the last batch
    kColumnCount
};

// Message boxes and choosers, modal to the window.
class Dialogs {
public:
    virtual ~Dialogs() = default;
    virtual void message(const std::string& text) = 0;
    virtual void warning(const std::string& text, const std::string& caption) = 0;
    // OK / Cancel with the exclamation icon; true for OK.
    virtual bool confirm(const std::string& text, const std::string& caption) = 0;
    // A folder chosen by the user, or nothing when cancelled.
    virtual std::optional<std::string> chooseFolder(const std::string& prompt) = 0;
    // Existing files chosen by the user, in the order chosen; none when cancelled.
    // `filter` is "name|patterns|name|patterns|..."; the chooser opens in
    // `folder` (the home folder when it is empty or gone).
    virtual std::vector<std::string> chooseFiles(const std::string& filter,
                                                 const std::string& folder) = 0;
    // The message that ends a batch, with a way to see its logs when
    // `offerLog`: true when the user asked for them.
    virtual bool endMessage(const std::string& text, bool offerLog) = 0;
    // The countdown before the computer is switched off, `seconds` long,
    // with a way to cancel it, over `summary` (the batch's end message when
    // not every Job was converted): true when it ran out or the user went on.
    virtual bool powerOffCountdown(int seconds, const std::string& summary) = 0;
    // One existing file, or nothing when cancelled; `extension` (without the
    // dot) is the one the dialog prefers.
    virtual std::optional<std::string> chooseOpenFile(const std::string& filter,
                                                      const std::string& extension) = 0;
    // A file to write, or nothing when cancelled: `extension` is added to a
    // name without one, and the user has agreed to replace a file that exists.
    virtual std::optional<std::string> chooseSaveFile(const std::string& filter,
                                                      const std::string& extension) = 0;

    // The small dialogs.
    virtual void showVideoInformation(const Job& job) = 0;
    // The policy chosen in the overwrite dialog, or nothing on Cancel.
    virtual std::optional<int> chooseOverwritePolicy(int current) = 0;
    // The name typed for an output file, or nothing on Cancel.
    virtual std::optional<std::string> askOutputFileName() = 0;
    virtual void showAbout() = 0;
    // The DVD dialog over the window: `reader` answers its identify runs,
    // `drives` are the system's optical drives. The choice after OK;
    // nothing after Cancel.
    virtual std::optional<DvdChoice> runDvdDialog(DiscReader& reader,
                                                  const std::vector<std::string>& drives) = 0;
};

}  // namespace pelorine
