#pragma once
// The engine command lines that convert one Job. Each is the Job's prefix
// (engine path, source, media options), a timing piece, and the launch tail
// (output file and channel folder). The pieces are literal option texts of
// the engine's language; their blanks are part of the contract.

#include <string>

#include "base/Status.h"
#include "jobs/Job.h"

namespace pelorine {

// What every command line names besides the Job: the engine executable and
// the channel folder (with its trailing separator).
struct EngineInvocation {
    std::string enginePath;
    std::string channelFolder;
    // Every output with a picture in an MP4 gets the handheld's thumbnail
    // beside it (thumbnailPiece).
    bool thumbnails = false;
};

// The handheld's thumbnail of an output: the output's path with the
// extension ".THM" in place of its own.
std::string thumbnailPath(const std::string& output);

class EncoderCommandLine {
public:
    EncoderCommandLine(const Job& job, EngineInvocation invocation);

    // Engine path, source piece and media piece, built once per Job.
    const std::string& prefix() const { return prefix_; }
    // prefix + timing + " -o" output + the channel-folder piece, naming the
    // invocation's channel folder or the one given.
    std::string commandLine(const std::string& timing, const std::string& output) const;
    std::string commandLine(const std::string& timing, const std::string& output,
                            const std::string& channelFolder) const;

    bool mp3Output() const { return mp3_; }
    bool notSplit() const { return notSplit_; }
    // Whether the Job is converted in parts (MP3 outputs never are).
    bool splitOutput() const { return !mp3_ && !notSplit_; }
    // The file the Job's first run writes.
    std::string firstOutput() const;
    // The split setting as the engine's -endpos takes it: "650 MB" gives "650mb".
    const std::string& splitText() const { return splitText_; }
    // base.format and base_clip_k.format, from the Job's output path.
    std::string wholeFileName() const;
    std::string partFileName(int part) const;
    // The output path without its extension, which every file of the Job shares.
    const std::string& baseName() const { return baseName_; }

    // The pieces, each exactly as it stands in the command line.
    static std::string sourcePiece(const Job& job);
    static std::string audioFilters(const Job& job);
    static std::string mediaPiece(const Job& job);
    static std::string videoPiece(const Job& job);
    static std::string launchTail(const std::string& output, const std::string& channelFolder);
    // After the launch tail, for an output that gets a thumbnail:
    // -thumbnail "BASE.THM" and a blank.
    static std::string thumbnailPiece(const std::string& output);
    // Whether the Job's outputs get thumbnails under `invocation`: MP4
    // outputs with a picture.
    static bool makesThumbnails(const Job& job, const EngineInvocation& invocation);

    // Pieces the preview's command line shares.
    // The filter of an "Audio channel" value in any case ("channels=2:2:0:0:0:1",
    // "pan=1:0.5:0.5"); empty for a name that has none.
    static std::string channelFilter(const std::string& audioChannel);
    // The filter of an "Audio volume" value: "volnorm" or "volume=-10db:sc".
    static std::string volumeFilter(const std::string& audioVolume);
    // The quoted device of a DVD source ("DVD_DRIVE_" followed by the device).
    static std::string dvdDevice(const Job& job);
    // Scales a source of sourceWidth x sourceHeight into a width x height
    // frame, fitting the width when the source is as wide as the frame or
    // wider, else the height, and pads it to the frame, centred. Without a
    // usable height on either side the ratios mean nothing: the width is fitted.
    static std::string scalingPiece(int width, int height, int sourceWidth, int sourceHeight);

    // Timing pieces: from `start` for `length` seconds, or for a split length.
    static std::string timing(double start, double length);
    static std::string timing(double start, const std::string& splitText);
    static std::string firstPartTiming(const std::string& splitText);

private:
    const Job& job_;
    EngineInvocation invocation_;
    bool mp3_;
    bool notSplit_;
    std::string splitText_;
    std::string baseName_;
    std::string prefix_;
};

// Whether every setting that stands in the command line as written is one
// plain token: a text with blanks or quotes (which only a damaged or
// hand-made file can bring in) would change the meaning of the command line.
// Returns an error naming the setting otherwise.
Status checkCommandLineSettings(const Job& job);

// "620x272" style sizes: the target picture size, 320 by 240 when the text
// names none.
struct PictureSize {
    int width = 320;
    int height = 240;
};
PictureSize targetPictureSize(const std::string& videoSize);

}  // namespace pelorine
