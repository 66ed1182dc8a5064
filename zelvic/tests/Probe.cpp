#include "Probe.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "common/FFmpeg.h"

namespace zelvic::test {
namespace {

using Input = InputContextPtr;
using Codec = CodecContextPtr;

Input open(const std::string& path) {
    AVFormatContext* raw = nullptr;
    if (avformat_open_input(&raw, path.c_str(), nullptr, nullptr) < 0) {
        return nullptr;
    }
    Input input(raw);
    if (avformat_find_stream_info(raw, nullptr) < 0) {
        return nullptr;
    }
    return input;
}

Codec openDecoder(const AVStream* stream) {
    const AVCodec* decoder = avcodec_find_decoder(stream->codecpar->codec_id);
    if (!decoder) {
        return nullptr;
    }
    Codec context(avcodec_alloc_context3(decoder));
    avcodec_parameters_to_context(context.get(), stream->codecpar);
    context->pkt_timebase = stream->time_base;
    if (avcodec_open2(context.get(), decoder, nullptr) < 0) {
        return nullptr;
    }
    return context;
}

// Feeds every packet of `streamIndex` to `decoder`, calling `onFrame` per frame.
template <typename OnFrame>
void decodeAll(AVFormatContext* input, int streamIndex, AVCodecContext* decoder, OnFrame onFrame,
               bool stopAfterFirst = false) {
    PacketPtr packet = makePacket();
    FramePtr frame = makeFrame();
    bool done = false;
    auto receive = [&] {
        while (!done && avcodec_receive_frame(decoder, frame.get()) >= 0) {
            onFrame(frame.get());
            av_frame_unref(frame.get());
            done = stopAfterFirst;
        }
    };
    while (!done && av_read_frame(input, packet.get()) >= 0) {
        if (packet->stream_index == streamIndex) {
            avcodec_send_packet(decoder, packet.get());
            receive();
        }
        av_packet_unref(packet.get());
    }
    if (!done) {
        avcodec_send_packet(decoder, nullptr);
        receive();
    }
}

// A file opened with a decoder for its best stream of `type`; false when the
// file, the stream or its decoder is missing.
struct Decoding {
    Input input;
    int index = -1;
    Codec decoder;
    explicit operator bool() const { return decoder != nullptr; }
    AVRational timeBase() const { return input->streams[index]->time_base; }
    // The source's own start, in seconds: players count from it.
    double start() const {
        return input->start_time == AV_NOPTS_VALUE
                   ? 0
                   : static_cast<double>(input->start_time) / AV_TIME_BASE;
    }
    template <typename OnFrame>
    void decode(OnFrame onFrame, bool stopAfterFirst = false) {
        decodeAll(input.get(), index, decoder.get(), onFrame, stopAfterFirst);
    }
};

Decoding openDecoding(const std::string& path, AVMediaType type) {
    Decoding decoding;
    decoding.input = open(path);
    if (decoding.input) {
        decoding.index = av_find_best_stream(decoding.input.get(), type, -1, -1, nullptr, 0);
    }
    if (decoding.index >= 0) {
        decoding.decoder = openDecoder(decoding.input->streams[decoding.index]);
    }
    return decoding;
}

// The entropy_coding_mode_flag of the first picture parameter set stored in
// an avcC record; -1 when the record cannot be read that far.
int entropyCodingOf(const std::uint8_t* data, int size) {
    if (size < 7 || data[0] != 1) {
        return -1;
    }
    int at = 6;
    const int spsCount = data[5] & 0x1f;
    for (int i = 0; i < spsCount; ++i) {
        if (at + 2 > size) {
            return -1;
        }
        at += 2 + (data[at] << 8 | data[at + 1]);
    }
    if (at + 1 > size || data[at] == 0) {
        return -1;
    }
    at += 1 + 2;  // PPS count, then the first PPS's length
    if (at + 2 > size) {
        return -1;
    }
    // After the NAL header: pic_parameter_set_id and seq_parameter_set_id as
    // Exp-Golomb codes (a single 1 bit each when 0), then the flag.
    const std::uint8_t bits = data[at + 1];
    if ((bits & 0xc0) != 0xc0) {
        return -1;
    }
    return (bits >> 5) & 1;
}

}  // namespace

const StreamProbe* MediaProbe::video() const {
    for (const StreamProbe& stream : streams) {
        if (stream.type == AVMEDIA_TYPE_VIDEO) {
            return &stream;
        }
    }
    return nullptr;
}

const StreamProbe* MediaProbe::audio() const {
    for (const StreamProbe& stream : streams) {
        if (stream.type == AVMEDIA_TYPE_AUDIO) {
            return &stream;
        }
    }
    return nullptr;
}

int MediaProbe::count(AVMediaType type) const {
    return static_cast<int>(std::count_if(streams.begin(), streams.end(),
                                          [&](const StreamProbe& s) { return s.type == type; }));
}

MediaProbe probeMedia(const std::string& path) {
    MediaProbe result;
    Input input = open(path);
    if (!input) {
        return result;
    }
    result.opened = true;
    result.format = input->iformat->name;
    if (const AVDictionaryEntry* brand = av_dict_get(input->metadata, "major_brand", nullptr, 0)) {
        result.brand = brand->value;
    }
    result.duration = input->duration > 0 ? static_cast<double>(input->duration) / AV_TIME_BASE : 0;
    std::vector<std::int64_t> first(input->nb_streams, AV_NOPTS_VALUE);
    std::vector<std::int64_t> last(input->nb_streams, AV_NOPTS_VALUE);
    for (unsigned i = 0; i < input->nb_streams; ++i) {
        const AVStream* stream = input->streams[i];
        const AVCodecParameters* parameters = stream->codecpar;
        StreamProbe probe;
        probe.type = parameters->codec_type;
        probe.codec = parameters->codec_id;
        probe.profile = parameters->profile;
        probe.level = parameters->level;
        probe.width = parameters->width;
        probe.height = parameters->height;
        probe.sampleAspect = parameters->sample_aspect_ratio;
        probe.frameRate =
            stream->avg_frame_rate.num ? stream->avg_frame_rate : stream->r_frame_rate;
        probe.sampleRate = parameters->sample_rate;
        probe.channels = parameters->ch_layout.nb_channels;
        if (parameters->codec_id == AV_CODEC_ID_H264) {
            probe.entropyCoding =
                entropyCodingOf(parameters->extradata, parameters->extradata_size);
        }
        result.streams.push_back(probe);
    }
    PacketPtr packet = makePacket();
    while (av_read_frame(input.get(), packet.get()) >= 0) {
        const int index = packet->stream_index;
        StreamProbe& probe = result.streams[index];
        ++probe.packets;
        probe.bytes += packet->size;
        probe.longestPacket =
            std::max(probe.longestPacket, static_cast<double>(packet->duration) *
                                              av_q2d(input->streams[index]->time_base));
        if (packet->pts != AV_NOPTS_VALUE) {
            if (first[index] == AV_NOPTS_VALUE || packet->pts < first[index]) {
                first[index] = packet->pts;
            }
            const std::int64_t end = packet->pts + packet->duration;
            if (last[index] == AV_NOPTS_VALUE || end > last[index]) {
                last[index] = end;
            }
        }
        av_packet_unref(packet.get());
    }
    double spanStart = 1e300;
    double spanEnd = -1e300;
    for (unsigned i = 0; i < input->nb_streams; ++i) {
        if (first[i] != AV_NOPTS_VALUE) {
            const double base = av_q2d(input->streams[i]->time_base);
            result.streams[i].duration = static_cast<double>(last[i] - first[i]) * base;
            result.streams[i].firstPts = static_cast<double>(first[i]) * base;
            spanStart = std::min(spanStart, static_cast<double>(first[i]) * base);
            spanEnd = std::max(spanEnd, static_cast<double>(last[i]) * base);
        }
    }
    result.span = spanEnd > spanStart ? spanEnd - spanStart : 0;
    // Decode the video to see the picture types the player will meet.
    for (unsigned i = 0; i < input->nb_streams; ++i) {
        if (result.streams[i].type != AVMEDIA_TYPE_VIDEO) {
            continue;
        }
        Input again = open(path);
        Codec decoder = openDecoder(again->streams[i]);
        if (!decoder) {
            continue;
        }
        decodeAll(again.get(), static_cast<int>(i), decoder.get(), [&](const AVFrame* frame) {
            if (frame->pict_type == AV_PICTURE_TYPE_B) {
                ++result.streams[i].bFrames;
            }
        });
        result.streams[i].referenceFrames = decoder->refs;
    }
    return result;
}

namespace {

double centreMean(const AVFrame* frame) {
    double sum = 0;
    int count = 0;
    for (int y = frame->height * 3 / 8; y < frame->height * 5 / 8; ++y) {
        const std::uint8_t* row = frame->data[0] + y * frame->linesize[0];
        for (int x = frame->width * 3 / 8; x < frame->width * 5 / 8; ++x) {
            sum += row[x];
            ++count;
        }
    }
    const double mean = count ? sum / count : 0;
    // Full-range sources (JPEG pictures) reach the encoders as video range.
    const bool fullRange =
        frame->color_range == AVCOL_RANGE_JPEG || frame->format == AV_PIX_FMT_YUVJ420P ||
        frame->format == AV_PIX_FMT_YUVJ422P || frame->format == AV_PIX_FMT_YUVJ444P;
    return fullRange ? 16 + mean * 219 / 255 : mean;
}

}  // namespace

namespace {

// Calls `use` with the picture a player shows at `seconds` after the
// source's start (the last frame that begins at or before it); false when
// there is none.
template <typename Use>
bool withPictureAt(const std::string& path, double seconds, Use use) {
    Decoding video = openDecoding(path, AVMEDIA_TYPE_VIDEO);
    if (!video) {
        return false;
    }
    const double start = video.start();
    const AVRational base = video.timeBase();
    FramePtr shown = makeFrame();
    bool found = false;
    double previous = -1e9;
    video.decode([&](const AVFrame* frame) {
        // A frame without a time (the last of some MPEG streams) follows the one before.
        const double at =
            frame->best_effort_timestamp == AV_NOPTS_VALUE
                ? previous
                : static_cast<double>(frame->best_effort_timestamp) * av_q2d(base) - start;
        previous = at;
        if (at <= seconds + 1e-3) {
            av_frame_unref(shown.get());
            av_frame_ref(shown.get(), frame);
            found = true;
        }
    });
    if (found) {
        use(shown.get());
    }
    return found;
}

double planeMean(const AVFrame* frame, int plane, int x, int y, int width, int height) {
    const int shift = plane == 0 ? 0 : 1;  // 4:2:0 chroma
    double sum = 0;
    int count = 0;
    for (int row = y >> shift; row < (y + height) >> shift; ++row) {
        const std::uint8_t* line = frame->data[plane] + row * frame->linesize[plane];
        for (int column = x >> shift; column < (x + width) >> shift; ++column) {
            sum += line[column];
            ++count;
        }
    }
    return count ? sum / count : -1;
}

}  // namespace

double centreLumaAt(const std::string& path, double seconds) {
    double luma = -1;
    withPictureAt(path, seconds, [&](const AVFrame* frame) { luma = centreMean(frame); });
    return luma;
}

RegionColour regionAt(const std::string& path, double seconds, int x, int y, int width,
                      int height) {
    RegionColour colour;
    withPictureAt(path, seconds, [&](const AVFrame* frame) {
        if (frame->format != AV_PIX_FMT_YUV420P || x < 0 || y < 0 || x + width > frame->width ||
            y + height > frame->height) {
            return;
        }
        colour = {planeMean(frame, 0, x, y, width, height),
                  planeMean(frame, 1, x, y, width, height),
                  planeMean(frame, 2, x, y, width, height)};
    });
    return colour;
}

double shareAt(const std::string& path, double seconds, int x, int y, int width, int height,
               int plane, int atLeast) {
    double share = -1;
    withPictureAt(path, seconds, [&](const AVFrame* frame) {
        if (frame->format != AV_PIX_FMT_YUV420P || x < 0 || y < 0 || x + width > frame->width ||
            y + height > frame->height) {
            return;
        }
        const int shift = plane == 0 ? 0 : 1;  // 4:2:0 chroma
        int count = 0, above = 0;
        for (int row = y >> shift; row < (y + height) >> shift; ++row) {
            const std::uint8_t* line = frame->data[plane] + row * frame->linesize[plane];
            for (int column = x >> shift; column < (x + width) >> shift; ++column, ++count) {
                above += line[column] >= atLeast;
            }
        }
        share = count ? static_cast<double>(above) / count : -1;
    });
    return share;
}

PictureProbe probeFirstPicture(const std::string& path) {
    PictureProbe result;
    Decoding video = openDecoding(path, AVMEDIA_TYPE_VIDEO);
    if (!video) {
        return result;
    }
    video.decode(
        [&](const AVFrame* frame) {
            result.width = frame->width;
            result.height = frame->height;
            result.rowMeans.assign(frame->height, 0);
            result.columnMeans.assign(frame->width, 0);
            double centre = 0;
            int centreCount = 0;
            for (int y = 0; y < frame->height; ++y) {
                const std::uint8_t* row = frame->data[0] + y * frame->linesize[0];
                for (int x = 0; x < frame->width; ++x) {
                    result.rowMeans[y] += row[x];
                    result.columnMeans[x] += row[x];
                    if (y >= frame->height * 3 / 8 && y < frame->height * 5 / 8 &&
                        x >= frame->width * 3 / 8 && x < frame->width * 5 / 8) {
                        centre += row[x];
                        ++centreCount;
                    }
                }
            }
            for (double& mean : result.rowMeans) {
                mean /= frame->width;
            }
            for (double& mean : result.columnMeans) {
                mean /= frame->height;
            }
            result.centreMean = centreCount ? centre / centreCount : 0;
        },
        true);
    return result;
}

std::vector<double> keyPictureTimes(const std::string& path) {
    std::vector<double> times;
    Decoding video = openDecoding(path, AVMEDIA_TYPE_VIDEO);
    if (!video) {
        return times;
    }
    video.decode([&](const AVFrame* frame) {
        if ((frame->key_frame || frame->pict_type == AV_PICTURE_TYPE_I) &&
            frame->best_effort_timestamp != AV_NOPTS_VALUE) {
            times.push_back(static_cast<double>(frame->best_effort_timestamp) *
                                av_q2d(video.timeBase()) -
                            video.start());
        }
    });
    return times;
}

std::vector<ChannelMeasure> measureAudio(const std::string& path) {
    Decoding audio = openDecoding(path, AVMEDIA_TYPE_AUDIO);
    if (!audio) {
        return {};
    }
    const int channels = audio.decoder->ch_layout.nb_channels;
    std::vector<double> sumSquares(channels, 0);
    std::vector<long long> crossings(channels, 0);
    // A crossing counts when the signal passes from below -kHysteresis to
    // above +kHysteresis or back: the hiss of a codec's quiet edges is no tone.
    constexpr float kHysteresis = 0.01f;
    std::vector<int> side(channels, 0);
    long long samples = 0;
    audio.decode([&](const AVFrame* frame) {
        if (frame->format != AV_SAMPLE_FMT_FLTP) {
            return;
        }
        for (int c = 0; c < channels; ++c) {
            const float* data = reinterpret_cast<const float*>(frame->extended_data[c]);
            for (int s = 0; s < frame->nb_samples; ++s) {
                sumSquares[c] += static_cast<double>(data[s]) * data[s];
                const int now = data[s] > kHysteresis ? 1 : (data[s] < -kHysteresis ? -1 : 0);
                if (now != 0 && now != side[c]) {
                    crossings[c] += side[c] != 0 ? 1 : 0;
                    side[c] = now;
                }
            }
        }
        samples += frame->nb_samples;
    });
    std::vector<ChannelMeasure> result(channels);
    const double seconds = static_cast<double>(samples) / audio.decoder->sample_rate;
    for (int c = 0; c < channels && samples > 0; ++c) {
        result[c].rms = std::sqrt(sumSquares[c] / static_cast<double>(samples));
        result[c].frequency = static_cast<double>(crossings[c]) / 2.0 / seconds;
    }
    return result;
}

std::vector<double> pictureChanges(const std::string& path, int count) {
    std::vector<double> changes;
    Decoding video = openDecoding(path, AVMEDIA_TYPE_VIDEO);
    if (!video) {
        return changes;
    }
    std::vector<std::uint8_t> previous;
    int seen = 0;
    video.decode([&](const AVFrame* frame) {
        if (++seen > count) {
            return;
        }
        std::vector<std::uint8_t> luma;
        for (int y = 0; y < frame->height; ++y) {
            const std::uint8_t* row = frame->data[0] + y * frame->linesize[0];
            luma.insert(luma.end(), row, row + frame->width);
        }
        if (!previous.empty() && previous.size() == luma.size()) {
            double sum = 0;
            for (std::size_t i = 0; i < luma.size(); ++i) {
                sum += std::abs(static_cast<int>(luma[i]) - static_cast<int>(previous[i]));
            }
            changes.push_back(sum / static_cast<double>(luma.size()));
        }
        previous = std::move(luma);
    });
    return changes;
}

double rowToRowDifference(const std::string& path, double seconds) {
    Decoding video = openDecoding(path, AVMEDIA_TYPE_VIDEO);
    if (!video) {
        return -1;
    }
    const AVRational base = video.timeBase();
    const double start = video.start();
    double difference = -1;
    video.decode([&](const AVFrame* frame) {
        const double at = static_cast<double>(frame->best_effort_timestamp) * av_q2d(base) - start;
        if (difference >= 0 || at + 1e-3 < seconds) {
            return;
        }
        double sum = 0;
        for (int y = 0; y + 1 < frame->height; ++y) {
            const std::uint8_t* row = frame->data[0] + y * frame->linesize[0];
            const std::uint8_t* next = row + frame->linesize[0];
            for (int x = 0; x < frame->width; ++x) {
                sum += std::abs(static_cast<int>(row[x]) - static_cast<int>(next[x]));
            }
        }
        difference = sum / (static_cast<double>(frame->width) * (frame->height - 1));
    });
    return difference;
}

}  // namespace zelvic::test
