#pragma once
// What the window is doing, as the owners of its engine runs answer it: the
// batch (converting) and the preview (previewing), and whether a handler is
// waiting while the window keeps painting. Every command, grid edit, list
// click, slider move and seek asks its guard here.

#include <atomic>

#include "app/MainView.h"
#include "engine/Engine.h"

namespace pelorine {

// Who answers "is a conversion running" and "is a preview running".
class ActivitySource {
public:
    virtual ~ActivitySource() = default;
    virtual bool active() const = 0;
};

// A preview as the other controllers see it: whether it runs, and stopping it.
class PreviewControl : public ActivitySource {
public:
    // Ends a running preview and waits until its engine is gone.
    virtual void stop() = 0;
    // Asks a running preview to end, without waiting.
    virtual void quit() = 0;
};

// The guard a command needs before its handler runs.
enum class Guard {
    None,
    RefuseWhileConverting,  // the guard message while converting
    Gate,                   // the guard message while converting; a preview is stopped first
};

// Every guard refuses, quietly, while a handler waits (see Activity::keepWindowPainting).

class Activity {
public:
    Activity(Dialogs& dialogs, MainView& view) : dialogs_(dialogs), view_(view) {}

    // The controllers that answer; set once, before any command.
    void attach(const ActivitySource& batch, PreviewControl& preview) {
        batch_ = &batch;
        preview_ = &preview;
    }

    bool converting() const { return batch_ && batch_->active(); }
    bool previewing() const { return preview_ && preview_->active(); }
    ActivityState state() const { return activityState(converting(), previewing()); }

    // A handler waits (for an engine, a helper thread, a copy) and lets the
    // window paint meanwhile: the window's events that arrive during the
    // wait are refused without a word, so no handler ever runs inside
    // another's wait.
    bool waiting() const { return waits_ > 0; }
    // One turn of the window's event loop, as every wait takes between its
    // looks; the window is waiting while it runs.
    void keepWindowPainting();

    // True (after the guard message) when a conversion runs.
    bool refusedWhileConverting();
    // False (after the guard message) while converting; otherwise a running
    // preview is stopped first and true.
    bool stopPreviewUnlessConverting();
    // Whether a command with `guard` may go on: never while waiting.
    bool passes(Guard guard);

    void stopPreview();
    void quitPreview();

private:
    Dialogs& dialogs_;
    MainView& view_;
    // Atomic: a front end may hear of a batch's end on the batch's thread.
    std::atomic<int> waits_{0};
    const ActivitySource* batch_ = nullptr;
    PreviewControl* preview_ = nullptr;
};

}  // namespace pelorine
