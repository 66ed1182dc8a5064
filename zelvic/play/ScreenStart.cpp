#include "play/ScreenStart.h"

#include "base/Status.h"
#include "platform/SharedModule.h"

namespace zelvic {

ScreenStart::ScreenStart(std::string module, std::optional<std::uint64_t> windowId)
    : thread_([this, module = std::move(module), windowId] { prepare(module, windowId); }) {}

ScreenStart::~ScreenStart() {
    {
        const std::lock_guard lock(mutex_);
        cancelled_ = true;
    }
    changed_.notify_all();
    thread_.join();
    video_.reset();
    audio_.reset();
    screen_.reset();
}

void ScreenStart::prepare(const std::string& module, std::optional<std::uint64_t> windowId) {
    std::string why;
    pelorine::Status status = pelorine::Status::ok();
    Screen* screen = nullptr;
    if (void* entry = pelorine::platform::loadModuleSymbol(module, kScreenEntry, status)) {
        screen = reinterpret_cast<ScreenEntry>(entry)(windowId, why);
    } else {
        why = "cannot start SDL: " + status.message();
    }
    std::unique_lock lock(mutex_);
    screen_.reset(screen);
    changed_.wait(lock, [&] { return asked_ || cancelled_; });
    // A window of our own is drawn with the renderer the system offers
    // (OpenGL, say), which belongs to the thread that makes it: that one is
    // opened by the sink's thread, when it takes it.
    const bool here = !cancelled_ && wantedVideo_ && wantedVideo_->windowId;
    const VideoOutputSettings videoSettings = here ? *wantedVideo_ : VideoOutputSettings{};
    lock.unlock();
    std::unique_ptr<VideoOutput> video;
    std::string videoWhy = why;
    if (here && screen) {
        video = screen->openVideo(videoSettings, videoWhy);
    }
    lock.lock();
    video_ = std::move(video);
    videoFailure_ = videoWhy;
    videoDone_ = true;
    const bool openSound = !cancelled_ && wantedSound_;
    const SoundFormat sound = wantedSound_.value_or(SoundFormat{});
    lock.unlock();
    changed_.notify_all();
    std::unique_ptr<AudioOutput> audio;
    std::string soundWhy = why;
    if (openSound && screen) {
        audio = screen->openAudio(sound.sampleRate, sound.channels, soundWhy);
    }
    lock.lock();
    audio_ = std::move(audio);
    soundFailure_ = soundWhy;
    soundDone_ = true;
    lock.unlock();
    changed_.notify_all();
}

void ScreenStart::open(std::optional<VideoOutputSettings> video, std::optional<SoundFormat> sound) {
    {
        const std::lock_guard lock(mutex_);
        wantedVideo_ = std::move(video);
        wantedSound_ = sound;
        asked_ = true;
    }
    changed_.notify_all();
}

std::unique_ptr<VideoOutput> ScreenStart::takeVideo(std::string& why) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return videoDone_; });
    if (!video_ && screen_ && wantedVideo_ && !wantedVideo_->windowId) {
        return screen_->openVideo(*wantedVideo_, why);
    }
    if (!video_) {
        why = videoFailure_;
    }
    return std::move(video_);
}

ScreenStart::Sound ScreenStart::takeAudio(bool wait, std::unique_ptr<AudioOutput>& output,
                                          std::string& why) {
    std::unique_lock lock(mutex_);
    if (wait) {
        changed_.wait(lock, [&] { return soundDone_; });
    }
    if (!soundDone_) {
        return Sound::Opening;
    }
    if (!audio_) {
        why = soundFailure_;
        return Sound::Missing;
    }
    output = std::move(audio_);
    return Sound::Open;
}

}  // namespace zelvic
