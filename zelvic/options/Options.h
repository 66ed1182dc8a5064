#pragma once
// The engine's command language: what one run is asked to do. Parsing is pure
// (no files, no libraries), so every rule of the language is tested on its own.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <variant>
#include <vector>

#include "common/Errors.h"

namespace zelvic {

enum class Mode { Identify, Encode, Play };

enum class SourceKind { File, DvdTitle, VcdTrack };

// A side of `scale=W:H` that is computed from the other one.
inline constexpr int kKeepAspect = -2;

struct ScaleStep {
    int width = 0;   // pixels, or kKeepAspect / -1 (computed from the other side)
    int height = 0;  // the same
};
struct HardDupStep {};
struct ExpandStep {
    int width = 0;
    int height = 0;
    int x = -1;  // -1 centres on that axis
    int y = -1;
    bool osd = false;  // nothing to draw: accepted, ignored
};
using VideoStep = std::variant<ScaleStep, HardDupStep, ExpandStep>;

struct ChannelRoute {
    int from = 0;
    int to = 0;
};
struct ChannelsStep {
    int outputs = 2;
    std::vector<ChannelRoute> routes;
};
// Gains in input-major order: gains[i * outputs + j] takes input i to output j.
struct PanStep {
    int outputs = 1;
    std::vector<double> gains;
};
struct VolumeStep {
    double decibels = 0;
    bool softClip = false;
};
struct VolNormStep {};
using AudioStep = std::variant<ChannelsStep, PanStep, VolumeStep, VolNormStep>;

// -endpos: a length of source time, an output size, or nothing.
struct EndLimit {
    std::optional<double> seconds;
    std::optional<std::int64_t> bytes;
};

struct FrameRate {
    int num = 0;
    int den = 1;
    double value() const { return static_cast<double>(num) / den; }
};

enum class VideoEncoder { Unset, Lavc, None };
enum class AudioEncoder { Unset, Lavc, Mp3Lame };
enum class Container { Unset, Lavf, RawAudio };

// -lavcopts. Bitrates in kbit/s; 0 or -1 means "not given".
struct LavcSettings {
    std::string vcodec;
    std::string acodec;
    int vbitrate = 0;
    int abitrate = 0;
    int vrcMaxrate = 0;
    int vratetol = 0;
    int vqmin = -1;
    int vqmax = -1;
    int keyint = 0;
    int level = 0;
    int coder = -1;  // 0 CAVLC, 1 CABAC
    int mbd = -1;
    int cmp = -1;
    int subcmp = -1;
    int trell = 0;
    bool v4mv = false;
    int aic = 0;
    bool qpel = false;
    int vme = -1;
    bool bitExact = false;
    bool vglobal = false;
    bool aglobal = false;
};

// -lameopts.
struct LameSettings {
    bool cbr = false;
    int bitrate = 128;  // kbit/s
    int mode = -1;      // 0 stereo, 1 joint stereo, 3 mono; -1 not given
};

struct Options {
    SourceKind sourceKind = SourceKind::File;
    std::string source;  // the file path (File)
    int title = 0;       // dvd://T or vcd://T
    std::string dvdDevice;
    std::string cdromDevice;
    int chapterFirst = 0;          // 0: from the first
    int chapterLast = 0;           // 0: to the end
    int audioId = -1;              // -aid
    int subtitleId = -1;           // -sid
    std::string subtitleFile;      // -sub: a text subtitle file burned into the picture
    std::string subtitleCodePage;  // -subcp: the code page of an 8-bit subtitle file

    double start = 0;  // -ss, seconds
    EndLimit end;      // -endpos
    bool noSound = false;
    std::string videoOut;  // -vo
    std::string audioOut;  // -ao
    bool identify = false;
    std::string output;         // -o
    std::string currentFolder;  // -currentfolder
    std::string thumbnail;      // -thumbnail: the handheld's picture of the output, a JPEG
    int sampleRate = 0;         // -srate, 0 keeps the source's
    std::vector<VideoStep> videoFilters;
    std::vector<AudioStep> audioFilters;
    std::optional<FrameRate> outputFps;
    VideoEncoder videoEncoder = VideoEncoder::Unset;
    AudioEncoder audioEncoder = AudioEncoder::Unset;
    LavcSettings lavc;
    LameSettings lame;
    Container container = Container::Unset;
    std::string lavfFormat;
    bool noBFramesCertified = false;
    std::string fourcc;

    // Play-mode settings: parsed now, used by the player.
    bool frameDrop = false;
    int autoSync = 0;
    double maxCorrection = 0;
    bool slave = false;
    std::optional<std::uint64_t> windowId;
    std::optional<std::uint32_t> colorKey;
    bool keepAspect = false;
    std::string priority;

    Mode mode() const;
    bool hasSource() const { return sourceKind != SourceKind::File || !source.empty(); }
};

// Reads the arguments after the program name, left to right.
Result<Options> parseOptions(std::span<const std::string> args);

// Value readers, exposed for their own tests. Each returns nullopt on a
// malformed text.
std::optional<double> parseSeconds(std::string_view text);  // "12.5" or "hh:mm:ss[.xx]"
std::optional<EndLimit> parseEndLimit(std::string_view text);
std::optional<FrameRate> parseFrameRate(std::string_view text);

}  // namespace zelvic
