#include "subtitles/TextEvents.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "subtitles/SubtitleText.h"

extern "C" {
#include <libavformat/avio.h>
}

namespace zelvic {
namespace {

// Larger than any subtitle file; a file past it is no subtitle file.
constexpr std::int64_t kLargestFile = 64 << 20;
// An event whose end neither its packet nor its decoder tells lasts until
// the next one, and at most this long.
constexpr std::int64_t kLongestUntoldMs = 10000;
constexpr int kIoBufferSize = 1 << 16;

// The converted text of a subtitle file, read by the demuxer from memory.
struct MemoryText : InputOwner {
    std::string text;
    std::size_t position = 0;
    AVIOContext* io = nullptr;
    ~MemoryText() override {
        if (io) {
            av_freep(&io->buffer);
            avio_context_free(&io);
        }
    }
};

int readMemory(void* opaque, std::uint8_t* buffer, int size) {
    auto* memory = static_cast<MemoryText*>(opaque);
    const std::size_t count =
        std::min(static_cast<std::size_t>(size), memory->text.size() - memory->position);
    if (count == 0) {
        return AVERROR_EOF;
    }
    std::memcpy(buffer, memory->text.data() + memory->position, count);
    memory->position += count;
    return static_cast<int>(count);
}

std::int64_t seekMemory(void* opaque, std::int64_t offset, int whence) {
    auto* memory = static_cast<MemoryText*>(opaque);
    const auto size = static_cast<std::int64_t>(memory->text.size());
    if (whence & AVSEEK_SIZE) {
        return size;
    }
    const std::int64_t base = (whence & ~AVSEEK_FORCE) == SEEK_CUR   ? memory->position
                              : (whence & ~AVSEEK_FORCE) == SEEK_END ? size
                                                                     : 0;
    const std::int64_t target = base + offset;
    if (target < 0 || target > size) {
        return AVERROR(EINVAL);
    }
    memory->position = static_cast<std::size_t>(target);
    return target;
}

Result<std::string> readWholeFile(const std::string& path) {
    AVIOContext* raw = nullptr;
    // Named as a file outright: a name such as "Part 2: the end.srt" is no protocol.
    const std::string url = "file:" + path;
    if (const int result = avio_open2(&raw, url.c_str(), AVIO_FLAG_READ, nullptr, nullptr);
        result < 0) {
        return conversionFailed(avErrorText(result));
    }
    Owned<AVIOContext, avio_closep> io(raw);
    const std::int64_t size = avio_size(io.get());
    if (size > kLargestFile) {
        return conversionFailed("it is too large for a subtitle file");
    }
    std::string bytes(static_cast<std::size_t>(std::max<std::int64_t>(size, 0)), '\0');
    const int read = bytes.empty()
                         ? 0
                         : avio_read(io.get(), reinterpret_cast<unsigned char*>(bytes.data()),
                                     static_cast<int>(bytes.size()));
    if (read < 0 || static_cast<std::size_t>(read) != bytes.size()) {
        return conversionFailed("it cannot be read whole");
    }
    return bytes;
}

// The demuxer for the text, told by its content and the file's name.
Result<InputContextPtr> openText(std::string text, const std::string& path) {
    auto memory = std::make_unique<MemoryText>();
    memory->text = std::move(text);
    auto* buffer = static_cast<unsigned char*>(av_malloc(kIoBufferSize));
    memory->io =
        avio_alloc_context(buffer, kIoBufferSize, 0, memory.get(), readMemory, nullptr, seekMemory);
    AVFormatContext* raw = avformat_alloc_context();
    if (!buffer || !memory->io || !raw) {
        if (!memory->io) {
            av_free(buffer);
        }
        avformat_free_context(raw);
        return conversionFailed("out of memory for the subtitle file");
    }
    const AVInputFormat* format = nullptr;
    if (av_probe_input_buffer2(memory->io, &format, path.c_str(), nullptr, 0, 0) < 0 || !format) {
        avformat_free_context(raw);
        return conversionFailed("it is not in a subtitle format");
    }
    raw->pb = memory->io;
    raw->flags |= AVFMT_FLAG_CUSTOM_IO;
    raw->opaque = memory.get();
    if (const int result = avformat_open_input(&raw, path.c_str(), format, nullptr); result < 0) {
        return conversionFailed("it cannot be parsed as " + std::string(format->name) + ": " +
                                avErrorText(result));
    }
    memory.release();  // the context owns it now
    return InputContextPtr(raw);
}

Result<CodecContextPtr> openTextDecoder(const AVStream* stream) {
    const AVCodec* codec = avcodec_find_decoder(stream->codecpar->codec_id);
    if (!codec) {
        return conversionFailed(std::string("no decoder for ") +
                                avcodec_get_name(stream->codecpar->codec_id) + " subtitles");
    }
    CodecContextPtr decoder(avcodec_alloc_context3(codec));
    if (!decoder) {
        return conversionFailed("out of memory for a subtitle decoder");
    }
    int result = avcodec_parameters_to_context(decoder.get(), stream->codecpar);
    decoder->pkt_timebase = stream->time_base;
    if (result >= 0) {
        result = avcodec_open2(decoder.get(), codec, nullptr);
    }
    if (result < 0) {
        return conversionFailed(std::string("cannot open the ") + codec->name +
                                " subtitle decoder: " + avErrorText(result));
    }
    return decoder;
}

// The decoded lines of one packet.
void addEvents(const AVSubtitle& subtitle, const AVPacket* packet, AVRational base,
               TextEvents& into) {
    std::int64_t start = subtitle.pts != AV_NOPTS_VALUE
                             ? subtitle.pts / 1000
                             : av_rescale_q(packet->pts, base, AVRational{1, 1000});
    start += subtitle.start_display_time;
    std::int64_t duration = -1;  // told by the next event
    if (packet->duration > 0) {
        duration = av_rescale_q(packet->duration, base, AVRational{1, 1000});
    } else if (subtitle.end_display_time > subtitle.start_display_time &&
               subtitle.end_display_time != std::numeric_limits<std::uint32_t>::max()) {
        duration = subtitle.end_display_time - subtitle.start_display_time;
    }
    for (unsigned i = 0; i < subtitle.num_rects; ++i) {
        const AVSubtitleRect* rect = subtitle.rects[i];
        if (rect->type == SUBTITLE_ASS && rect->ass && *rect->ass) {
            into.events.push_back({start, duration, rect->ass});
        }
    }
}

// Every packet of stream `stream` decoded into `into`. The number of packets
// the decoder refused.
Result<int> decodeStream(const AVStream* stream, const std::vector<PacketPtr>& packets,
                         TextEvents& into) {
    auto decoder = openTextDecoder(stream);
    if (!decoder) {
        return decoder.error();
    }
    if ((*decoder)->subtitle_header) {
        into.header.assign(reinterpret_cast<const char*>((*decoder)->subtitle_header),
                           static_cast<std::size_t>((*decoder)->subtitle_header_size));
    }
    int refused = 0;
    for (const PacketPtr& packet : packets) {
        AVSubtitle subtitle{};
        int got = 0;
        if (avcodec_decode_subtitle2(decoder->get(), &subtitle, &got, packet.get()) < 0) {
            ++refused;
        } else if (got) {
            addEvents(subtitle, packet.get(), stream->time_base, into);
            avsubtitle_free(&subtitle);
        }
    }
    std::stable_sort(into.events.begin(), into.events.end(),
                     [](const TextEvent& a, const TextEvent& b) { return a.startMs < b.startMs; });
    for (std::size_t i = 0; i < into.events.size(); ++i) {
        TextEvent& event = into.events[i];
        if (event.durationMs < 0) {
            const std::int64_t next =
                i + 1 < into.events.size() ? into.events[i + 1].startMs - event.startMs : 0;
            event.durationMs = next > 0 ? std::min(next, kLongestUntoldMs) : kLongestUntoldMs;
        }
    }
    return refused;
}

}  // namespace

void TextEvents::shift(std::int64_t ms) {
    for (TextEvent& event : events) {
        event.startMs += ms;
    }
}

bool isTextSubtitle(const AVStream* stream) {
    const AVCodecDescriptor* kind = avcodec_descriptor_get(stream->codecpar->codec_id);
    return stream->codecpar->codec_type == AVMEDIA_TYPE_SUBTITLE && kind &&
           (kind->props & AV_CODEC_PROP_TEXT_SUB);
}

Result<TextEvents> readSubtitleFile(const std::string& path, const std::string& codePage) {
    const auto failed = [&](const std::string& reason) {
        return conversionFailed("the subtitle file \"" + path + "\" cannot be used: " + reason);
    };
    auto bytes = readWholeFile(path);
    if (!bytes) {
        return failed(bytes.error().message);
    }
    auto text = subtitleTextAsUtf8(*bytes, codePage);
    if (!text) {
        return failed(text.error().message);
    }
    auto input = openText(std::move(text->utf8), path);
    if (!input) {
        return failed(input.error().message);
    }
    if ((*input)->nb_streams != 1 || !isTextSubtitle((*input)->streams[0])) {
        return failed(std::string("it is read as ") + (*input)->iformat->name +
                      ", which holds no text subtitles");
    }
    auto packets = readSubtitlePackets(input->get(), 0, std::nullopt);
    if (!packets) {
        return failed(packets.error().message);
    }
    TextEvents events;
    events.encoding = text->encoding;
    events.format = (*input)->iformat->name;
    auto refused = decodeStream((*input)->streams[0], *packets, events);
    if (!refused) {
        return failed(refused.error().message);
    }
    if (events.events.empty()) {
        return failed(*refused > 0 ? "none of its subtitles can be decoded"
                                   : "it holds no subtitles " +
                                         std::string((*input)->iformat->name) + " can read");
    }
    return events;
}

Result<std::vector<PacketPtr>> readSubtitlePackets(AVFormatContext* input, int streamIndex,
                                                   std::optional<double> untilSeconds,
                                                   const PacketPlacing& placing) {
    for (unsigned i = 0; i < input->nb_streams; ++i) {
        const int index = static_cast<int>(i);
        input->streams[i]->discard = index == streamIndex || index == placing.referenceStream
                                         ? AVDISCARD_DEFAULT
                                         : AVDISCARD_ALL;
    }
    const AVRational base = input->streams[streamIndex]->time_base;
    std::vector<PacketPtr> packets;
    while (true) {
        PacketPtr packet = makePacket();
        if (!packet) {
            return conversionFailed("out of memory for the subtitles");
        }
        if (av_read_frame(input, packet.get()) < 0) {
            break;
        }
        if (placing.place) {
            placing.place(packet.get());
        }
        if (packet->stream_index != streamIndex || packet->pts == AV_NOPTS_VALUE) {
            continue;
        }
        if (untilSeconds && static_cast<double>(packet->pts) * av_q2d(base) > *untilSeconds) {
            break;
        }
        packets.push_back(std::move(packet));
    }
    return packets;
}

Result<TextEvents> readSubtitleStream(AVFormatContext* input, int streamIndex,
                                      std::optional<double> untilSeconds,
                                      const PacketPlacing& placing) {
    auto packets = readSubtitlePackets(input, streamIndex, untilSeconds, placing);
    if (!packets) {
        return packets.error();
    }
    TextEvents events;
    events.format = input->iformat->name;
    if (auto decoded = decodeStream(input->streams[streamIndex], *packets, events); !decoded) {
        return decoded.error();
    }
    return events;
}

}  // namespace zelvic
