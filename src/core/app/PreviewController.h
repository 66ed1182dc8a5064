#pragma once
// Play, StopPlay, Play Previous and Play Next. The preview owns its engine
// session: "is a preview running" is that session's answer, and StopPlay only
// ever ends the preview's own engine, never a batch's.
//
// The player itself (the preview command line, pause and resume, the end of
// playback, seeking) comes with the preview window; until then Play only
// says when a conversion is in the way.

#include <functional>
#include <memory>

#include "app/Activity.h"
#include "app/MainView.h"
#include "engine/EngineSession.h"

namespace pelorine {

inline constexpr const char* kStopConvertingFirstMessage = "Please stop converting movies first!";

class PreviewController final : public PreviewControl {
public:
    PreviewController(Engine& engine, MainView& view, Activity& activity, Dialogs& dialogs);

    bool active() const override { return session_ && session_->running(); }
    void stop() override;
    void quit() override;

    void play();
    // StopPlay: ends a running preview; does nothing otherwise.
    void stopPlay();
    void playPrevious();
    void playNext();

private:
    Engine& engine_;
    MainView& view_;
    Activity& activity_;
    Dialogs& dialogs_;
    std::unique_ptr<EngineSession> session_;
};

}  // namespace pelorine
