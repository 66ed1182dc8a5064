#include "encode/Thumbnail.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <span>

extern "C" {
#include <libavutil/imgutils.h>
#include <libavutil/pixdesc.h>
#include <libswscale/swscale.h>
}

#include "platform/FileSystem.h"
#include "platform/LargeFiles.h"
#include "records/OutputFiles.h"

namespace zelvic {
namespace {

// Before the target, a picture is looked at twice a second at most.
constexpr double kLookInterval = 0.5;

int evenFloor(double value) {
    return std::max(2, static_cast<int>(std::floor(value / 2.0)) * 2);
}

FramePtr blackPicture() {
    FramePtr picture = makeFrame();
    picture->format = AV_PIX_FMT_YUVJ420P;
    picture->width = kThumbnailWidth;
    picture->height = kThumbnailHeight;
    if (av_frame_get_buffer(picture.get(), 0) < 0) {
        return nullptr;
    }
    for (int plane = 0; plane < 3; ++plane) {
        const int rows = plane == 0 ? kThumbnailHeight : kThumbnailHeight / 2;
        const int value = plane == 0 ? 0 : 128;  // full range black
        for (int row = 0; row < rows; ++row) {
            std::memset(picture->data[plane] + row * picture->linesize[plane], value,
                        static_cast<std::size_t>(picture->linesize[plane]));
        }
    }
    return picture;
}

// The 160 x 120 picture as a baseline JPEG with a JFIF header.
Result<std::string> encodeJpeg(const AVFrame* picture) {
    const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_MJPEG);
    if (!codec) {
        return conversionFailed("no JPEG encoder for the thumbnail");
    }
    CodecContextPtr encoder(avcodec_alloc_context3(codec));
    if (!encoder) {
        return conversionFailed("out of memory for the thumbnail");
    }
    encoder->width = picture->width;
    encoder->height = picture->height;
    encoder->pix_fmt = AV_PIX_FMT_YUVJ420P;
    encoder->color_range = AVCOL_RANGE_JPEG;
    encoder->time_base = AVRational{1, 25};
    encoder->sample_aspect_ratio = AVRational{1, 1};  // writes the JFIF header
    encoder->flags |= AV_CODEC_FLAG_QSCALE;
    encoder->global_quality = FF_QP2LAMBDA * 3;
    if (const int opened = avcodec_open2(encoder.get(), codec, nullptr); opened < 0) {
        return conversionFailed("cannot open the JPEG encoder: " + avErrorText(opened));
    }
    FramePtr frame(av_frame_clone(picture));
    if (!frame) {
        return conversionFailed("out of memory for the thumbnail");
    }
    frame->pts = 0;
    frame->quality = encoder->global_quality;
    PacketPtr packet = makePacket();
    int result = avcodec_send_frame(encoder.get(), frame.get());
    if (result >= 0) {
        result = avcodec_send_frame(encoder.get(), nullptr);
    }
    if (result >= 0) {
        result = avcodec_receive_packet(encoder.get(), packet.get());
    }
    if (result < 0) {
        return conversionFailed("cannot encode the thumbnail: " + avErrorText(result));
    }
    return std::string(reinterpret_cast<const char*>(packet->data),
                       static_cast<std::size_t>(packet->size));
}

}  // namespace

PictureRect letterbox(int width, int height, AVRational sampleAspect) {
    if (width <= 0 || height <= 0) {
        return {0, 0, kThumbnailWidth, kThumbnailHeight};
    }
    const double pixel = sampleAspect.num > 0 && sampleAspect.den > 0 ? av_q2d(sampleAspect) : 1.0;
    const double aspect = width * pixel / height;
    const double frame = static_cast<double>(kThumbnailWidth) / kThumbnailHeight;
    PictureRect rect;
    if (aspect >= frame) {
        rect.width = kThumbnailWidth;
        rect.height = std::min(kThumbnailHeight, evenFloor(kThumbnailWidth / aspect + 1.0));
    } else {
        rect.height = kThumbnailHeight;
        rect.width = std::min(kThumbnailWidth, evenFloor(kThumbnailHeight * aspect + 1.0));
    }
    rect.x = (kThumbnailWidth - rect.width) / 4 * 2;
    rect.y = (kThumbnailHeight - rect.height) / 4 * 2;
    return rect;
}

double averageLuma(const AVFrame* frame) {
    const AVPixFmtDescriptor* format =
        av_pix_fmt_desc_get(static_cast<AVPixelFormat>(frame->format));
    if (!format || (format->flags & AV_PIX_FMT_FLAG_RGB) || frame->width <= 0 ||
        frame->height <= 0) {
        return 255.0;  // not a luma plane: never taken for black
    }
    // Every fourth pixel of every fourth row: plenty for a mean.
    double sum = 0;
    std::int64_t count = 0;
    const bool wide = format->comp[0].depth > 8;
    for (int row = 0; row < frame->height; row += 4) {
        const std::uint8_t* line =
            frame->data[0] + static_cast<std::ptrdiff_t>(row) * frame->linesize[0];
        for (int column = 0; column < frame->width; column += 4) {
            sum +=
                wide ? (line[2 * column] | line[2 * column + 1] << 8) >> (format->comp[0].depth - 8)
                     : line[column];
            ++count;
        }
    }
    return count > 0 ? sum / count : 0.0;
}

void ThumbnailPicker::offer(const AVFrame* frame, double seconds) {
    if (settled_) {
        return;
    }
    const bool atTarget = seconds >= target_;
    if (!atTarget && seconds - lastLook_ < kLookInterval && picture_) {
        return;
    }
    lastLook_ = seconds;
    const double luma = averageLuma(frame);
    const bool bright = luma > kNearlyBlackLuma;
    if ((atTarget && bright) || !picture_ || luma > pictureLuma_) {
        if (keep(frame, luma)) {
            settled_ = atTarget && bright;
        }
    }
}

Outcome ThumbnailPicker::keep(const AVFrame* frame, double luma) {
    FramePtr picture = blackPicture();
    if (!picture) {
        return conversionFailed("out of memory for the thumbnail");
    }
    const PictureRect rect = letterbox(frame->width, frame->height, frame->sample_aspect_ratio);
    Owned<SwsContext, sws_freeContext> scaler(sws_getContext(
        frame->width, frame->height, static_cast<AVPixelFormat>(frame->format), rect.width,
        rect.height, AV_PIX_FMT_YUVJ420P, SWS_BICUBIC, nullptr, nullptr, nullptr));
    if (!scaler) {
        return conversionFailed("cannot scale the picture for the thumbnail");
    }
    std::uint8_t* planes[4] = {};
    for (int plane = 0; plane < 3; ++plane) {
        const int shift = plane == 0 ? 0 : 1;
        planes[plane] =
            picture->data[plane] + (rect.y >> shift) * picture->linesize[plane] + (rect.x >> shift);
    }
    sws_scale(scaler.get(), frame->data, frame->linesize, 0, frame->height, planes,
              picture->linesize);
    picture_ = std::move(picture);
    pictureLuma_ = luma;
    return success();
}

Outcome ThumbnailPicker::write(const std::string& path, Disk disk) const {
    if (!picture_) {
        return conversionFailed("no picture for the thumbnail");
    }
    auto jpeg = encodeJpeg(picture_.get());
    if (!jpeg) {
        return jpeg.error();
    }
    // Written under a partial name, like the output, with the output's
    // permissions, and named for good once on the disk; the rename replaces
    // an earlier thumbnail.
    const std::string partial = pelorine::partialOutputPath(path);
    auto& files = disk.files;
    (void)files.removeFile(partial, 1);
    auto created = disk.largeFiles.createNew(partial);
    pelorine::Status written = created.status;
    if (created.file) {
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(jpeg->data());
        written = created.file->writeAt(0, std::span<const std::uint8_t>(bytes, jpeg->size()));
        if (const pelorine::Status closed = created.file->close(); written && !closed) {
            written = closed;
        }
        if (written) {
            written = files.renameDurably(partial, path);
        }
        if (!written) {
            (void)files.removeFile(partial, 3);
        }
    }
    if (!written) {
        return conversionFailed(written.message());
    }
    return success();
}

}  // namespace zelvic
