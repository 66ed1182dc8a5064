#pragma once
// Editing the Job the grid shows. Every change the user makes to it (a row's
// text, the clip from the slider or typed times, "Clip video", the output
// format, a profile chosen or loaded, an output name) comes here as a typed
// change, is checked, and is written into the Job and the settings rows. The
// answer says what the window must show for it; the job list's controller
// shows it, and nothing else writes the Job.
//
// The grid always shows either the Job last loaded into it or, when there is
// none (at start, after Delete, Clear, New project or Open project), the
// defaults of the profile in the profile box. Its edits go into the Job it
// shows, never into a row the selection moved to without loading it.

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "jobs/JobList.h"
#include "profiles/SettingsRows.h"

namespace pelorine {

// A row as the grid shows it: its role and a copy of the row.
struct ShownRow {
    Row role;
    PropertyItem item;
    bool operator==(const ShownRow&) const = default;
};
using ShownRows = std::vector<ShownRow>;

// The typed changes.
namespace change {
// A row's new text, as the grid committed it: a combo entry chosen or typed,
// a time typed, a value chosen with a "..." button.
struct RowText {
    Row role;
    std::string text;
};
// Both clip times typed ("Start time", "End time").
struct ClipTimes {
    std::string start;
    std::string end;
};
// The range slider moved to start .. end seconds.
struct SliderRange {
    double start;
    double end;
};
// "Clip video" chosen.
struct ClipVideo {
    bool enabled;
};
// "Output format" chosen.
struct OutputFormat {
    std::string format;
};
// Entry `index` chosen in the profile box.
struct ProfileChoice {
    int index;
};
// A profile file was read: its rows become the settings rows and the
// customised profile, which the selected Job and the profile box take.
struct LoadedProfile {
    std::array<PropertyItem, SettingsRows::kCount> rows;
};
// A name typed in Set Output File Name for the Job of list row `row`.
struct OutputName {
    std::size_t row;
    std::string name;
};
}  // namespace change

using JobChange = std::variant<change::RowText, change::ClipTimes, change::SliderRange,
                               change::ClipVideo, change::OutputFormat, change::ProfileChoice,
                               change::LoadedProfile, change::OutputName>;

// The clip of the Job the grid shows, as the preview plays it.
struct PreviewClip {
    double start = 0.0;
    double end = 0.0;
    bool enabled = false;
    bool operator==(const PreviewClip&) const = default;
};

// What the window shows after a change; everything left empty stays as it is.
struct EditResult {
    // Said first, when the change was refused.
    std::string refusal;
    // The profile box's selection, made without reporting it as the user's;
    // `customProfile`: the box gains "Customized profile" and shows it.
    std::optional<int> profileBox;
    bool customProfile = false;
    // The grid: `resetGrid` shows a new set of rows; otherwise new values
    // for the rows it shows (an open editor shows its row's value again).
    std::optional<ShownRows> grid;
    bool resetGrid = false;
    // The list row whose Job changed, and the clip texts it shows instead of
    // its Job's own (typed times, a clip switched off).
    std::optional<std::size_t> listRow;
    std::optional<std::pair<std::string, std::string>> clipTexts;
    // The preview's clip; with `clipDuration` the seek bar spans it and the
    // range slider shows the clip.
    std::optional<PreviewClip> clip;
    std::optional<double> clipDuration;
    // No list row selected (the grid shows no Job).
    bool selectNoRow = false;
    // Another Job was loaded: a running preview is asked to end.
    bool quitPreview = false;
};

class JobEditor {
public:
    struct Parts {
        JobList& jobs;
        SettingsRows& rows;
        CustomProfile& custom;
    };

    explicit JobEditor(Parts parts) : p_(parts) {}

    // A click on list row `row`: its Job goes into the grid, the profile box
    // and the preview. Nothing for a row that is no Job.
    EditResult load(std::size_t row);
    // The grid and the profile box with no Job: the defaults of `profile`
    // (the box's selection), no row selected.
    EditResult showNoJob(int profile);
    // A change of the Job the grid shows; with none, only the rows change.
    EditResult edit(const JobChange& change);
    // What `change` moved in the window, shown as before (the change was
    // refused unheard): the rows' values, and the profile box's last
    // selection or the Job's clip on the slider.
    EditResult shownBefore(const JobChange& change) const;

    // The list row of the Job the grid shows, if any.
    std::optional<std::size_t> selectedIndex() const { return selected_; }

    // Row `row` left the list: the Job the grid shows keeps its place, or is
    // forgotten with its row.
    void jobRemoved(std::size_t row);
    // The list was cleared: the grid shows no Job until told what to show.
    void jobsCleared() { selected_.reset(); }

private:
    void rowText(const change::RowText& typed, EditResult& out);
    void clipTimes(EditResult& out);
    void sliderRange(const change::SliderRange& range, EditResult& out);
    void clipVideoOff(EditResult& out);
    void settingsChanged(EditResult& out);
    void profileChoice(int profile, EditResult& out);
    void loadedProfile(const change::LoadedProfile& loaded, EditResult& out);
    void outputName(const change::OutputName& named, EditResult& out);

    // The Job the grid shows; nullptr when it shows none.
    Job* gridJob();
    // The grid shows `rows` from now on.
    void showRows(const std::vector<PropertyItem*>& rows, EditResult& out);
    // The rows the grid shows, with their values now.
    ShownRows shownRows() const;
    void refreshGrid(EditResult& out) const { out.grid = shownRows(); }
    void changed(EditResult& out) const { out.listRow = selected_; }

    Parts p_;
    std::optional<std::size_t> selected_;
    std::vector<Row> shown_;
    int profileShown_ = -1;
};

}  // namespace pelorine
