#pragma once
// Ownership of FFmpeg objects: each one in a unique_ptr whose deleter is the
// library's own free function, so no failure path needs a cleanup block.

#include <memory>

#include "common/Owned.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/dict.h>
#include <libavutil/frame.h>
}

namespace zelvic {

// What an input read through our own I/O needs kept alive (a DVD title's
// reader and its I/O context). Such an input owns it through `opaque`.
struct InputOwner {
    virtual ~InputOwner() = default;
};

struct InputContextDeleter {
    void operator()(AVFormatContext* context) const {
        InputOwner* owner = (context->flags & AVFMT_FLAG_CUSTOM_IO)
                                ? static_cast<InputOwner*>(context->opaque)
                                : nullptr;
        avformat_close_input(&context);
        delete owner;
    }
};
using InputContextPtr = std::unique_ptr<AVFormatContext, InputContextDeleter>;

// An output context owns its I/O context once avio_open succeeded.
struct OutputContextDeleter {
    void operator()(AVFormatContext* context) const {
        if (context->oformat && !(context->oformat->flags & AVFMT_NOFILE)) {
            avio_closep(&context->pb);
        }
        avformat_free_context(context);
    }
};
using OutputContextPtr = std::unique_ptr<AVFormatContext, OutputContextDeleter>;

using CodecContextPtr = Owned<AVCodecContext, avcodec_free_context>;
using FramePtr = Owned<AVFrame, av_frame_free>;
using PacketPtr = Owned<AVPacket, av_packet_free>;

// A dictionary of options handed to an open call; whatever the call did not
// consume is freed with it.
class Dictionary {
public:
    void set(const char* key, const char* value) { av_dict_set(&dictionary_, key, value, 0); }
    AVDictionary** get() { return &dictionary_; }
    ~Dictionary() { av_dict_free(&dictionary_); }
    Dictionary() = default;
    Dictionary(const Dictionary&) = delete;
    Dictionary& operator=(const Dictionary&) = delete;

private:
    AVDictionary* dictionary_ = nullptr;
};

inline FramePtr makeFrame() {
    return FramePtr(av_frame_alloc());
}
inline PacketPtr makePacket() {
    return PacketPtr(av_packet_alloc());
}

}  // namespace zelvic
