#include "app/PreviewController.h"

#include <algorithm>

#include "app/Commands.h"
#include "preview/PreviewCommandLine.h"
#include "records/ExitStatus.h"

namespace pelorine {
namespace {

constexpr const char* kCannotStartMessage = "The preview could not be started: ";
constexpr const char* kPreviewFailedMessage = "The preview stopped: ";
constexpr const char* kEngineFailurePrefix = "failed: ";

// Why the engine gave up, from its log: its last "failed: ..." line.
std::string failureOf(platform::FileSystem& files, const std::string& log, int status) {
    if (std::string reason = lastLogLine(files, log, kEngineFailurePrefix); !reason.empty()) {
        return reason;
    }
    return "the engine ended with status " + std::to_string(status) + ".";
}

}  // namespace

PreviewController::PreviewController(Parts parts) : p_(std::move(parts)) {}

PreviewController::~PreviewController() {
    quit();
}

void PreviewController::setPlaying(bool playing, bool repaint) {
    playing_ = playing;
    p_.view.setPlayButtonState(playing, repaint);
}

void PreviewController::stop() {
    p_.view.stopPlaybackTimer();
    setPlaying(false, true);
    if (session_) {
        session_->end(EngineSession::kQuitPatience, [this] { p_.activity.keepWindowPainting(); });
        session_.reset();
    }
    p_.view.setPreviewPause(0);
}

void PreviewController::quit() {
    if (session_) {
        session_->quit();
    }
}

void PreviewController::stopPlay() {
    if (active()) {
        stop();
    }
}

void PreviewController::play(std::optional<std::size_t> selected) {
    p_.view.setPreviewPause(0);
    if (p_.activity.converting()) {
        p_.dialogs.message(kStopConvertingFirstMessage);
        return;
    }
    if (active()) {
        p_.view.startPlaybackTimer(kPlaybackTickMs);
        playing_ ? session_->pause() : session_->resume();
        setPlaying(!playing_, false);
        return;
    }
    if (!selected || *selected >= p_.jobs.count()) {
        p_.dialogs.message(kNoSelectionMessage);
        return;
    }
    playRow(*selected);
}

void PreviewController::playRow(std::size_t row) {
    const Job& job = p_.jobs.job(row);
    clip_.enabled = job.clipEnabled != 0;
    // The clip belongs to the Job last loaded; a row selected without loading
    // it plays its own clip.
    const bool loaded = clipRow_ == row;
    const double start = loaded ? clip_.start : job.clipStart;
    const double end = loaded ? clip_.end : job.clipEnd;

    auto session = std::make_unique<EngineSession>(p_.engine, EnginePurpose::Preview);
    Status started = session->open();
    if (started) {
        const EngineInvocation invocation{p_.engine.path(), session->channelFolder(), false,
                                          p_.subtitleCodePage()};
        const std::string line =
            preview::previewCommandLine(job, start, end, p_.view.previewTarget(), invocation);
        started = session->start(line, session->channelFolder() + "play.log");
    }
    session_ = std::move(session);
    if (!started) {
        // An engine that cannot start is no silent failure: say why.
        session_.reset();
        p_.dialogs.message(kCannotStartMessage + started.message());
        return;
    }
    setPlaying(true, true);
    p_.view.startPlaybackTimer(kPlaybackTickMs);
}

void PreviewController::playbackTick(bool seekDragging) {
    if (!session_) {
        p_.view.stopPlaybackTimer();
        return;
    }
    if (!session_->running()) {
        ended();
        return;
    }
    // The thumb follows the preview, but never out of the user's hand.
    if (playing_ && !seekDragging) {
        if (const double position = session_->link().readProgress(); position >= 0.0) {
            p_.view.setSeekPosition(position);
        }
    }
}

void PreviewController::ended() {
    setPlaying(false, true);
    p_.view.stopPlaybackTimer();
    p_.view.setPreviewPause(0);
    const int status = session_->waitForEnd();
    if (status != code(ExitStatus::Done) && status != code(ExitStatus::Quit)) {
        const std::string why = failureOf(p_.engine.files(), session_->logPath(), status);
        session_.reset();
        p_.dialogs.message(kPreviewFailedMessage + why);
        return;
    }
    session_.reset();
}

void PreviewController::playAnother(int step, std::optional<std::size_t> selected) {
    if (p_.activity.converting()) {
        p_.dialogs.message(kGuardMessage);
        return;
    }
    stopPlay();
    if (!selected || *selected >= p_.jobs.count()) {
        p_.dialogs.message(kNoSelectionMessage);
        return;
    }
    // The first row plays again before itself, the last after itself.
    const auto last = static_cast<long long>(p_.jobs.count()) - 1;
    const auto target =
        static_cast<std::size_t>(std::clamp(static_cast<long long>(*selected) + step, 0LL, last));
    p_.view.selectOnlyRow(target);
    play(target);
}

void PreviewController::playPrevious(std::optional<std::size_t> selected) {
    playAnother(-1, selected);
}

void PreviewController::playNext(std::optional<std::size_t> selected) {
    playAnother(+1, selected);
}

void PreviewController::seek(const SeekRelease& release) {
    if (p_.activity.waiting() || p_.activity.converting() ||
        release.controlId != command::kSeekBar || !release.selectedRow) {
        return;
    }
    stopPlay();
    const double at = release.position;
    if (clip_.enabled) {
        // Inside the clip the preview starts where the thumb is; outside it,
        // at the clip's start.
        const auto [left, right] = release.slider;
        clip_.start = left <= at && at <= right ? at : left;
        clip_.end = right;
    } else {
        clip_.start = at;
        clip_.end = release.maximum;
    }
    p_.view.setSeekPosition(clip_.start);
    play(release.selectedRow);
}

}  // namespace pelorine
