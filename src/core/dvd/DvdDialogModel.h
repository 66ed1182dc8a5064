#pragma once
// The DVD dialog's decisions: which drives and discs it offers, what it asks
// the engine about the chosen disc, how the seven lists are filled from the
// answers, and what the user chose. The dialog widget shows the lists and
// forwards the user's choices here; tests drive it with a scripted view and
// a scripted disc reader.

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "jobs/DvdSource.h"
#include "records/MediaInfo.h"

namespace pelorine {

inline constexpr const char* kDvdDialogCaption = "DVD Disc";
inline constexpr const char* kNoDriveMessage = "No CD/DVD drive exists.";
inline constexpr const char* kNoDriveHint =
    "No DVD drive found \u2014 choose a DVD folder or image";
inline constexpr const char* kFolderEntry = "Folder\u2026";
inline constexpr const char* kImageEntry = "Image\u2026";
inline constexpr const char* kNoneEntry = "none";
inline constexpr std::array<const char*, 4> kAudioChannelEntries = {
    "default", "stereo", "left channel", "right channel"};

// The dialog's lists.
enum class DvdList { Drive, Title, ChapterFrom, ChapterTo, Subtitle, AudioStream, AudioChannel };
inline constexpr int kDvdListCount = 7;

// The dialog window as the model sees it.
class DvdDialogView {
public:
    virtual ~DvdDialogView() = default;
    virtual void setEntries(DvdList list, const std::vector<std::string>& entries) = 0;
    // Selects entry `index` (-1: none) without reporting it as the user's choice.
    virtual void select(DvdList list, int index) = 0;
    // The entry the list shows as selected now, -1 for none.
    virtual int selection(DvdList list) const = 0;
    // A line of text under the lists; empty hides it.
    virtual void showHint(const std::string& text) = 0;
    // While the engine reads a disc the lists take no input.
    virtual void setBusy(bool busy) = 0;
    virtual void message(const std::string& text) = 0;
    // A VIDEO_TS folder (or its parent) / an ISO image chosen by the user.
    virtual std::optional<std::string> chooseFolder() = 0;
    virtual std::optional<std::string> chooseImage() = 0;
    // Ends the dialog: OK (true) or Cancel.
    virtual void close(bool ok) = 0;
};

// Asks the engine about a disc: one identify run on the dialog's own
// channel link. The record when the disc could be read (a length above 0).
class DiscReader {
public:
    virtual ~DiscReader() = default;
    virtual std::unique_ptr<MediaInfo> read(const std::string& mediaText) = 0;
    // Why the last read gave nothing, when there is more to say than that
    // the disc could not be read (an engine already running, ...).
    virtual std::string lastFailure() const { return {}; }
};

// The media text of an identify run for title `title` of `drive`, as the
// engine's option language takes it (the drive quoted when it needs it).
std::string dvdMediaText(int title, const std::string& drive);

class DvdDialogModel {
public:
    // `drives`: the system's optical drives, in drive order.
    DvdDialogModel(DvdDialogView& view, DiscReader& reader, std::vector<std::string> drives);

    // Fills the lists; with exactly one drive its disc is read at once.
    void initialise();
    // The user picked an entry of the drive list (or "Folder…", "Image…").
    void driveChosen();
    // The user picked a title.
    void titleChosen();
    void accept();
    void cancel();

    // What the user chose; valid after OK.
    const DvdChoice& choice() const { return choice_; }
    // The drives and discs offered, without the "Folder…" and "Image…" entries.
    const std::vector<std::string>& drives() const { return drives_; }

private:
    void readDisc(const std::string& mediaText, bool titleChange);
    void fillLists(const MediaInfo& info, bool titleChange);
    void showDrives(int selected);
    // Asks for a folder or an image; the drive list's index of what was
    // chosen, or nothing when the user cancelled.
    std::optional<int> chooseDisc(bool folder);
    void takeSelections();
    void putSelections();

    DvdDialogView& view_;
    DiscReader& reader_;
    std::vector<std::string> drives_;
    std::array<std::vector<std::string>, kDvdListCount> entries_;
    std::array<int, kDvdListCount> selected_;
    std::unique_ptr<MediaInfo> info_;  // the last disc read
    int shownDrive_ = -1;              // the drive entry selected before the last pick
    DvdChoice choice_;
};

}  // namespace pelorine
