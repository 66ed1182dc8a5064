#include "front/Input.h"

#include <algorithm>
#include <cmath>

extern "C" {
#include <libavutil/display.h>
}

#include "dvd/DvdInput.h"

namespace zelvic {
namespace {

Result<InputContextPtr> openFile(const Options& options) {
    AVFormatContext* raw = nullptr;
    int result = avformat_open_input(&raw, options.source.c_str(), nullptr, nullptr);
    if (result < 0) {
        return sourceUnreadable("cannot open \"" + options.source + "\": " + avErrorText(result));
    }
    InputContextPtr input(raw);
    // libavformat renders any .txt file as ANSI art; for a converter a text
    // file is not a video.
    if (std::string_view(input->iformat->name) == "tty") {
        return sourceUnreadable("\"" + options.source + "\" is text, not media");
    }
    return input;
}

bool headersTellEverything(const AVFormatContext* input) {
    if (inputLengthSeconds(input) <= 0) {
        return false;
    }
    for (unsigned i = 0; i < input->nb_streams; ++i) {
        const AVCodecParameters* parameters = input->streams[i]->codecpar;
        if (parameters->codec_id == AV_CODEC_ID_NONE) {
            return false;
        }
        if (parameters->codec_type == AVMEDIA_TYPE_VIDEO &&
            (parameters->width <= 0 || parameters->height <= 0)) {
            return false;
        }
        if (parameters->codec_type == AVMEDIA_TYPE_AUDIO &&
            (parameters->ch_layout.nb_channels <= 0 || parameters->sample_rate <= 0)) {
            return false;
        }
    }
    return input->nb_streams > 0;
}

}  // namespace

std::string sourceName(const Options& options) {
    if (options.sourceKind == SourceKind::DvdTitle) {
        const std::string device =
            options.dvdDevice.empty() ? std::string(kDefaultDvdDevice) : options.dvdDevice;
        return "title " + std::to_string(options.title) + " of the DVD \"" + device + "\"";
    }
    return "\"" + options.source + "\"";
}

Result<InputContextPtr> openInput(const Options& options, const InputOpenSettings& settings) {
    if (options.sourceKind == SourceKind::VcdTrack) {
        return sourceUnreadable("reading a video CD is not available yet");
    }
    auto opened =
        options.sourceKind == SourceKind::DvdTitle ? openDvdInput(options) : openFile(options);
    if (!opened) {
        return opened.error();
    }
    InputContextPtr input = std::move(*opened);
    int result = 0;
    if (settings.maxAnalyzeDuration > 0) {
        input->max_analyze_duration = settings.maxAnalyzeDuration;
    }
    // Containers without a header (MPEG program streams) give nothing until
    // packets are read; most others say it all up front.
    if (!settings.headersSuffice || !headersTellEverything(input.get())) {
        result = avformat_find_stream_info(input.get(), nullptr);
    }
    if (result < 0) {
        return sourceUnreadable("cannot read the streams of " + sourceName(options) + ": " +
                                avErrorText(result));
    }
    std::vector<AttachedFile> attachments = takeAttachments(input.get());
    if (settings.attachments) {
        *settings.attachments = std::move(attachments);
    }
    const bool hasMedia =
        std::any_of(input->streams, input->streams + input->nb_streams, [](const AVStream* stream) {
            const auto type = stream->codecpar->codec_type;
            return type == AVMEDIA_TYPE_VIDEO || type == AVMEDIA_TYPE_AUDIO;
        });
    if (!hasMedia) {
        return sourceUnreadable(sourceName(options) + " holds no video or audio");
    }
    return input;
}

double inputStartSeconds(const AVFormatContext* input) {
    if (input->start_time == AV_NOPTS_VALUE) {
        return 0;
    }
    return static_cast<double>(input->start_time) / AV_TIME_BASE;
}

double inputLengthSeconds(const AVFormatContext* input) {
    // A DVD's information files know the chosen chapters' playing time.
    if (const DvdSource* dvd = dvdSourceOf(input)) {
        return dvd->title.lengthSeconds();
    }
    if (input->duration != AV_NOPTS_VALUE && input->duration > 0) {
        return static_cast<double>(input->duration) / AV_TIME_BASE;
    }
    double longest = 0;
    for (unsigned i = 0; i < input->nb_streams; ++i) {
        const AVStream* stream = input->streams[i];
        if (stream->duration != AV_NOPTS_VALUE && stream->duration > 0) {
            longest = std::max(longest,
                               static_cast<double>(stream->duration) * av_q2d(stream->time_base));
        }
    }
    return longest;
}

DisplayTurn displayTurn(const AVStream* stream) {
    DisplayTurn turn;
    const auto* matrix = reinterpret_cast<const std::int32_t*>(
        av_stream_get_side_data(stream, AV_PKT_DATA_DISPLAYMATRIX, nullptr));
    if (!matrix) {
        return turn;
    }
    // A negative determinant: the matrix mirrors; the rotation is read from
    // the matrix with the mirror undone.
    std::int32_t unmirrored[9];
    std::copy(matrix, matrix + 9, unmirrored);
    turn.mirrored =
        static_cast<double>(matrix[0]) * matrix[4] - static_cast<double>(matrix[1]) * matrix[3] < 0;
    if (turn.mirrored) {
        av_display_matrix_flip(unmirrored, 1, 0);
    }
    const double counterclockwise = av_display_rotation_get(unmirrored);
    if (std::isnan(counterclockwise)) {
        return turn;
    }
    const long quarter = std::lround(-counterclockwise / 90.0);
    turn.clockwise = static_cast<int>(((quarter % 4) + 4) % 4) * 90;
    return turn;
}

int nthStreamOf(const AVFormatContext* input, AVMediaType type, int nth) {
    int seen = 0;
    for (unsigned i = 0; i < input->nb_streams; ++i) {
        if (input->streams[i]->codecpar->codec_type == type && seen++ == nth) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

int streamCountOf(const AVFormatContext* input, AVMediaType type) {
    return static_cast<int>(std::count_if(
        input->streams, input->streams + input->nb_streams,
        [type](const AVStream* stream) { return stream->codecpar->codec_type == type; }));
}

int defaultAudioStreamOf(const AVFormatContext* input) {
    for (unsigned i = 0; i < input->nb_streams; ++i) {
        const AVStream* stream = input->streams[i];
        if (stream->codecpar->codec_type == AVMEDIA_TYPE_AUDIO &&
            (stream->disposition & AV_DISPOSITION_DEFAULT) != 0) {
            return static_cast<int>(i);
        }
    }
    return nthStreamOf(input, AVMEDIA_TYPE_AUDIO, 0);
}

int findAudioStream(const AVFormatContext* input, int audioId) {
    const DvdSource* dvd = dvdSourceOf(input);
    if (!dvd) {
        return audioId < 0 ? defaultAudioStreamOf(input)
                           : nthStreamOf(input, AVMEDIA_TYPE_AUDIO, audioId);
    }
    if (audioId < 0 && !dvd->title.audio.empty()) {
        audioId = dvd->title.audio.front().id;
    }
    for (unsigned i = 0; i < input->nb_streams; ++i) {
        const AVStream* stream = input->streams[i];
        if (stream->codecpar->codec_type == AVMEDIA_TYPE_AUDIO && dvdAudioIdOf(stream) == audioId) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

bool isChosenSubtitle(const AVFormatContext* input, const AVStream* stream, int subtitleId) {
    if (subtitleId < 0 || stream->codecpar->codec_type != AVMEDIA_TYPE_SUBTITLE) {
        return false;
    }
    const DvdSource* dvd = dvdSourceOf(input);
    if (!dvd) {
        return nthStreamOf(input, AVMEDIA_TYPE_SUBTITLE, subtitleId) == stream->index;
    }
    const auto& subtitles = dvd->title.subtitles;
    return static_cast<std::size_t>(subtitleId) < subtitles.size() &&
           stream->id == subtitles[static_cast<std::size_t>(subtitleId)].streamId;
}

std::optional<Error> readFailure(const AVFormatContext* input) {
    const DvdSource* dvd = dvdSourceOf(input);
    return dvd ? dvd->stream->failure() : std::nullopt;
}

}  // namespace zelvic
