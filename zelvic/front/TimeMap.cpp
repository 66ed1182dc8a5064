#include "front/TimeMap.h"

#include <algorithm>
#include <cmath>

#include "front/Timeline.h"

namespace zelvic {
namespace {

constexpr int kMostSamples = 64;
constexpr std::int64_t kBytesPerSample = 4 * 1024 * 1024;
constexpr std::int64_t kTailBytes = 1024 * 1024;

struct Sample {
    std::int64_t position = 0;
    std::int64_t raw = AV_NOPTS_VALUE;
    double bytesPerSecond = 0;  // 0: unknown
};

class Scanner {
public:
    Scanner(AVFormatContext* input, int reference) : input_(input), reference_(reference) {}

    // The first reference timestamps from `position` on, and the byte rate
    // over about a second of them.
    Sample sample(std::int64_t position) {
        Sample result;
        result.position = position;
        if (av_seek_frame(input_, -1, position, AVSEEK_FLAG_BYTE) < 0) {
            return result;
        }
        std::int64_t firstAt = 0;
        for (int packets = 0; packets < 500 && next(); ++packets) {
            const std::int64_t raw = rawTime();
            if (raw == AV_NOPTS_VALUE) {
                continue;
            }
            if (result.raw == AV_NOPTS_VALUE) {
                result.raw = raw;
                firstAt = avio_tell(input_->pb);
            } else if (raw - result.raw >= AV_TIME_BASE / 2 && raw > result.raw) {
                result.bytesPerSecond = static_cast<double>(avio_tell(input_->pb) - firstAt) *
                                        AV_TIME_BASE / static_cast<double>(raw - result.raw);
                break;
            }
        }
        return result;
    }

    // Reads from `from` to `to` packet by packet, placing the reference on a
    // timeline that starts with `offset`; every jump becomes a point.
    std::int64_t walk(std::int64_t from, std::int64_t to, std::int64_t offset,
                      std::vector<TimeMap::Point>& points, std::int64_t* end = nullptr) {
        Timeline timeline(input_);
        timeline.startAt(offset);
        if (av_seek_frame(input_, -1, from, AVSEEK_FLAG_BYTE) < 0) {
            return offset;
        }
        // Up to and including the first packet at `to`, the one a sample there reads first.
        while (next()) {
            const std::int64_t raw = rawTime();
            const std::int64_t at = packet_->pos >= 0 ? packet_->pos : avio_tell(input_->pb);
            const std::size_t pieces = timeline.offsets().size();
            timeline.place(packet_.get());
            if (timeline.offsets().size() > pieces && raw != AV_NOPTS_VALUE) {
                points.push_back({at, raw, timeline.offsets().back()});
            }
            const std::int64_t last = std::max(packet_->pts, packet_->dts);  // placed by now
            if (end && last != AV_NOPTS_VALUE) {
                const AVRational base = input_->streams[reference_]->time_base;
                *end = std::max(*end, av_rescale_q(last + packet_->duration, base, AV_TIME_BASE_Q));
            }
            if (to >= 0 && packet_->pos >= to && raw != AV_NOPTS_VALUE) {
                break;
            }
        }
        return timeline.offsets().back();
    }

private:
    bool next() {
        av_packet_unref(packet_.get());
        while (av_read_frame(input_, packet_.get()) >= 0) {
            if (packet_->stream_index == reference_) {
                return true;
            }
            av_packet_unref(packet_.get());
        }
        return false;
    }

    std::int64_t rawTime() const {
        const std::int64_t timestamp = packet_->dts != AV_NOPTS_VALUE ? packet_->dts : packet_->pts;
        if (timestamp == AV_NOPTS_VALUE) {
            return AV_NOPTS_VALUE;
        }
        return av_rescale_q(timestamp, input_->streams[reference_]->time_base, AV_TIME_BASE_Q);
    }

    AVFormatContext* input_;
    int reference_;
    PacketPtr packet_ = makePacket();
};

// Whether the time between two samples disagrees with the bytes between them.
bool disagree(const Sample& from, const Sample& to) {
    const double rate = from.bytesPerSecond > 0 && to.bytesPerSecond > 0
                            ? (from.bytesPerSecond + to.bytesPerSecond) / 2
                            : std::max(from.bytesPerSecond, to.bytesPerSecond);
    const double elapsed = static_cast<double>(to.raw - from.raw) / AV_TIME_BASE;
    if (elapsed < 0 || rate <= 0) {
        return true;
    }
    const double predicted = static_cast<double>(to.position - from.position) / rate;
    return std::abs(elapsed - predicted) > 1.0 + 0.1 * predicted;
}

}  // namespace

std::optional<TimeMap> TimeMap::scan(AVFormatContext* input) {
    const Timeline probe(input);
    const std::int64_t size = input->pb ? avio_size(input->pb) : -1;
    if (!probe.active() || size <= 0 || (input->pb->seekable & AVIO_SEEKABLE_NORMAL) == 0) {
        return std::nullopt;
    }
    std::vector<AVDiscard> discards;
    for (unsigned i = 0; i < input->nb_streams; ++i) {
        discards.push_back(input->streams[i]->discard);
        input->streams[i]->discard =
            static_cast<int>(i) == probe.referenceStream() ? AVDISCARD_DEFAULT : AVDISCARD_ALL;
    }
    Scanner scanner(input, probe.referenceStream());
    const int count =
        static_cast<int>(std::clamp<std::int64_t>(size / kBytesPerSample, 2, kMostSamples));
    std::vector<Sample> samples;
    for (int i = 0; i < count; ++i) {
        Sample sample = scanner.sample(size * i / count);
        if (sample.raw != AV_NOPTS_VALUE) {
            samples.push_back(sample);
        }
    }
    TimeMap map;
    std::int64_t offset = 0;
    for (std::size_t i = 0; i < samples.size(); ++i) {
        if (i > 0 && disagree(samples[i - 1], samples[i])) {
            offset =
                scanner.walk(samples[i - 1].position, samples[i].position, offset, map.points_);
        }
        map.points_.push_back({samples[i].position, samples[i].raw, offset});
    }
    std::sort(map.points_.begin(), map.points_.end(),
              [](const Point& a, const Point& b) { return a.position < b.position; });
    map.start_ = input->start_time != AV_NOPTS_VALUE ? input->start_time
                                                     : (samples.empty() ? 0 : samples.front().raw);
    map.end_ = map.start_;
    if (!map.points_.empty()) {
        // The tail, from where the last known offset holds.
        const Point last = map.points_.back();
        scanner.walk(std::max(size - kTailBytes, last.position), -1, last.offset, map.points_,
                     &map.end_);
    }
    for (unsigned i = 0; i < input->nb_streams; ++i) {
        input->streams[i]->discard = discards[i];
    }
    av_seek_frame(input, -1, 0, AVSEEK_FLAG_BYTE);
    if (map.points_.empty()) {
        return std::nullopt;
    }
    return map;
}

bool TimeMap::hasJumps() const {
    return std::any_of(points_.begin(), points_.end(),
                       [&](const Point& point) { return point.offset != points_.front().offset; });
}

double TimeMap::lengthSeconds() const {
    return static_cast<double>(end_ - start_) / AV_TIME_BASE;
}

TimeMap::Point TimeMap::before(std::int64_t time) const {
    Point found = points_.front();
    for (const Point& point : points_) {
        if (point.continuous() <= time) {
            found = point;
        }
    }
    return found;
}

}  // namespace zelvic
