#include "conversion/EncoderCommandLine.h"

#include <initializer_list>
#include <utility>

#include "base/CommandLine.h"
#include "base/Paths.h"
#include "base/Text.h"
#include "conversion/OutputNames.h"
#include "engine/Engine.h"

namespace pelorine {
namespace {

// `pattern` with each "%s" replaced by the next of `values`.
std::string fill(std::string_view pattern, std::initializer_list<std::string> values) {
    std::string out;
    auto value = values.begin();
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == '%' && i + 1 < pattern.size() && pattern[i + 1] == 's' &&
            value != values.end()) {
            out += *value++;
            ++i;
        } else {
            out += pattern[i];
        }
    }
    return out;
}

constexpr std::string_view kMpeg4NoAudio =
    " -ovc lavc -lavcopts "
    "vcodec=mpeg4:vbitrate=%s:mbd=2:cmp=2:subcmp=2:trell=yes:v4mv=yes:aic=2:vglobal=1:aglobal=1 "
    "-ffourcc mp4v -of lavf -lavfopts "
    "format=mp4:i_certify_that_my_video_stream_does_not_use_b_frames";
constexpr std::string_view kH264NoAudio =
    " -oac lavc -ovc lavc -lavcopts "
    "keyint=500:level=13:vqmin=%s:vqmax=%s:vrc_maxrate=%s:vratetol=10:bit_exact:coder=0:aglobal="
    "1:vglobal=1:vcodec=h264:vbitrate=%s:v4mv:qpel:trell=lambda:mbd=1:vme=1 -of lavf -lavfopts "
    "format=mp4:i_certify_that_my_video_stream_does_not_use_b_frames ";
constexpr std::string_view kMpeg4WithAudio =
    " -oac lavc -ovc lavc -lavcopts "
    "acodec=aac:abitrate=%s:vcodec=mpeg4:vbitrate=%s:vglobal=1:aglobal=1 -vf harddup  -of lavf "
    "-lavfopts format=psp:i_certify_that_my_video_stream_does_not_use_b_frames";
constexpr std::string_view kH264WithAudio =
    " -oac lavc -ovc lavc -lavcopts "
    "vqmin=%s:vqmax=%s:vrc_maxrate=%s:vratetol=10:coder=1:aglobal=1:vglobal=1:vcodec=h264:acodec="
    "aac:vbitrate=%s:abitrate=%s:trell=2:mbd=2:cmp=2:subcmp=2 -vf harddup -of lavf -lavfopts "
    "format=psp:i_certify_that_my_video_stream_does_not_use_b_frames ";
constexpr std::string_view kAudioOnlyMp4 =
    " -oac lavc -lavcopts acodec=aac:abitrate=%s -ffourcc mp4v -of lavf -lavfopts "
    "format=mp4:i_certify_that_my_video_stream_does_not_use_b_frames";

std::string encoderPiece(const JobSettings& settings, const VideoSettings& video) {
    const bool h264 = settings.codec == VideoCodec::H264;
    const std::string& bitrate = video.bitrate.text;
    const Quantizers& q = video.quantizers;
    if (!settings.audio) {
        return h264 ? fill(kH264NoAudio, {q.min.text, q.max.text, bitrate, bitrate})
                    : fill(kMpeg4NoAudio, {bitrate});
    }
    const std::string& audioBitrate = settings.audio->bitrate.text;
    return h264 ? fill(kH264WithAudio, {q.min.text, q.max.text, bitrate, bitrate, audioBitrate})
                : fill(kMpeg4WithAudio, {audioBitrate, bitrate});
}

}  // namespace

EncoderCommandLine::EncoderCommandLine(JobSettings settings, EngineInvocation invocation)
    : settings_(std::move(settings)),
      invocation_(std::move(invocation)),
      baseName_(outputBasePath(settings_.output.path)),
      prefix_(quoteArgumentIfNeeded(invocation_.enginePath) +
              sourcePiece(settings_, invocation_.subtitleCodePage) + mediaPiece(settings_)) {}

EncoderCommandLine::EncoderCommandLine(const Job& job, EngineInvocation invocation)
    : EncoderCommandLine(jobSettingsOf(job), std::move(invocation)) {}

std::string EncoderCommandLine::commandLine(const std::string& timing,
                                            const std::string& output) const {
    return commandLine(timing, output, invocation_.channelFolder);
}

std::string EncoderCommandLine::commandLine(const std::string& timing, const std::string& output,
                                            const std::string& channelFolder) const {
    std::string line = prefix_ + timing + launchTail(output, channelFolder);
    if (makesThumbnails(settings_, invocation_)) {
        line += thumbnailPiece(output);
    }
    return line;
}

std::string EncoderCommandLine::firstOutput() const {
    return firstOutputPath(settings_);
}

std::string EncoderCommandLine::partFileName(int part) const {
    return partOutputPath(baseName_, part, settings_.output.extension);
}

// The encoder reads a DVD title when the source path names a disc, whatever
// the record's kind says.
std::string EncoderCommandLine::sourcePiece(const JobSettings& settings,
                                            const std::string& subtitleCodePage) {
    const JobSource& source = settings.source;
    if (!source.disc) {
        return " " + quoteArgument(source.path) + " " +
               fileStreamsPiece(source.file, subtitleCodePage);
    }
    std::string piece =
        fill(" dvd://%s -dvd-device %s -chapter %s-%s ",
             {std::to_string(source.dvd.title), quoteArgument(*source.disc),
              std::to_string(source.dvd.firstChapter), std::to_string(source.dvd.lastChapter)});
    return piece + dvdStreamsPiece(source.dvd);
}

std::string EncoderCommandLine::dvdStreamsPiece(const DvdTitle& dvd) {
    std::string piece;
    if (dvd.audioId) {
        piece += " -aid " + std::to_string(*dvd.audioId) + " ";
    }
    if (dvd.subtitleId) {
        piece += " -sid " + std::to_string(*dvd.subtitleId) + " ";
    }
    return piece;
}

std::string EncoderCommandLine::fileStreamsPiece(const FileStreams& file,
                                                 const std::string& subtitleCodePage) {
    std::string piece;
    if (file.audioId) {
        piece += " -aid " + std::to_string(*file.audioId) + " ";
    }
    if (file.subtitleId) {
        piece += " -sid " + std::to_string(*file.subtitleId) + " ";
    }
    if (file.subtitleFile) {
        piece += " -sub " + quoteArgument(*file.subtitleFile) + " ";
        if (!subtitleCodePage.empty()) {
            piece += " -subcp " + subtitleCodePage + " ";
        }
    }
    return piece;
}

std::string EncoderCommandLine::audioFilters(const SoundFilters& sound,
                                             const AudioSettings& audio) {
    const bool channel = sound.channel != AudioChannel::Default;
    const bool volume = sound.volume.kind != Volume::Kind::Default;
    std::string piece = channel || volume ? " -af " : " ";
    if (channel) {
        piece += channelFilter(sound.channel);
    }
    if (volume) {
        if (channel) {
            piece += ",";
        }
        piece += volumeFilter(sound.volume);
    }
    return piece + " -srate " + audio.sampleRate.text + " ";
}

std::string EncoderCommandLine::mediaPiece(const JobSettings& settings) {
    if (settings.mp3()) {
        if (!settings.audio) {
            return " -nosound ";
        }
        return audioFilters(settings.sound, *settings.audio) +
               "  -ovc frameno -oac mp3lame -lameopts " +
               fill(" cbr:br=%s:mode=0 -of rawaudio ", {settings.audio->bitrate.text});
    }
    const std::string audio =
        settings.audio ? audioFilters(settings.sound, *settings.audio) : " -nosound ";
    return audio + videoPiece(settings);
}

std::string EncoderCommandLine::videoPiece(const JobSettings& settings) {
    if (!settings.video) {
        const std::string audioOnly =
            settings.audio ? fill(kAudioOnlyMp4, {settings.audio->bitrate.text}) : " XXX ";
        return audioOnly + " -ovc frameno -of rawaudio ";
    }
    const VideoSettings& video = *settings.video;
    std::string piece = scalingPiece(video.size.width, video.size.height, settings.source.width,
                                     settings.source.height);
    if (video.frameRate) {
        piece += " -ofps " + video.frameRate->text;
    }
    return piece + encoderPiece(settings, video);
}

std::string EncoderCommandLine::channelFilter(AudioChannel channel) {
    switch (channel) {
        case AudioChannel::LeftStereo:
            return "channels=2:2:0:0:0:1";
        case AudioChannel::RightStereo:
            return "channels=2:2:1:0:1:1";
        case AudioChannel::LeftMono:
            return "channels=1:1:0:0";
        case AudioChannel::RightMono:
            return "channels=1:1:1:0";
        case AudioChannel::MixedMono:
            return "pan=1:0.5:0.5";
        case AudioChannel::Default:
        case AudioChannel::Unnamed:
            break;
    }
    return "";
}

std::string EncoderCommandLine::volumeFilter(const Volume& volume) {
    return volume.kind == Volume::Kind::Normalize ? "volnorm"
                                                  : "volume=" + volume.decibels.text + "db:sc";
}

std::string EncoderCommandLine::scalingPiece(int width, int height, int sourceWidth,
                                             int sourceHeight) {
    const std::string w = std::to_string(width);
    const std::string h = std::to_string(height);
    const bool fitWidth =
        height <= 0 || sourceHeight == 0 ||
        static_cast<double>(width) / height <= static_cast<double>(sourceWidth) / sourceHeight;
    return fitWidth ? fill(" -vf scale=%s:-2,harddup,expand=%s:%s:-1:-1:1 ", {w, w, h})
                    : fill(" -vf scale=-2:%s,harddup,expand=%s:%s:-1:-1:1 ", {h, w, h});
}

std::string EncoderCommandLine::launchTail(const std::string& output,
                                           const std::string& channelFolder) {
    return " -o " + quoteArgument(output) + channelFolderPiece(channelFolder);
}

std::string thumbnailPath(const std::string& output) {
    return withoutExtension(output) + ".THM";
}

std::string EncoderCommandLine::thumbnailPiece(const std::string& output) {
    return "-thumbnail " + quoteArgument(thumbnailPath(output)) + " ";
}

bool EncoderCommandLine::makesThumbnails(const JobSettings& settings,
                                         const EngineInvocation& invocation) {
    return invocation.thumbnails && settings.output.format == OutputFormat::Mp4 &&
           settings.video.has_value();
}

std::string EncoderCommandLine::timing(double start, double length) {
    return " -ss " + text::fixed6(start) + " -endpos " + text::fixed6(length) + " ";
}

std::string EncoderCommandLine::timing(double start, const std::string& splitText) {
    return " -ss " + text::fixed6(start) + " -endpos " + splitText + " ";
}

std::string EncoderCommandLine::firstPartTiming(const std::string& splitText) {
    return " -ss 0 -endpos " + splitText + " ";
}

}  // namespace pelorine
