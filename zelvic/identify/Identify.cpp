#include "identify/Identify.h"

#include <cmath>
#include <cstdio>

#include "common/Languages.h"
#include "dvd/DvdInput.h"
#include "front/Input.h"
#include "front/TimeMap.h"

extern "C" {
#include <libavutil/channel_layout.h>
}

namespace zelvic {
namespace {

std::string streamLanguage(const AVDictionary* metadata) {
    const AVDictionaryEntry* entry = av_dict_get(metadata, "language", nullptr, 0);
    return languageName(entry ? std::string_view(entry->value) : std::string_view());
}

// A track's own name ("Commentary", "Signs and songs") after its format:
// two tracks of one language are told apart by it.
std::string withTitle(std::string note, const AVDictionary* metadata) {
    const AVDictionaryEntry* title = av_dict_get(metadata, "title", nullptr, 0);
    if (title != nullptr && title->value[0] != '\0') {
        note += ", ";
        note += title->value;
    }
    return note;
}

std::string audioNote(const AVStream* stream) {
    const AVCodecParameters* parameters = stream->codecpar;
    return withTitle(std::string(avcodec_get_name(parameters->codec_id)) + " " +
                         std::to_string(parameters->ch_layout.nb_channels) + "ch",
                     stream->metadata);
}

// "English (ass, Signs)": the language, then the format and the title, as
// the converter reads them apart.
std::string subtitleName(const AVStream* stream) {
    return streamLanguage(stream->metadata) + " (" +
           withTitle(avcodec_get_name(stream->codecpar->codec_id), stream->metadata) + ")";
}

// The picture as it is shown: anamorphic sources report their display width,
// so that the converter's choice between fitting the width and fitting the
// height matches what the viewer sees.
std::pair<int, int> displaySize(const AVStream* stream) {
    const AVCodecParameters* parameters = stream->codecpar;
    int width = parameters->width;
    const int height = parameters->height;
    AVRational aspect = stream->sample_aspect_ratio.num ? stream->sample_aspect_ratio
                                                        : parameters->sample_aspect_ratio;
    if (aspect.num > 0 && aspect.den > 0 && av_cmp_q(aspect, AVRational{1, 1}) != 0) {
        width = static_cast<int>(std::lround(width * av_q2d(aspect) / 2.0)) * 2;
    }
    // A phone video turned by its display matrix is seen turned.
    if (displayTurn(stream).sideways()) {
        return {height, width};
    }
    return {width, height};
}

void logStreams(const pelorine::MediaInfo& info) {
    for (int i = 0; i < info.audioCount(); ++i) {
        std::printf("identify: audio %d: %s (%s)\n", info.audioId(i), info.audioName(i).c_str(),
                    info.audioNote(i).c_str());
    }
    for (int i = 0; i < info.subtitleCount(); ++i) {
        std::printf("identify: subtitle %d: %s\n", info.subtitleId(i),
                    info.subtitleName(i).c_str());
    }
}

ExitStatus writeRecord(const pelorine::MediaInfo& info, Channel& channel) {
    logStreams(info);
    if (auto written = channel.writeInfo(info); !written) {
        std::printf("identify: %s\n", written.error().message.c_str());
        return written.error().code;
    }
    return ExitStatus::Done;
}

// A DVD title is described from the disc's information files alone.
ExitStatus identifyDvd(const Options& options, Channel& channel) {
    auto opened = openDvdTitle(options);
    if (!opened) {
        channel.removeInfo();
        std::printf("identify: %s\n", opened.error().message.c_str());
        return opened.error().code;
    }
    const DvdTitle& title = opened->title;
    // A disc whose pictures cannot be read is no source, however well its
    // information files read.
    if (auto readable = checkDvdTitleReadable(*opened->disc, title); !readable) {
        channel.removeInfo();
        std::printf("identify: %s\n", readable.error().message.c_str());
        return readable.error().code;
    }
    const pelorine::MediaInfo info = describeDvdTitle(*opened->disc, title);
    std::printf(
        "identify: DVD \"%s\" title %d of %d, chapters %d-%d of %d: %.3f s, picture %dx%d, "
        "%d audio, %d subtitle streams\n",
        opened->disc->device().c_str(), title.number, info.titleCount(), title.chapterFirst,
        title.chapterLast, title.chapterCount, info.mediaLength(), info.videoWidth(),
        info.videoHeight(), info.audioCount(), info.subtitleCount());
    return writeRecord(info, channel);
}

}  // namespace

pelorine::MediaInfo describeInput(const AVFormatContext* input) {
    pelorine::MediaInfo info;
    info.clearStreams();
    info.setMediaLength(inputLengthSeconds(input));
    info.setReservedDouble(1.0);
    info.setTitleCount(0);
    bool videoSeen = false;
    // A default sound track other than the first is named so in its note,
    // as the converter must know which one plays without -aid.
    const int firstAudio = nthStreamOf(input, AVMEDIA_TYPE_AUDIO, 0);
    const int defaultAudio = defaultAudioStreamOf(input);
    int audioCount = 0;
    int subtitleCount = 0;
    for (unsigned i = 0; i < input->nb_streams; ++i) {
        const AVStream* stream = input->streams[i];
        const AVCodecParameters* parameters = stream->codecpar;
        switch (parameters->codec_type) {
            case AVMEDIA_TYPE_VIDEO:
                if (!videoSeen && !(stream->disposition & AV_DISPOSITION_ATTACHED_PIC) &&
                    parameters->width > 0) {
                    const auto [width, height] = displaySize(stream);
                    info.setVideoSize(width, height);
                    videoSeen = true;
                }
                break;
            case AVMEDIA_TYPE_AUDIO:
                if (audioCount < pelorine::MediaInfo::kMaxStreams) {
                    const bool markedDefault =
                        static_cast<int>(i) == defaultAudio && defaultAudio != firstAudio;
                    info.setAudio(
                        audioCount, audioCount, streamLanguage(stream->metadata),
                        audioNote(stream) +
                            std::string(markedDefault ? pelorine::kDefaultTrackNote : ""));
                    ++audioCount;
                }
                break;
            case AVMEDIA_TYPE_SUBTITLE:
                if (subtitleCount < pelorine::MediaInfo::kMaxStreams) {
                    info.setSubtitle(subtitleCount, subtitleCount, subtitleName(stream));
                    ++subtitleCount;
                }
                break;
            default:
                break;
        }
    }
    return info;
}

ExitStatus runIdentify(const Options& options, Channel& channel) {
    if (options.sourceKind == SourceKind::DvdTitle) {
        return identifyDvd(options, channel);
    }
    InputOpenSettings settings;
    settings.maxAnalyzeDuration = AV_TIME_BASE;
    settings.headersSuffice = true;
    auto input = openInput(options, settings);
    if (!input) {
        channel.removeInfo();
        std::printf("identify: %s\n", input.error().message.c_str());
        return input.error().code;
    }
    pelorine::MediaInfo info = describeInput(input->get());
    // Joined recordings restart their timestamps: the length is the sum of
    // the pieces, not the distance from the first timestamp to the last.
    if (const auto map = TimeMap::scan(input->get()); map && map->hasJumps()) {
        info.setMediaLength(map->lengthSeconds());
    }
    std::printf("identify: \"%s\" (%s): %.3f s, picture %dx%d, %d audio, %d subtitle streams\n",
                options.source.c_str(), (*input)->iformat->name, info.mediaLength(),
                info.videoWidth(), info.videoHeight(), info.audioCount(), info.subtitleCount());
    return writeRecord(info, channel);
}

}  // namespace zelvic
