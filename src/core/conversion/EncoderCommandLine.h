#pragma once
// The engine command lines that convert one Job. Each is the Job's prefix
// (engine path, source, media options), a timing piece, and the launch tail
// (output file and channel folder). The pieces are literal option texts of
// the engine's language; their blanks are part of the contract.

#include <string>

#include "base/Status.h"
#include "jobs/Job.h"
#include "jobs/JobSettings.h"

namespace pelorine {

// What every command line names besides the Job: the engine executable and
// the channel folder (with its trailing separator).
struct EngineInvocation {
    std::string enginePath;
    std::string channelFolder;
    // Every output with a picture in an MP4 gets the handheld's thumbnail
    // beside it (thumbnailPiece).
    bool thumbnails = false;
    // The code page of a subtitle file burned in (-subcp); empty: the engine
    // tells it from the bytes.
    std::string subtitleCodePage{};
};

// The handheld's thumbnail of an output: the output's path with the
// extension ".THM" in place of its own.
std::string thumbnailPath(const std::string& output);

class EncoderCommandLine {
public:
    EncoderCommandLine(JobSettings settings, EngineInvocation invocation);
    // The line of a record as it stands (jobSettingsOf).
    EncoderCommandLine(const Job& job, EngineInvocation invocation);

    const JobSettings& settings() const { return settings_; }
    // Engine path, source piece and media piece, built once per Job.
    const std::string& prefix() const { return prefix_; }
    // prefix + timing + " -o" output + the channel-folder piece, naming the
    // invocation's channel folder or the one given.
    std::string commandLine(const std::string& timing, const std::string& output) const;
    std::string commandLine(const std::string& timing, const std::string& output,
                            const std::string& channelFolder) const;

    // Whether the Job is converted in parts (MP3 outputs never are).
    bool splitOutput() const { return settings_.splitOutput(); }
    // The file the Job's first run writes.
    std::string firstOutput() const;
    // The split setting as the engine's -endpos takes it: "650 MB" gives "650mb".
    const std::string& splitText() const { return settings_.split.engineText; }
    // base_clip_k.format, from the Job's output path.
    std::string partFileName(int part) const;
    // The output path without its extension, which every file of the Job shares.
    const std::string& baseName() const { return baseName_; }

    // The pieces, each exactly as it stands in the command line.
    static std::string sourcePiece(const JobSettings& settings,
                                   const std::string& subtitleCodePage = {});
    // The channel and volume filters and the sample rate of a Job with sound.
    static std::string audioFilters(const SoundFilters& sound, const AudioSettings& audio);
    static std::string mediaPiece(const JobSettings& settings);
    static std::string videoPiece(const JobSettings& settings);
    static std::string launchTail(const std::string& output, const std::string& channelFolder);
    // After the launch tail, for an output that gets a thumbnail:
    // -thumbnail "BASE.THM" and a blank.
    static std::string thumbnailPiece(const std::string& output);
    // Whether the Job's outputs get thumbnails under `invocation`: MP4
    // outputs with a picture.
    static bool makesThumbnails(const JobSettings& settings, const EngineInvocation& invocation);

    // Pieces the preview's command line shares.
    // " -aid N " and " -sid N " for the streams chosen on a DVD.
    static std::string dvdStreamsPiece(const DvdTitle& dvd);
    // " -aid N ", " -sid N " and " -sub FILE " (quoted) for a file's chosen
    // streams, the file followed by " -subcp NAME " when a code page is
    // named; empty for the default sound without subtitles.
    static std::string fileStreamsPiece(const FileStreams& file,
                                        const std::string& subtitleCodePage = {});
    // The filter of a channel ("channels=2:2:0:0:0:1", "pan=1:0.5:0.5");
    // empty for Default and Unnamed.
    static std::string channelFilter(AudioChannel channel);
    // The filter of a volume other than Default: "volnorm" or "volume=-10db:sc".
    static std::string volumeFilter(const Volume& volume);
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
    JobSettings settings_;
    EngineInvocation invocation_;
    std::string baseName_;
    std::string prefix_;
};

}  // namespace pelorine
