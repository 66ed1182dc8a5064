#include "dvd/DvdInput.h"

#include <cstdio>

#include "dvd/DvdPacks.h"

extern "C" {
#include <libavformat/avio.h>
}

namespace zelvic {
namespace {

constexpr int kIoBufferSize = 16 * static_cast<int>(kDvdSectorSize);

int readPacket(void* opaque, std::uint8_t* buffer, int size) {
    const int count = static_cast<DvdTitleStream*>(opaque)->read(buffer, size);
    if (count < 0) {
        return AVERROR(EIO);
    }
    return count == 0 ? AVERROR_EOF : count;
}

std::int64_t seekStream(void* opaque, std::int64_t offset, int whence) {
    auto* stream = static_cast<DvdTitleStream*>(opaque);
    if (whence & AVSEEK_SIZE) {
        return stream->size();
    }
    std::int64_t target = -1;
    switch (whence & ~AVSEEK_FORCE) {
        case SEEK_SET:
            target = offset;
            break;
        case SEEK_CUR:
            target = stream->position() + offset;
            break;
        case SEEK_END:
            target = stream->size() + offset;
            break;
        default:
            break;
    }
    return stream->seek(target) ? target : AVERROR(EINVAL);
}

}  // namespace

DvdSource::~DvdSource() {
    if (io) {
        av_freep(&io->buffer);
        avio_context_free(&io);
    }
}

Result<OpenedDvdTitle> openDvdTitle(const Options& options) {
    const std::string device = options.dvdDevice.empty() ? kDefaultDvdDevice : options.dvdDevice;
    auto disc = DvdDisc::open(device);
    if (!disc) {
        return disc.error();
    }
    auto title = (*disc)->title(options.title, options.chapterFirst, options.chapterLast);
    if (!title) {
        return title.error();
    }
    return OpenedDvdTitle{std::move(*disc), std::move(*title)};
}

pelorine::MediaInfo describeDvdTitle(const DvdDisc& disc, const DvdTitle& title) {
    pelorine::MediaInfo info;
    info.clearStreams();
    info.setMediaLength(title.lengthSeconds());
    info.setReservedDouble(1.0);
    info.setVideoSize(title.displayWidth(), title.codedHeight);
    const int titles = std::min(disc.titleCount(), pelorine::MediaInfo::kMaxTitles);
    info.setTitleCount(disc.titleCount());
    for (int i = 0; i < titles; ++i) {
        info.setChapterCount(i, disc.chapterCount(i + 1));
    }
    for (std::size_t i = 0; i < title.audio.size(); ++i) {
        const DvdAudioStream& audio = title.audio[i];
        info.setAudio(static_cast<int>(i), audio.id, audio.language, audio.note);
    }
    for (std::size_t i = 0; i < title.subtitles.size(); ++i) {
        info.setSubtitle(static_cast<int>(i), static_cast<int>(i), title.subtitles[i].language);
    }
    return info;
}

Outcome checkDvdTitleReadable(const DvdDisc& disc, const DvdTitle& title) {
    auto reader = disc.openTitleVobs(title.titleSet);
    if (!reader) {
        return reader.error();
    }
    return DvdTitleStream(std::move(*reader), title.cells).checkReadable();
}

Result<InputContextPtr> openDvdInput(const Options& options) {
    auto opened = openDvdTitle(options);
    if (!opened) {
        return opened.error();
    }
    auto source = std::make_unique<DvdSource>();
    source->disc = std::move(opened->disc);
    source->title = std::move(opened->title);
    auto reader = source->disc->openTitleVobs(source->title.titleSet);
    if (!reader) {
        return reader.error();
    }
    source->stream = std::make_unique<DvdTitleStream>(std::move(*reader), source->title.cells);
    if (auto readable = source->stream->checkReadable(); !readable) {
        return readable.error();
    }
    auto* buffer = static_cast<unsigned char*>(av_malloc(kIoBufferSize));
    source->io = avio_alloc_context(buffer, kIoBufferSize, 0, source->stream.get(), readPacket,
                                    nullptr, seekStream);
    AVFormatContext* raw = avformat_alloc_context();
    if (!buffer || !source->io || !raw) {
        if (!source->io) {
            av_free(buffer);
        }
        avformat_free_context(raw);
        return conversionFailed("out of memory for the DVD reader");
    }
    raw->pb = source->io;
    raw->flags |= AVFMT_FLAG_CUSTOM_IO;
    raw->opaque = source.get();
    // On failure the context is freed; the source still owns its I/O.
    const int result = avformat_open_input(&raw, "", av_find_input_format("mpeg"), nullptr);
    if (result < 0) {
        if (const auto& failure = source->stream->failure()) {
            return *failure;
        }
        return sourceUnreadable("cannot read title " + std::to_string(options.title) +
                                " of the DVD: " + avErrorText(result));
    }
    const DvdTitle& title = source->title;
    std::printf("dvd: \"%s\" title %d of %d, chapters %d-%d of %d, %zu cells, %.3f s\n",
                source->disc->device().c_str(), title.number, source->disc->titleCount(),
                title.chapterFirst, title.chapterLast, title.chapterCount, title.cells.size(),
                title.lengthSeconds());
    source.release();  // the context owns it now
    return InputContextPtr(raw);
}

const DvdSource* dvdSourceOf(const AVFormatContext* input) {
    if (!input || !(input->flags & AVFMT_FLAG_CUSTOM_IO) || !input->opaque) {
        return nullptr;
    }
    return dynamic_cast<const DvdSource*>(static_cast<const InputOwner*>(input->opaque));
}

int dvdAudioIdOf(const AVStream* stream) {
    const int id = stream->id;
    return id >= 0x1C0 && id <= 0x1DF ? id - 0x100 : id;
}

}  // namespace zelvic
