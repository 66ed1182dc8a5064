#include "play/PlaySink.h"

#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <thread>

#include "front/DecodingFront.h"
#include "front/Input.h"

namespace zelvic {
namespace {

using pelorine::channel::Command;
using SteadyClock = std::chrono::steady_clock;

// The longest nap between two looks at the window and the control file.
constexpr double kLongestNap = 0.010;
constexpr double kPausedNap = 0.020;

}  // namespace

PlaySink::PlaySink(const Options& options, Channel& channel)
    : options_(options), channel_(channel) {
    // The converter may end a run that hangs with a signal; SDL must not
    // turn that into an event nobody reads.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    sdl_ = SDL_Init(0) == 0;
}

PlaySink::~PlaySink() {
    audio_.reset();
    video_.reset();
    if (sdl_) {
        SDL_Quit();
    }
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
    if (!sdl_) {
        return conversionFailed(std::string("cannot start SDL: ") + SDL_GetError());
    }
    if (streams.video) {
        const VideoPlan& plan = *streams.video;
        VideoOutputSettings settings;
        settings.windowId = options_.windowId;
        settings.width = plan.width;
        settings.height = plan.height;
        settings.sampleAspect = plan.sampleAspect;
        settings.keepAspect = options_.keepAspect;
        settings.title = "zelvic: " + sourceName(options_);
        auto output = VideoOutput::open(settings);
        if (!output) {
            return output.error();
        }
        video_ = std::move(*output);
        if (plan.frameRate.num > 0 && plan.frameRate.den > 0) {
            frameDuration_ = 1.0 / av_q2d(plan.frameRate);
        }
    }
    if (streams.audio) {
        std::string why;
        audio_ = AudioOutput::open(streams.audio->sampleRate, streams.audio->channels, why);
        if (!audio_) {
            // A machine without sound still shows the picture.
            std::printf("no audio device (%s): playing the picture alone\n", why.c_str());
        }
    }
    std::fflush(stdout);
    return success();
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
            if (auto shown = video_->show(next.frame.get()); !shown && !failure_) {
                failure_ = shown.error();
            }
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
    if (quit_ || !video_ || (endAt_ && due >= *endAt_)) {
        return success();
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

Outcome PlaySink::audioFrame(AVFrame* frame, AVRational timeBase) {
    ++counts_.audioFrames;
    const double start = static_cast<double>(frame->pts) * av_q2d(timeBase);
    if (quit_ || (endAt_ && start >= *endAt_) || frame->sample_rate <= 0) {
        return success();
    }
    heardUntil_ = start + static_cast<double>(frame->nb_samples) / frame->sample_rate;
    if (!audio_) {
        return success();  // nothing to play it on
    }
    audio_->queue(reinterpret_cast<const float*>(frame->data[0]), frame->nb_samples, start);
    if (!clock_.started() && !video_) {
        clock_.anchor(start, now());
    }
    serve([&] { return audio_->queuedSeconds() < kAudioAhead; });
    if (failure_) {
        return *failure_;
    }
    return success();
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
    const double end = std::max(videoUntil_, audio_ ? heardUntil_ : 0.0);
    if (!quit_ && clock_.started()) {
        serve([&] {
            const bool soundLeft = audio_ && audio_->queuedSeconds() > 0.0;
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
