#pragma once
// A profile as a value: the eighteen settings rows' values under the profile
// box's index. The four built-in profiles are data; the customised one is
// read from the settings grid's rows or from a profile file. New Jobs take
// their settings from a profile; the grid only shows one.

#include <array>
#include <optional>
#include <string>

#include "jobs/Job.h"

namespace pelorine {

// The profiles of the profile box, by index.
inline constexpr int kProfileMpeg4Small = 0;
inline constexpr int kProfileMpeg4Wide = 1;
inline constexpr int kProfileH264 = 2;
inline constexpr int kProfileMp3 = 3;
inline constexpr int kProfileCustom = 4;
inline constexpr int kStartProfile = kProfileH264;
inline constexpr std::array<const char*, 5> kProfileNames = {
    "PSP MPEG4 320x240 AAC (*.mp4)",
    "PSP MPEG4 480x272 AAC (*.mp4)",
    "PSP AVC H264 320x240 AAC (*.mp4) recommended",
    "Save as MP3 format (*.mp3)",
    "Customized profile",
};

inline constexpr const char* kZeroTime = "00:00:00.00";

struct Profile {
    int index = kProfileH264;  // its place in the profile box
    // The rows' values, each exactly as the grid shows it.
    std::string clipVideo = "no";
    std::string startTime = kZeroTime;
    std::string endTime = kZeroTime;
    std::string outputFormat;
    std::string split;
    std::string videoCodec;
    std::string videoSize;
    std::string videoFrameRate;
    std::string videoBitrate;
    std::string videoDisabled;
    std::string audioCodec;
    std::string audioSample;
    std::string audioBitrate;
    std::string audioChannel;
    std::string audioVolume;
    std::string audioDisabled;
    std::string quantizerMin;
    std::string quantizerMax;

    bool operator==(const Profile&) const = default;
};

// Built-in profile `index` (kProfileMpeg4Small .. kProfileMp3).
Profile builtInProfile(int index);

// The settings a new Job of `profile` starts with (its ProfileSettings and
// profile index; its clip stays off).
void applyProfile(const Profile& profile, Job& job);

// The output-name prefix of a new Job ("M4V", "MAQ"); nothing when the
// output is named after its source title (MP3 outputs); empty for a
// customised video codec the names do not know.
std::optional<std::string> outputPrefix(const Profile& profile);

// The extension of a new Job's output name: "MP4", "MP3", or a customised
// profile's output format in capitals.
std::string outputExtension(const Profile& profile);

}  // namespace pelorine
