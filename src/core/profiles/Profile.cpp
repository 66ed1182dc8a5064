#include "profiles/Profile.h"

#include <stdexcept>

#include "base/Text.h"

namespace pelorine {

Profile builtInProfile(int index) {
    if (index < kProfileMpeg4Small || index > kProfileMp3) {
        throw std::out_of_range("no built-in profile " + std::to_string(index));
    }
    Profile profile;
    profile.index = index;
    profile.outputFormat = index == kProfileMp3 ? "mp3" : "mp4";
    profile.split = "Not split";
    profile.videoCodec = index == kProfileH264 ? "h264" : "MPEG4";
    profile.videoSize = index == kProfileMpeg4Wide ? "480x272" : "320x240";
    profile.videoFrameRate = "default";
    profile.videoBitrate = "1200";
    profile.videoDisabled = "no";
    profile.audioCodec = index == kProfileMp3 ? "mp3" : "aac";
    profile.audioSample = "44100";
    profile.audioBitrate = "128";
    profile.audioChannel = "default";
    profile.audioVolume = "default";
    profile.audioDisabled = "no";
    profile.quantizerMin = "1";
    profile.quantizerMax = "31";
    return profile;
}

void applyProfile(const Profile& profile, Job& job) {
    job.profileIndex = profile.index;
    job.clipEnabled = 0;
    job.outputFormat = profile.outputFormat;
    job.split = profile.split;
    job.videoCodec = profile.videoCodec;
    job.videoSize = profile.videoSize;
    job.videoFrameRate = profile.videoFrameRate;
    job.videoBitrate = profile.videoBitrate;
    job.videoDisabled = profile.videoDisabled;
    job.audioCodec = profile.audioCodec;
    job.audioSampleRate = profile.audioSample;
    job.audioBitrate = profile.audioBitrate;
    job.audioChannel = profile.audioChannel;
    job.audioVolume = profile.audioVolume;
    job.audioDisabled = profile.audioDisabled;
    job.quantizerMin = profile.quantizerMin;
    job.quantizerMax = profile.quantizerMax;
}

std::optional<std::string> outputPrefix(const Profile& profile) {
    switch (profile.index) {
        case kProfileMpeg4Small:
        case kProfileMpeg4Wide:
            return "M4V";
        case kProfileH264:
            return "MAQ";
        case kProfileMp3:
            return std::nullopt;
        default:
            break;
    }
    const std::string codec = text::lower(profile.videoCodec);
    if (codec == "h264") {
        return "MAQ";
    }
    if (codec == "mpeg4") {
        return "M4V";
    }
    return codec == "mp3" ? std::nullopt : std::optional<std::string>("");
}

std::string outputExtension(const Profile& profile) {
    if (profile.index == kProfileCustom) {
        return text::upper(profile.outputFormat);
    }
    return profile.index == kProfileMp3 ? "MP3" : "MP4";
}

}  // namespace pelorine
