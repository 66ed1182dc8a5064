#pragma once
// A Job's settings as the core reckons with them. A Job (Job.h) holds its
// settings as the texts the grid shows and the project file stores; this is
// the same Job read once into values: kinds as enums, what may be absent as
// optionals, times as durations, sizes in bytes. The command lines, the
// batch, the size estimate, the handheld and the command-line program work
// with this view; only the grid, the project and profile files and the texts
// shown read the record itself.
//
// The engine receives some settings exactly as they were typed ("0768",
// "14.985", "+5"): those keep their text beside their value, and the command
// lines pass the text on byte for byte.

#include <chrono>
#include <optional>
#include <string>

#include "base/Status.h"
#include "jobs/Job.h"

namespace pelorine {

using Seconds = std::chrono::duration<double>;

// A setting the engine receives as it was typed, and the number the core
// reckons with: the whole number the text starts with, as C's atoi reads it
// (0 for a text without one), or for a frame rate its decimal number.
template <typename Number>
struct Typed {
    Number value{};
    std::string text;
};

// How the record names the source. JobFactory makes the kind and a
// "DVD_DRIVE_" source path agree; a hand-made project file may not.
enum class SourceKind {
    File,
    DvdTitle,
    VideoCd,
    Unknown,  // a number no kind has (project files never hold one)
};

// What is read from a DVD.
struct DvdTitle {
    int title = 0;
    int firstChapter = 0;
    int lastChapter = 0;
    std::optional<int> audioId;     // the engine's id of the audio stream
    std::optional<int> subtitleId;  // the subtitle burnt into the picture
};

// A file's sound track and subtitles, as the engine's -aid, -sid and -sub
// take them; all absent: the default sound and no subtitles.
struct FileStreams {
    std::optional<int> audioId;
    std::optional<int> subtitleId;
    std::optional<std::string> subtitleFile;
};

struct JobSource {
    // The record's kind: the preview plays the source as this kind says.
    SourceKind kind = SourceKind::File;
    // The path as stored: a file, or "DVD_DRIVE_" followed by the disc.
    std::string path;
    // The disc (a drive's device, a VIDEO_TS folder or an image) when the
    // path names one: the encoder reads a DVD title from it then.
    std::optional<std::string> disc;
    DvdTitle dvd;
    // A file's streams (SourceKind::File without a disc only).
    FileStreams file;
    // The picture as shown (its display width), 0 when it is not known.
    int width = 0;
    int height = 0;
    Seconds length{0.0};
};

// Only "h264", exactly, is H.264; any other codec text is MPEG-4.
enum class VideoCodec { Mpeg4, H264 };

// The picture's frame: "320x240", "480:272", "640X480"; 320 by 240 when the
// text names no size.
struct PictureSize {
    int width = 320;
    int height = 240;
};

struct Quantizers {
    Typed<int> min;
    Typed<int> max;
};

// Present only when "Video disabled" is "no".
struct VideoSettings {
    PictureSize size;
    std::optional<Typed<double>> frameRate;  // absent: "default", the engine's own choice
    Typed<int> bitrate;                      // kbit/s, 0 when the text holds no number
    Quantizers quantizers;                   // H.264 only
};

// Present only when "Audio disabled" is "no".
struct AudioSettings {
    Typed<int> sampleRate;  // Hz
    Typed<int> bitrate;     // kbit/s
};

// The "Audio channel" names, in any case; Unnamed for a name that has no filter.
enum class AudioChannel {
    Default,
    LeftStereo,
    RightStereo,
    LeftMono,
    RightMono,
    MixedMono,
    Unnamed
};

struct Volume {
    enum class Kind { Default, Normalize, Decibels };
    Kind kind = Kind::Default;
    // Decibels: "+5", "-10"; any text but "default" and "normalize" (exactly)
    // is passed on as decibels.
    Typed<int> decibels;
};

// What the sound goes through. The preview plays the sound of every Job
// through them, also of one whose output has none.
struct SoundFilters {
    AudioChannel channel = AudioChannel::Default;
    Volume volume;
};

// How the output is cut into parts. The parts are planned, and the output
// estimated, by this one reading of the text.
struct Split {
    enum class Kind {
        None,        // "Not split" in any case, blanks not counting (as the grid takes it)
        ByTime,      // h:m:s, whole numbers (a sign allowed), longer than nothing
        BySize,      // a number above 0 and kb, mb, gb or b, of 1024
        Unreadable,  // neither: the engine is given the text and refuses it
    };
    Kind kind = Kind::None;
    Seconds time{0.0};  // ByTime
    double bytes = 0;   // BySize; a fraction of a byte is kept, as planned
    // The text as the engine's -endpos takes it: lowered, blanks removed ("650mb").
    std::string engineText;
};

// Any "Output format" but mp3 and mp4 (in any case) still gets the video
// command line, and no thumbnail.
enum class OutputFormat { Mp4, Mp3, Other };

struct OutputSettings {
    OutputFormat format = OutputFormat::Mp4;
    std::string extension;  // the format as stored: the extension of every file written
    std::string path;       // the output path as stored
};

struct ClipRange {
    Seconds start{0.0};
    Seconds end{0.0};
    Seconds length() const { return end - start; }
};

struct JobSettings {
    JobSource source;
    // The codec names the output's kind on the handheld also when the video
    // is disabled, so it stands apart from the video settings.
    VideoCodec codec = VideoCodec::Mpeg4;
    std::optional<VideoSettings> video;
    std::optional<AudioSettings> audio;
    SoundFilters sound;
    std::optional<ClipRange> clip;  // absent: the whole source
    Split split;
    OutputSettings output;

    bool mp3() const { return output.format == OutputFormat::Mp3; }
    // Whether the Job is converted in parts: MP3 outputs never are.
    bool splitOutput() const { return !mp3() && split.kind != Split::Kind::None; }
    // The length converted: the clip, or the whole source.
    Seconds convertedLength() const { return clip ? clip->length() : source.length; }
};

// Reads `job`'s record into `settings`. Every field is read whatever the
// others hold, so `settings` is complete even when an error is returned:
// the error names the first setting the engine receives as typed whose text
// is not one plain token (a blank, a quote or a backslash in it, which only a
// damaged or hand-made project file brings in, would change the meaning of
// the command line).
Status readJobSettings(const Job& job, JobSettings& settings);
// The view of a Job as it stands, for the code that never runs the engine
// with it (names, estimates) and the preview, which plays any Job.
JobSettings jobSettingsOf(const Job& job);

// The clip of a record, without reading the rest.
std::optional<ClipRange> clipOf(const Job& job);

}  // namespace pelorine
