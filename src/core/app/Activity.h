#pragma once
// What the window is doing, as the owners of its engine runs answer it: the
// batch (converting) and the preview (previewing). Every command, grid edit
// and list operation asks its guard here.

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

class Activity {
public:
    explicit Activity(Dialogs& dialogs) : dialogs_(dialogs) {}

    // The controllers that answer; set once, before any command.
    void attach(const ActivitySource& batch, PreviewControl& preview) {
        batch_ = &batch;
        preview_ = &preview;
    }

    bool converting() const { return batch_ && batch_->active(); }
    bool previewing() const { return preview_ && preview_->active(); }
    ActivityState state() const { return activityState(converting(), previewing()); }

    // True (after the guard message) when a conversion runs.
    bool refusedWhileConverting();
    // The activity gate: false (after the guard message) while converting;
    // a running preview is stopped first.
    bool gate();
    // Whether a command with `guard` may go on.
    bool passes(Guard guard);

    void stopPreview();
    void quitPreview();

private:
    Dialogs& dialogs_;
    const ActivitySource* batch_ = nullptr;
    PreviewControl* preview_ = nullptr;
};

}  // namespace pelorine
