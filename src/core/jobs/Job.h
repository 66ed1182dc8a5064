#pragma once
// One entry of the conversion list: a source (a file or a DVD title) and the
// settings it is converted with. The settings are the texts of the settings
// grid, kept verbatim; the core reads them once into typed values (JobSettings.h).
// The fields keep this order: project files store them in it (all but the last).

#include <cstdint>
#include <string>

namespace pelorine {

struct Job {
    std::string videoDisabled;       // "no" / "yes"
    std::string videoBitrate;        // kbit/s, "1200"
    std::string videoFrameRate;      // "default" or a rate, "29.97"
    std::string videoSize;           // "320x240"
    std::string videoCodec;          // "MPEG4" / "h264"
    std::string audioDisabled;       // "no" / "yes"
    std::string audioVolume;         // "default", "-20" .. "+20", "normalize"
    std::string audioChannel;        // "default", "left stereo", ...
    std::string audioBitrate;        // kbit/s, "128"
    std::string audioSampleRate;     // Hz, "44100"
    std::string audioCodec;          // "aac", "AAC", "mp3"
    std::string quantizerMin;        // "1" .. "31"
    std::string quantizerMax;        // "1" .. "31"
    std::int32_t clipEnabled = 0;    // 1: only clipStart .. clipEnd is converted
    double clipEnd = 0.0;            // seconds
    double clipStart = 0.0;          // seconds
    std::string startText;           // clipStart as shown, hh:mm:ss.xx
    std::string endText;             // clipEnd as shown
    std::string outputFormat;        // "mp4" / "mp3"
    std::string split;               // "Not split", "00:10:00", ..., "4.7 GB"
    std::string sourcePath;          // the source file, or "DVD_DRIVE_" + the disc
    std::string outputPath;          // the output file
    double duration = 0.0;           // seconds, the whole source
    std::int32_t reservedValue = 0;  // kept in project files, used by nothing
    std::int32_t sourceWidth = 0;
    std::int32_t sourceHeight = 0;
    std::int32_t isDvd = 0;  // 0 file, 1 DVD title, 2 video CD
    std::int32_t dvdAudioChannel = 0;
    std::int32_t dvdAudioId = 0;     // negative: none
    std::int32_t dvdSubtitleId = 0;  // negative: none
    std::int32_t dvdChapterLast = 0;
    std::int32_t dvdChapterFirst = 0;
    std::int32_t dvdTitle = 0;
    std::int32_t profileIndex = 0;  // profile combo index 0..4 (4: customised)

    // Not stored: a file Job's subtitle file beside its source, which the
    // project keeps as a code of its name in dvdSubtitleId (tracks/TrackChoice.h).
    std::string subtitleFile;

    bool operator==(const Job&) const = default;
};

}  // namespace pelorine
