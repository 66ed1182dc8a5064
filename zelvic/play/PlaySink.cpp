#include "play/PlaySink.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <thread>

#include "front/DecodingFront.h"
#include "front/Input.h"
#include "play/PlayModule.h"

extern "C" {
#include <libavutil/pixdesc.h>
}

namespace zelvic {
namespace {

using pelorine::channel::Command;
using SteadyClock = std::chrono::steady_clock;

// The longest nap between two looks at the window and the control file.
constexpr double kLongestNap = 0.010;
constexpr double kPausedNap = 0.020;

}  // namespace

PlaySink::PlaySink(const Options& options, Channel& channel)
    : options_(options),
      channel_(channel),
      screen_(engineModule(kScreenModuleFile), options.windowId) {}

PlaySink::~PlaySink() {
    audio_.reset();
    video_.reset();
}

double PlaySink::now() const {
    return std::chrono::duration<double>(SteadyClock::now().time_since_epoch()).count();
}

Result<AudioTarget> PlaySink::audioTarget(const AudioInputFormat& input) {
    AudioTarget target;
    target.sampleRate = options_.sampleRate > 0 ? options_.sampleRate : input.sampleRate;
    target.maxChannels = 2;
    target.sampleFormat = AV_SAMPLE_FMT_FLT;
    return target;
}

Outcome PlaySink::open(const SinkStreams& streams) {
    std::optional<VideoOutputSettings> video;
    if (streams.video) {
        const VideoPlan& plan = *streams.video;
        VideoOutputSettings& settings = video.emplace();
        settings.windowId = options_.windowId;
        settings.width = plan.width;
        settings.height = plan.height;
        settings.sampleAspect = plan.sampleAspect;
        settings.keepAspect = options_.keepAspect;
        settings.title = "zelvic: " + sourceName(options_);
        if (plan.frameRate.num > 0 && plan.frameRate.den > 0) {
            frameDuration_ = 1.0 / av_q2d(plan.frameRate);
        }
    }
    std::optional<SoundFormat> sound;
    if (streams.audio) {
        sound = SoundFormat{streams.audio->sampleRate, streams.audio->channels};
    }
    wantsVideo_ = video.has_value();
    soundOpening_ = sound.has_value();
    screen_.open(std::move(video), sound);
    return success();
}

// The first picture waits for its window; until then the front went on
// decoding.
Outcome PlaySink::takeVideo() {
    std::string why;
    video_ = screen_.takeVideo(why);
    if (!video_) {
        return conversionFailed(why);
    }
    return success();
}

void PlaySink::settleSound(bool wait) {
    if (!soundOpening_) {
        return;
    }
    std::unique_ptr<AudioOutput> output;
    std::string why;
    const ScreenStart::Sound state = screen_.takeAudio(wait, output, why);
    if (state == ScreenStart::Sound::Opening) {
        return;
    }
    soundOpening_ = false;
    if (state == ScreenStart::Sound::Open) {
        startSound(std::move(output));
        return;
    }
    // A machine without sound still shows the picture.
    waitingSound_.clear();
    waitingSeconds_ = 0.0;
    std::printf("no audio device (%s): playing the picture alone\n", why.c_str());
    std::fflush(stdout);
}

// The picture did not wait for the sound device: what it would have played
// by now is left out, so that the sound starts in step with the picture.
void PlaySink::startSound(std::unique_ptr<AudioOutput> output) {
    audio_ = std::move(output);
    audio_->setPaused(paused_);
    const std::optional<double> clock =
        clock_.started() ? std::optional<double>(clock_.at(now())) : std::nullopt;
    for (const Sound& sound : waitingSound_) {
        const AVFrame* frame = sound.frame.get();
        const int skip =
            clock ? samplesPassed(sound.start, frame->nb_samples, frame->sample_rate, *clock) : 0;
        const auto* samples = reinterpret_cast<const float*>(frame->data[0]);
        audio_->queue(samples + static_cast<std::ptrdiff_t>(skip) * frame->ch_layout.nb_channels,
                      frame->nb_samples - skip,
                      sound.start + static_cast<double>(skip) / frame->sample_rate);
    }
    waitingSound_.clear();
    waitingSeconds_ = 0.0;
}

double PlaySink::soundAhead() const {
    return audio_ ? audio_->queuedSeconds() : waitingSeconds_;
}

bool PlaySink::pausedByControl() {
    const Command command = channel_.pollCommand(Channel::Clock::now());
    if (command == Command::Quit) {
        quit_ = true;
    }
    return command == Command::Pause;
}

void PlaySink::setPaused(bool paused) {
    if (paused == paused_) {
        return;
    }
    paused_ = paused;
    if (paused) {
        clock_.pause(now());
    } else {
        clock_.resume(now());
    }
    if (audio_) {
        audio_->setPaused(paused);
    }
    // The held position is told at once, not at the next period.
    const double position = *playingPosition();
    channel_.writeProgress(position);
    std::printf(paused ? "paused at %.6f s\n" : "playing on from %.6f s\n", position);
    std::fflush(stdout);
}

void PlaySink::showDuePictures() {
    const double clock = clock_.at(now());
    while (!pictures_.empty()) {
        const Picture& next = pictures_.front();
        const std::optional<double> after =
            pictures_.size() > 1 ? std::optional<double>(pictures_[1].due) : std::nullopt;
        const FrameAction action = frameAction(next.due, after, clock, options_.frameDrop);
        if (action == FrameAction::Wait) {
            return;
        }
        if (action == FrameAction::Show) {
            const AVFrame* frame = next.frame.get();
            PlanarPicture picture;
            picture.width = frame->width;
            picture.height = frame->height;
            for (int plane = 0; plane < 3; ++plane) {
                picture.planes[plane] = frame->data[plane];
                picture.pitches[plane] = frame->linesize[plane];
            }
            if (std::string why; !video_->show(picture, why) && !failure_) {
                failure_ = conversionFailed(why);
            }
        }
        if (action == FrameAction::Drop) {
            ++dropped_;
        }
        pictures_.pop_front();
    }
}

void PlaySink::reportPosition() {
    if (clock_.started()) {
        channel_.reportProgress(*playingPosition(), Channel::Clock::now());
    }
}

std::optional<double> PlaySink::playingPosition() const {
    return options_.start + (clock_.started() ? clock_.at(now()) : 0.0);
}

void PlaySink::whilePaused() {
    if (video_ && !video_->handleEvents()) {
        quit_ = true;  // the user closed our own window
    }
}

bool PlaySink::serveOnce() {
    setPaused(pausedByControl());
    settleSound(false);
    if (video_ && !video_->handleEvents()) {
        quit_ = true;  // the user closed our own window
    }
    if (quit_ || failure_) {
        return false;
    }
    if (!paused_) {
        if (audio_) {
            if (const auto heard = audio_->position()) {
                clock_.follow(*heard, now());
            }
        }
        showDuePictures();
    }
    reportPosition();
    return true;
}

template <typename Done>
bool PlaySink::serve(Done done) {
    // At least one round for every frame delivered, so that a picture that
    // is due already shows at once.
    while (true) {
        if (!serveOnce()) {
            return false;
        }
        if (done()) {
            break;
        }
        double nap = paused_ ? kPausedNap : kLongestNap;
        if (!paused_ && !pictures_.empty()) {
            nap = std::clamp(pictures_.front().due - clock_.at(now()), 0.001, kLongestNap);
        }
        std::this_thread::sleep_for(std::chrono::duration<double>(nap));
    }
    return !quit_ && !failure_;
}

Outcome PlaySink::videoFrame(AVFrame* frame, AVRational timeBase) {
    ++counts_.videoFrames;
    const double due = static_cast<double>(frame->pts) * av_q2d(timeBase);
    if (quit_ || !wantsVideo_ || (endAt_ && due >= *endAt_)) {
        return success();
    }
    // The play chains end in this format.
    if (frame->format != AV_PIX_FMT_YUV420P && frame->format != AV_PIX_FMT_YUVJ420P) {
        return conversionFailed(
            "cannot show pictures in the pixel format " +
            std::string(av_get_pix_fmt_name(static_cast<AVPixelFormat>(frame->format))));
    }
    if (!video_) {
        if (auto taken = takeVideo(); !taken) {
            return taken;
        }
    }
    FramePtr kept(av_frame_clone(frame));
    if (!kept) {
        return conversionFailed("out of memory for a picture");
    }
    pictures_.push_back({std::move(kept), due});
    videoUntil_ = std::max(videoUntil_, due + frameDuration_);
    if (!clock_.started()) {
        clock_.anchor(due, now());  // the first picture shows at once
    }
    serve(
        [&] { return pictures_.empty() || pictures_.back().due - clock_.at(now()) < kVideoAhead; });
    if (failure_) {
        return *failure_;
    }
    return success();
}

void PlaySink::queueSound(const AVFrame* frame, double start) {
    if (audio_) {
        audio_->queue(reinterpret_cast<const float*>(frame->data[0]), frame->nb_samples, start);
        return;
    }
    if (FramePtr kept(av_frame_clone(frame)); kept) {
        waitingSeconds_ += static_cast<double>(frame->nb_samples) / frame->sample_rate;
        waitingSound_.push_back({std::move(kept), start});
    }
}

Outcome PlaySink::audioFrame(AVFrame* frame, AVRational timeBase) {
    ++counts_.audioFrames;
    const double start = static_cast<double>(frame->pts) * av_q2d(timeBase);
    if (quit_ || (endAt_ && start >= *endAt_) || frame->sample_rate <= 0) {
        return success();
    }
    heardUntil_ = start + static_cast<double>(frame->nb_samples) / frame->sample_rate;
    // Sound alone starts the clock: it waits for its device.
    settleSound(!wantsVideo_);
    if (!audio_ && !soundOpening_) {
        return success();  // nothing to play it on
    }
    queueSound(frame, start);
    if (!clock_.started() && !wantsVideo_) {
        clock_.anchor(start, now());
    }
    serve([&] { return soundAhead() < kAudioAhead; });
    if (failure_) {
        return *failure_;
    }
    return success();
}

std::string PlaySink::progressNote() const {
    return std::to_string(dropped_) + (dropped_ == 1 ? " picture dropped" : " pictures dropped");
}

FrameSink::Request PlaySink::request() const {
    return quit_ ? Request::Quit : Request::None;
}

void PlaySink::endAt(double seconds) {
    endAt_ = seconds;
}

Result<double> PlaySink::finish() {
    // Everything delivered is played out: the last picture for its whole
    // slot, the sound until the device has played it.
    const double end = std::max(videoUntil_, audio_ || soundOpening_ ? heardUntil_ : 0.0);
    if (!quit_ && clock_.started()) {
        serve([&] {
            const bool soundLeft = soundOpening_ || soundAhead() > 0.0;
            return pictures_.empty() && !soundLeft && clock_.at(now()) >= end;
        });
    }
    if (failure_) {
        return *failure_;
    }
    if (quit_) {
        return clock_.started() ? clock_.at(now()) : 0.0;
    }
    return std::max(videoUntil_, heardUntil_);
}

Outcome PlaySink::end(ExitStatus, double) {
    return success();
}

ExitStatus runPlay(const Options& options, Channel& channel) {
    PlaySink sink(options, channel);
    return runDecoding(options, channel, sink);
}

}  // namespace zelvic
