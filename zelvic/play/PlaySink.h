#pragma once
// Play mode's sink: pictures to the screen, sound to the sound device, in
// step with the sound (or with the system clock when there is no sound to
// follow). It holds a short stretch of what the front decoded and shows
// each picture when its time comes, dropping late ones when asked to; it
// keeps obeying the control file while it waits, so quit ends a run at once
// and pause holds picture and sound. Its outputs open on a thread of their
// own (ScreenStart) while the front opens the source and decodes.

#include <deque>
#include <memory>

#include "common/Channel.h"
#include "front/FrameSink.h"
#include "options/Options.h"
#include "play/AudioOutput.h"
#include "play/PlayTiming.h"
#include "play/ScreenStart.h"
#include "play/VideoOutput.h"

namespace zelvic {

class PlaySink final : public FrameSink {
public:
    PlaySink(const Options& options, Channel& channel);
    ~PlaySink() override;

    Result<AudioTarget> audioTarget(const AudioInputFormat& input) override;
    Outcome open(const SinkStreams& streams) override;
    Outcome videoFrame(AVFrame* frame, AVRational timeBase) override;
    Outcome audioFrame(AVFrame* frame, AVRational timeBase) override;
    void setPaused(bool paused) override;
    void whilePaused() override;
    Request request() const override;
    void endAt(double seconds) override;
    Result<double> finish() override;
    Outcome end(ExitStatus status, double position) override;
    void discard() override {}
    SinkCounts counts() const override { return counts_; }
    // How many late pictures were dropped (-framedrop).
    std::string progressNote() const override;
    std::optional<double> playingPosition() const override;

    // How far ahead of what is shown and heard the sink takes frames.
    static constexpr double kVideoAhead = 0.5;
    static constexpr double kAudioAhead = 1.0;

private:
    struct Picture {
        FramePtr frame;
        double due = 0.0;  // seconds from the start
    };
    // Sound decoded before the sound device is open.
    struct Sound {
        FramePtr frame;
        double start = 0.0;
    };

    double now() const;
    // Shows what is due, follows the window and the control file, until
    // `done` holds, the run is to end, or a pause is asked for (which the
    // front then holds). True while the run goes on.
    template <typename Done>
    bool serve(Done done);
    // One round of serve: false once the run is to end.
    bool serveOnce();
    void showDuePictures();
    Outcome takeVideo();
    // Takes the sound output once it is open (with `wait`, waiting for it).
    void settleSound(bool wait);
    void startSound(std::unique_ptr<AudioOutput> output);
    void queueSound(const AVFrame* frame, double start);
    // Sound delivered and not heard yet.
    double soundAhead() const;
    bool pausedByControl();
    void reportPosition();

    const Options& options_;
    Channel& channel_;
    ScreenStart screen_;  // ends after the outputs taken from it
    std::unique_ptr<VideoOutput> video_;
    std::unique_ptr<AudioOutput> audio_;
    bool wantsVideo_ = false;
    bool soundOpening_ = false;
    std::deque<Picture> pictures_;
    std::deque<Sound> waitingSound_;
    double waitingSeconds_ = 0.0;
    MasterClock clock_;
    SinkCounts counts_;
    long long dropped_ = 0;
    double videoUntil_ = 0.0;  // media time where the pictures delivered end
    double heardUntil_ = 0.0;  // where the sound delivered ends
    double frameDuration_ = 0.04;
    std::optional<double> endAt_;
    bool paused_ = false;
    bool quit_ = false;
    std::optional<Error> failure_;
};

// Play mode: the source through the decoding front onto the screen and the
// sound device.
ExitStatus runPlay(const Options& options, Channel& channel);

}  // namespace zelvic
