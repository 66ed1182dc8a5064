#pragma once
// Inside the screen module: the outputs through SDL. SDL and its video are
// started by the screen (SdlScreen.cpp) before either is opened.

#include <memory>
#include <string>

#include "play/AudioOutput.h"
#include "play/VideoOutput.h"

namespace zelvic {

// Into the foreign window of settings.windowId (drawn in software), or a
// window of our own.
std::unique_ptr<VideoOutput> openSdlVideo(const VideoOutputSettings& settings, std::string& why);
std::unique_ptr<AudioOutput> openSdlAudio(int sampleRate, int channels, std::string& why);

}  // namespace zelvic
