#pragma once
// The preview player: Play (start, pause, resume), StopPlay, Play Previous,
// Play Next, seeking with the seek bar, and the playback timer that notices
// the end of a preview. The preview owns its engine session: "is a preview
// running" is that session's answer, and StopPlay only ever ends the
// preview's own engine, never a batch's.
//
// The preview plays the selected Job into the window's preview area, with
// the engine's play mode (see preview/PreviewCommandLine.h), and steers it
// only through the control file: run, pause, quit.

#include <functional>
#include <memory>
#include <optional>

#include "app/Activity.h"
#include "app/MainView.h"
#include "editing/JobEditor.h"
#include "engine/EngineSession.h"
#include "jobs/JobList.h"

namespace pelorine {

inline constexpr const char* kStopConvertingFirstMessage = "Please stop converting movies first!";

// The seek bar released, with what the window showed at that moment.
struct SeekRelease {
    int controlId;  // the control whose release this is
    double position;
    double maximum;
    std::pair<double, double> slider;  // the range slider's left and right values
    std::optional<std::size_t> selectedRow;
};

class PreviewController final : public PreviewControl {
public:
    // The playback timer's period.
    static constexpr int kPlaybackTickMs = 41;

    struct Parts {
        Engine& engine;
        MainView& view;
        Activity& activity;
        Dialogs& dialogs;
        const JobList& jobs;
        // The code page of a subtitle file played (the sound and subtitle
        // defaults'), asked at each start; empty: detected.
        std::function<std::string()> subtitleCodePage;
    };

    explicit PreviewController(Parts parts);
    // A preview still playing is asked to end: its window goes with ours.
    ~PreviewController() override;

    bool active() const override { return session_ && session_->running(); }
    // StopPlay's steps, whether or not a preview runs: the timer stopped,
    // the Play button back, the engine ended (by force after a few seconds
    // without an end), the colour key shown.
    void stop() override;
    void quit() override;

    // Play: starts the Job of the selected row `selected`, or pauses and
    // resumes a running preview.
    void play(std::optional<std::size_t> selected);
    // StopPlay: ends a running preview; does nothing otherwise.
    void stopPlay();
    // The row before or after the selected one is selected and played.
    void playPrevious(std::optional<std::size_t> selected);
    void playNext(std::optional<std::size_t> selected);
    // The clip of the Job the grid shows (of list row `row`), as the editor
    // made it; a seek moves it on without changing the Job.
    void showClip(const PreviewClip& clip, std::optional<std::size_t> row) {
        clip_ = clip;
        clipRow_ = row;
    }
    // The seek bar was released: the preview starts again from its
    // position, inside the clip when one is set. Nothing while waiting.
    void seek(const SeekRelease& release);
    // The playback timer: notices the end of a preview and lets the seek
    // bar's thumb follow the playing position (not while the user drags it:
    // `seekDragging`).
    void playbackTick(bool seekDragging);

    bool playing() const { return playing_; }
    // A preview runs and is paused: dragging the window shows the pause notice.
    bool paused() const { return active() && !playing_; }
    // The running preview's engine session (tests look at its command line).
    EngineSession* session() { return session_.get(); }

private:
    void playRow(std::size_t row);
    void playAnother(int step, std::optional<std::size_t> selected);
    void ended();
    void setPlaying(bool playing, bool repaint);

    Parts p_;
    // Where the preview plays: the loaded Job's clip, or where the last seek
    // put it; and the row it was loaded from.
    PreviewClip clip_;
    std::optional<std::size_t> clipRow_;
    std::unique_ptr<EngineSession> session_;
    bool playing_ = false;
};

}  // namespace pelorine
