#pragma once
// What a test learns about a file by opening it with libavformat and decoding
// it: the same view the handheld or any player gets.

#include <string>
#include <vector>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/avutil.h>
}

namespace zelvic::test {

struct StreamProbe {
    AVMediaType type = AVMEDIA_TYPE_UNKNOWN;
    AVCodecID codec = AV_CODEC_ID_NONE;
    int profile = FF_PROFILE_UNKNOWN;
    int level = FF_LEVEL_UNKNOWN;
    int width = 0;
    int height = 0;
    AVRational sampleAspect{0, 1};
    AVRational frameRate{0, 1};
    int sampleRate = 0;
    int channels = 0;
    long long packets = 0;
    long long bytes = 0;      // of every packet
    double duration = 0;      // first timestamp to the end of the last packet
    int bFrames = 0;          // decoded pictures of type B
    int referenceFrames = 0;  // H.264: max_num_ref_frames, when known
    double firstPts = 0;
    double longestPacket = 0;  // the longest packet duration, seconds
    int entropyCoding = -1;    // H.264: 0 CAVLC, 1 CABAC, from the stored picture parameters
};

struct MediaProbe {
    bool opened = false;
    std::string format;
    std::string brand;    // an MP4's major brand ("MSNV" for the handheld's own)
    double duration = 0;  // as the container states it
    double span = 0;      // earliest packet start to latest packet end, all streams
    std::vector<StreamProbe> streams;
    const StreamProbe* video() const;
    const StreamProbe* audio() const;
    int count(AVMediaType type) const;
};

// Opens, reads every packet and decodes the video.
MediaProbe probeMedia(const std::string& path);

// The first decoded picture's luma: mean of every row and of every column.
struct PictureProbe {
    int width = 0;
    int height = 0;
    std::vector<double> rowMeans;
    std::vector<double> columnMeans;
    double centreMean = 0;  // the middle quarter of the picture
};
PictureProbe probeFirstPicture(const std::string& path);

// The centre luma of the picture a player shows at `seconds` after the
// source's start (the last frame that begins at or before it).
double centreLumaAt(const std::string& path, double seconds);

// The mean Y, U and V of a rectangle of that picture (yuv420p), -1 each when
// there is no such picture or rectangle.
struct RegionColour {
    double y = -1;
    double u = -1;
    double v = -1;
};
RegionColour regionAt(const std::string& path, double seconds, int x, int y, int width, int height);

// The share (0..1) of the samples of `plane` (0 Y, 1 U, 2 V) in a rectangle
// of that picture whose value is at least `atLeast`; -1 when there is no
// such picture or rectangle.
double shareAt(const std::string& path, double seconds, int x, int y, int width, int height,
               int plane, int atLeast);

// How much each of the first `count` pictures differs from the one before:
// the mean absolute difference of their luma (count - 1 values).
std::vector<double> pictureChanges(const std::string& path, int count);

// How much neighbouring rows of the picture shown at `seconds` differ: the
// mean absolute luma difference; large where two fields of a moving picture
// are woven together.
double rowToRowDifference(const std::string& path, double seconds);

// The times of the key pictures a decoder gives when it decodes the whole
// file from its start, in seconds after the source's start.
std::vector<double> keyPictureTimes(const std::string& path);

// The decoded audio, per channel: level and dominant frequency.
struct ChannelMeasure {
    double rms = 0;
    double frequency = 0;  // from zero crossings
};
std::vector<ChannelMeasure> measureAudio(const std::string& path);

}  // namespace zelvic::test
