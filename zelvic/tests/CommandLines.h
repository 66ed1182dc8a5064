#pragma once
// The engine command lines the converter composes for one job, so that the
// engine is tested on exactly what it will be given: blank runs, repeated -vf
// and all.

#include <string>
#include <vector>

namespace zelvic::test {

struct JobLine {
    std::string source;
    std::string output;
    std::string folder;          // the channel folder, ending in "/"
    std::string format = "mp4";  // "mp4" or "mp3"
    std::string videoCodec = "MPEG4";
    std::string videoSize = "320x240";
    std::string videoFrameRate = "default";
    std::string videoBitrate = "1200";
    std::string videoDisabled = "no";
    std::string audioSampleRate = "44100";
    std::string audioBitrate = "128";
    std::string audioChannel = "default";
    std::string audioVolume = "default";
    std::string audioDisabled = "no";
    std::string quantizerMin = "20";
    std::string quantizerMax = "31";
    int sourceWidth = 640;
    int sourceHeight = 480;
    std::string tracks;      // e.g. " -aid 1 -sid 0 ", after the media settings
    std::string timing;      // e.g. " -ss 1.000000 -endpos 2.000000 ", empty for none
    bool thumbnail = false;  // the converter's -thumbnail piece after the launch tail
    // A DVD title instead of a file: `source` is then the disc (device,
    // folder or image).
    int dvdTitle = 0;  // 0: the source is a file
    int dvdChapterFirst = 1;
    int dvdChapterLast = 1;
    int dvdAudioId = -1;
    int dvdSubtitleId = -1;
};

// The command line text after the engine path.
std::string composeCommandLine(const JobLine& job);

// Splits a command line the way the launcher does (quotes group, backslashes
// before a quote escape it).
std::vector<std::string> splitCommandLine(const std::string& text);

}  // namespace zelvic::test
