#pragma once
// The boundary between the play module and the screen module
// (libzelvic_screen.so beside the engine), which holds everything that
// needs SDL and the fifty libraries behind it. The play module loads it on
// a thread of its own while the source is opened and decoded (ScreenStart),
// so that none of that stands before the first picture. Both are built from
// the same sources in the same build and share these class layouts; the
// screen module holds no FFmpeg.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "play/AudioOutput.h"
#include "play/VideoOutput.h"

namespace zelvic {

inline constexpr const char* kScreenModuleFile = "libzelvic_screen.so";
inline constexpr const char* kScreenEntry = "zelvic_open_screen";

// SDL started, with its video for `windowId` (or a window of its own)
// started at once; ending it ends SDL. Outputs it opened end before it.
class Screen {
public:
    virtual ~Screen() = default;

    // The picture output; null, with the reason in `why`, when there is none.
    virtual std::unique_ptr<VideoOutput> openVideo(const VideoOutputSettings& settings,
                                                   std::string& why) = 0;
    // The default sound device for interleaved float samples at `sampleRate`
    // Hz and `channels` channels (SDL converts for the device); null, with
    // the reason in `why`, when there is no device to play on.
    virtual std::unique_ptr<AudioOutput> openAudio(int sampleRate, int channels,
                                                   std::string& why) = 0;
};

// The entry point's type: SDL started for the window the run draws into.
// Null, with the reason in `why`, when SDL cannot start.
using ScreenEntry = Screen* (*)(std::optional<std::uint64_t> windowId, std::string& why);

}  // namespace zelvic
