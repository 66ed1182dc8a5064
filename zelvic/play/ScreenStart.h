#pragma once
// Play mode's outputs made ready on a thread of their own while the front
// opens the source and decodes its first pictures: the screen module (SDL
// and the libraries behind it) loaded and SDL's video started at once, then,
// as soon as the sink says what will come, the converter's window and after
// it the sound device opened. (SDL's X11 driver lets another thread draw and
// read the events then.) The sink takes each output when it needs it: the
// picture output at the first picture, waiting for it; the sound output
// whenever it is there, so that a slow sound device never holds the first
// picture back.

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "play/Screen.h"

namespace zelvic {

struct SoundFormat {
    int sampleRate = 0;
    int channels = 0;
};

class ScreenStart {
public:
    // Starts loading `module` (the screen module's path) for a run that
    // draws into `windowId`, or into a window of its own.
    ScreenStart(std::string module, std::optional<std::uint64_t> windowId);
    // Waits for the thread. The outputs taken must have ended before.
    ~ScreenStart();
    ScreenStart(const ScreenStart&) = delete;
    ScreenStart& operator=(const ScreenStart&) = delete;

    // What is to be opened; once, before taking anything.
    void open(std::optional<VideoOutputSettings> video, std::optional<SoundFormat> sound);

    // The picture output, waiting until it is open (a window of our own is
    // opened here, by the caller's thread, which then draws into it); null
    // with the reason in `why` when there is none.
    std::unique_ptr<VideoOutput> takeVideo(std::string& why);

    enum class Sound { Opening, Open, Missing };
    // The sound output's state; with `wait`, never Opening. When Open,
    // `output` receives the output (once); when Missing, `why` says why.
    Sound takeAudio(bool wait, std::unique_ptr<AudioOutput>& output, std::string& why);

private:
    void prepare(const std::string& module, std::optional<std::uint64_t> windowId);

    std::mutex mutex_;
    std::condition_variable changed_;
    bool asked_ = false;
    bool cancelled_ = false;
    std::optional<VideoOutputSettings> wantedVideo_;
    std::optional<SoundFormat> wantedSound_;
    bool videoDone_ = false;
    bool soundDone_ = false;
    std::unique_ptr<VideoOutput> video_;
    std::unique_ptr<AudioOutput> audio_;
    std::string videoFailure_;
    std::string soundFailure_;
    std::unique_ptr<Screen> screen_;  // ends after the outputs it opened
    std::thread thread_;
};

}  // namespace zelvic
