#pragma once
// Jobs of every kind for the project file tests, each field set apart from
// its default so that a field lost or swapped shows.

#include <string>
#include <vector>

#include "jobs/Job.h"

namespace pelorine::testing {

// Three file Jobs under `folder` (ending in a separator): an MPEG-4 Job with
// a clip, an H.264 Job split by time, an MP3 Job of the customised profile.
inline std::vector<Job> sampleJobs(const std::string& folder) {
    Job mpeg4;
    mpeg4.videoDisabled = "no";
    mpeg4.videoBitrate = "1500";
    mpeg4.videoFrameRate = "29.97";
    mpeg4.videoSize = "480x272";
    mpeg4.videoCodec = "MPEG4";
    mpeg4.audioDisabled = "no";
    mpeg4.audioVolume = "+5";
    mpeg4.audioChannel = "left stereo";
    mpeg4.audioBitrate = "96";
    mpeg4.audioSampleRate = "48000";
    mpeg4.audioCodec = "aac";
    mpeg4.quantizerMin = "1";
    mpeg4.quantizerMax = "31";
    mpeg4.clipEnabled = 1;
    mpeg4.clipStart = 60.25;
    mpeg4.clipEnd = 180.5;
    mpeg4.startText = "00:01:00.25";
    mpeg4.endText = "00:03:00.50";
    mpeg4.outputFormat = "mp4";
    mpeg4.split = "Not split";
    mpeg4.sourcePath = folder + "holiday clip.avi";
    mpeg4.outputPath = folder + "out/M4V04217.MP4";
    mpeg4.duration = 3725.5;
    mpeg4.sourceWidth = 640;
    mpeg4.sourceHeight = 480;
    mpeg4.profileIndex = 1;

    Job h264 = mpeg4;
    h264.videoCodec = "h264";
    h264.videoBitrate = "768";
    h264.videoSize = "320x240";
    h264.quantizerMin = "20";
    h264.quantizerMax = "28";
    h264.clipEnabled = 0;
    h264.clipStart = 0.0;
    h264.clipEnd = 1800.0;
    h264.startText = "00:00:00.00";
    h264.endText = "00:30:00.00";
    h264.split = "00:10:00";
    h264.sourcePath = folder + "lecture \"part 2\".mkv";
    h264.outputPath = folder + "out/MAQ55501.MP4";
    h264.duration = 1800.0;
    h264.sourceWidth = 1280;
    h264.sourceHeight = 720;
    h264.profileIndex = 2;
    h264.reservedValue = 0x01020304;

    Job mp3 = mpeg4;
    mp3.outputFormat = "mp3";
    mp3.audioCodec = "mp3";
    mp3.audioBitrate = "192";
    mp3.clipEnabled = 1;
    mp3.clipStart = 5.0;
    mp3.clipEnd = 65.0;
    mp3.startText = "00:00:05.00";
    mp3.endText = "00:01:05.00";
    mp3.sourcePath = folder + "Musik für Zoë.wav";
    mp3.outputPath = folder + "out/Musik für Zoë.mp3";
    mp3.duration = 241.04;
    mp3.sourceWidth = 0;
    mp3.sourceHeight = 0;
    mp3.profileIndex = 4;
    return {mpeg4, h264, mp3};
}

}  // namespace pelorine::testing
