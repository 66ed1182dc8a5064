#include "front/StartSeek.h"

#include <cmath>
#include <cstdio>
#include <vector>

#include "front/Input.h"

namespace zelvic {
namespace {

// How far before the start the first seek goes where no index finds key
// frames: far enough for the sound, which such streams carry up to about a
// second ahead of the picture that shows with it.
constexpr double kUnindexedMargin = 1.0;  // seconds
// A look reads no further than this when the timestamps do not tell it to stop.
constexpr int kMostLookPackets = 20000;

std::int64_t microseconds(double seconds) {
    return static_cast<std::int64_t>(std::llround(seconds * AV_TIME_BASE));
}

// The packet's time in seconds (its decoding time, else its presentation
// time), nothing when it has neither.
std::optional<double> packetTime(const AVPacket* packet, AVRational base) {
    const std::int64_t time = packet->dts != AV_NOPTS_VALUE ? packet->dts : packet->pts;
    if (time == AV_NOPTS_VALUE) {
        return std::nullopt;
    }
    return static_cast<double>(time) * av_q2d(base);
}

}  // namespace

// A place to read from: the source's start, a byte position, or a time the
// demuxer seeks to (a seek through an index lands on the same place again).
struct StartSeek::Place {
    enum class Kind { SourceStart, Byte, Time };
    Kind kind = Kind::SourceStart;
    std::int64_t value = 0;   // bytes, or AV_TIME_BASE units
    std::int64_t offset = 0;  // the timeline's offset for the piece there
};

// What reading from a place shows: when its first whole picture and its
// first sound begin, in seconds on the timeline.
struct StartSeek::Look {
    std::optional<double> picture;
    std::optional<double> sound;
};

StartSeek::StartSeek(AVFormatContext* input, DecodedStream* video, DecodedStream* audio,
                     Timeline& timeline, double inputStart)
    : input_(input),
      video_(video),
      audio_(audio),
      timeline_(timeline),
      inputStart_(inputStart),
      searched_((input->iformat->flags & AVFMT_TS_DISCONT) &&
                !(input->iformat->flags & AVFMT_NO_BYTE_SEEK)) {}

void StartSeek::seek(double start) {
    // In a source whose timestamps restart, a time names several places:
    // the map tells which piece holds it and a known place before it.
    if (timeline_.active()) {
        map_ = TimeMap::scan(input_);
        if (map_ && !map_->hasJumps()) {
            map_.reset();
        }
    }
    const double length = inputLengthSeconds(input_);
    const bool pastTheEnd = length > 0 && start >= inputStart_ + length;
    double margin = searched_ || map_ ? kUnindexedMargin : 0.0;
    for (int looks = 1;; ++looks) {
        const double target = start - margin;
        const std::optional<Place> place =
            target > inputStart_ ? locate(target) : std::optional<Place>();
        if (!place) {
            std::printf("seek: reading from the source's start\n");
            goTo(Place{});
            return;
        }
        // Past the end there is nothing to look for: the run finds nothing.
        if (pastTheEnd || inTime(look(*place, start), start)) {
            std::printf("seek: reading from %.3f s before the start (%d look%s)\n", margin, looks,
                        looks == 1 ? "" : "s");
            goTo(*place);
            if (video_) {
                video_->fromKeyFrame();
            }
            return;
        }
        margin = margin > 0 ? 2 * margin : 1.0;
    }
}

bool StartSeek::seekTime(double seconds) {
    const std::int64_t time = microseconds(seconds);
    const int result = avformat_seek_file(input_, -1, INT64_MIN, time, time, 0);
    if (result < 0) {
        std::printf("seek: cannot seek to %.3f s (%s)\n", seconds, avErrorText(result).c_str());
    }
    return result >= 0;
}

// Seeks near `target`, before it: where the map says, or where the demuxer
// lands, kept as a byte position when the demuxer searched for it.
std::optional<StartSeek::Place> StartSeek::locate(double target) {
    if (map_) {
        const TimeMap::Point point = map_->before(microseconds(target));
        return Place{Place::Kind::Byte, point.position, point.offset};
    }
    if (!seekTime(target)) {
        return std::nullopt;
    }
    if (searched_) {
        return Place{Place::Kind::Byte, avio_tell(input_->pb), 0};
    }
    return Place{Place::Kind::Time, microseconds(target), 0};
}

bool StartSeek::goTo(const Place& place) {
    bool done = false;
    switch (place.kind) {
        case Place::Kind::SourceStart:
            done = (!searched_ && !map_ && seekTime(inputStart_)) ||
                   av_seek_frame(input_, -1, 0, AVSEEK_FLAG_BYTE) >= 0;
            break;
        case Place::Kind::Byte:
            done = av_seek_frame(input_, -1, place.value, AVSEEK_FLAG_BYTE) >= 0;
            break;
        case Place::Kind::Time:
            done = seekTime(static_cast<double>(place.value) / AV_TIME_BASE);
            break;
    }
    timeline_.startAt(place.offset);
    return done;
}

bool StartSeek::inTime(const Look& found, double start) const {
    const bool picture =
        !video_ || (found.picture && *found.picture <= start + kFrameTimeTolerance);
    // A sound stream may end before the start, or begin late everywhere.
    const bool sound = !audio_ || !found.sound || *found.sound <= start + kAudioGapTolerance;
    return picture && sound;
}

namespace {

// While it lives, the demuxer reads only the streams the run decodes.
class ReadingOnly {
public:
    ReadingOnly(AVFormatContext* input, const DecodedStream* video, const DecodedStream* audio)
        : input_(input) {
        for (unsigned i = 0; i < input->nb_streams; ++i) {
            AVStream* stream = input->streams[i];
            discards_.push_back(stream->discard);
            const bool read =
                (video && stream == video->input) || (audio && stream == audio->input);
            stream->discard = read ? AVDISCARD_DEFAULT : AVDISCARD_ALL;
        }
    }
    ~ReadingOnly() {
        for (unsigned i = 0; i < input_->nb_streams; ++i) {
            input_->streams[i]->discard = discards_[i];
        }
    }
    ReadingOnly(const ReadingOnly&) = delete;
    ReadingOnly& operator=(const ReadingOnly&) = delete;

private:
    AVFormatContext* input_;
    std::vector<AVDiscard> discards_;
};

// The first key picture the picture's decoder gives, fed as the run feeds
// it after a seek; the decoder is emptied again afterwards.
class FirstPicture {
public:
    explicit FirstPicture(DecodedStream& video) : video_(video) { video_.fromKeyFrame(); }
    ~FirstPicture() { avcodec_flush_buffers(video_.decoder.get()); }
    FirstPicture(const FirstPicture&) = delete;
    FirstPicture& operator=(const FirstPicture&) = delete;

    void send(const AVPacket* packet) {
        if (video_.takesPacket(packet)) {
            avcodec_send_packet(video_.decoder.get(), packet);
            receive();
        }
    }
    // What the decoder still holds.
    void drain() {
        avcodec_send_packet(video_.decoder.get(), nullptr);
        receive();
    }
    const std::optional<double>& time() const { return time_; }

private:
    void receive() {
        while (!time_ && avcodec_receive_frame(video_.decoder.get(), frame_.get()) >= 0) {
            const std::int64_t pts = frame_->best_effort_timestamp;
            if (pts != AV_NOPTS_VALUE && video_.takesPicture(frame_.get())) {
                time_ = static_cast<double>(pts) * av_q2d(video_.input->time_base);
            }
            av_frame_unref(frame_.get());
        }
    }

    DecodedStream& video_;
    FramePtr frame_ = makeFrame();
    std::optional<double> time_;
};

}  // namespace

// Reads from `place` as the run would: the picture decoded from its first
// key frame to its first key picture, or until its packets pass the start;
// the sound up to its first packet.
StartSeek::Look StartSeek::look(const Place& place, double start) {
    Look found;
    if (!goTo(place)) {
        return found;
    }
    Timeline timeline = timeline_;
    const ReadingOnly reading(input_, video_, audio_);
    std::optional<FirstPicture> picture;
    if (video_) {
        picture.emplace(*video_);
    }
    bool pictureDone = !video_;
    PacketPtr packet = makePacket();
    for (int read = 0; read < kMostLookPackets && !(pictureDone && (!audio_ || found.sound));
         ++read) {
        if (av_read_frame(input_, packet.get()) < 0) {
            break;
        }
        timeline.place(packet.get());
        const AVStream* stream = input_->streams[packet->stream_index];
        const auto time = packetTime(packet.get(), stream->time_base);
        if (audio_ && stream == audio_->input && !found.sound) {
            found.sound = time;
        } else if (video_ && stream == video_->input && !pictureDone) {
            // Past the start, only what the decoder still holds can be in time.
            pictureDone = time && *time > start + kFrameTimeTolerance;
            if (!pictureDone) {
                picture->send(packet.get());
                pictureDone = picture->time().has_value();
            }
        }
        av_packet_unref(packet.get());
    }
    if (picture) {
        if (!picture->time()) {
            picture->drain();
        }
        found.picture = picture->time();
    }
    return found;
}

}  // namespace zelvic
