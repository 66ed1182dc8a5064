#include "conversion/EncoderCommandLine.h"

#include <initializer_list>

#include "base/CommandLine.h"
#include "base/Paths.h"
#include "base/Text.h"
#include "conversion/OutputNames.h"
#include "engine/Engine.h"
#include "jobs/DvdSource.h"

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

bool isDvdSource(const Job& job) {
    return dvdDriveOf(job.sourcePath).has_value();
}

std::string encoderPiece(const Job& job) {
    const bool h264 = job.videoCodec == "h264";
    if (job.audioDisabled != "no") {
        return h264 ? fill(kH264NoAudio,
                           {job.quantizerMin, job.quantizerMax, job.videoBitrate, job.videoBitrate})
                    : fill(kMpeg4NoAudio, {job.videoBitrate});
    }
    return h264 ? fill(kH264WithAudio, {job.quantizerMin, job.quantizerMax, job.videoBitrate,
                                        job.videoBitrate, job.audioBitrate})
                : fill(kMpeg4WithAudio, {job.audioBitrate, job.videoBitrate});
}

std::string splitTextOf(const std::string& split) {
    std::string out;
    for (const char c : text::lower(split)) {
        if (c != ' ') {
            out += c;
        }
    }
    return out;
}

}  // namespace

PictureSize targetPictureSize(const std::string& videoSize) {
    const std::string size = text::trim(text::lower(videoSize));
    auto separator = size.find('x');
    if (separator == std::string::npos) {
        separator = size.find(':');
    }
    if (separator == std::string::npos) {
        return PictureSize{};
    }
    // Each number from its leading digits only: a sign or a blank ends it.
    return PictureSize{text::leadingDigits(std::string_view(size).substr(0, separator)),
                       text::leadingDigits(std::string_view(size).substr(separator + 1))};
}

EncoderCommandLine::EncoderCommandLine(const Job& job, EngineInvocation invocation)
    : job_(job),
      invocation_(std::move(invocation)),
      mp3_(pelorine::mp3Output(job)),
      notSplit_(text::lower(job.split) == "not split"),
      splitText_(splitTextOf(job.split)),
      baseName_(outputBasePath(job.outputPath)),
      prefix_(quoteArgumentIfNeeded(invocation_.enginePath) + sourcePiece(job) + mediaPiece(job)) {}

std::string EncoderCommandLine::commandLine(const std::string& timing,
                                            const std::string& output) const {
    return commandLine(timing, output, invocation_.channelFolder);
}

std::string EncoderCommandLine::commandLine(const std::string& timing, const std::string& output,
                                            const std::string& channelFolder) const {
    std::string line = prefix_ + timing + launchTail(output, channelFolder);
    if (makesThumbnails(job_, invocation_)) {
        line += thumbnailPiece(output);
    }
    return line;
}

std::string EncoderCommandLine::firstOutput() const {
    return firstOutputPath(job_);
}

std::string EncoderCommandLine::wholeFileName() const {
    return wholeOutputPath(baseName_, job_.outputFormat);
}

std::string EncoderCommandLine::partFileName(int part) const {
    return partOutputPath(baseName_, part, job_.outputFormat);
}

std::string EncoderCommandLine::sourcePiece(const Job& job) {
    if (!isDvdSource(job)) {
        return " " + quoteArgument(job.sourcePath) + " ";
    }
    const std::string device = dvdDevice(job);
    std::string piece =
        fill(" dvd://%s -dvd-device %s -chapter %s-%s ",
             {std::to_string(job.dvdTitle), device, std::to_string(job.dvdChapterFirst),
              std::to_string(job.dvdChapterLast)});
    if (job.dvdAudioId >= 0) {
        piece += " -aid " + std::to_string(job.dvdAudioId) + " ";
    }
    if (job.dvdSubtitleId >= 0) {
        piece += " -sid " + std::to_string(job.dvdSubtitleId) + " ";
    }
    return piece;
}

std::string EncoderCommandLine::audioFilters(const Job& job) {
    const bool channel = job.audioChannel != "default";
    const bool volume = job.audioVolume != "default";
    std::string piece = channel || volume ? " -af " : " ";
    if (channel) {
        piece += channelFilter(job.audioChannel);
    }
    if (volume) {
        if (channel) {
            piece += ",";
        }
        piece += volumeFilter(job.audioVolume);
    }
    return piece + " -srate " + job.audioSampleRate + " ";
}

std::string EncoderCommandLine::mediaPiece(const Job& job) {
    if (text::lower(job.outputFormat) == "mp3") {
        if (job.audioDisabled != "no") {
            return " -nosound ";
        }
        return audioFilters(job) + "  -ovc frameno -oac mp3lame -lameopts " +
               fill(" cbr:br=%s:mode=0 -of rawaudio ", {job.audioBitrate});
    }
    const std::string audio = job.audioDisabled != "no" ? " -nosound " : audioFilters(job);
    return audio + videoPiece(job);
}

std::string EncoderCommandLine::videoPiece(const Job& job) {
    if (job.videoDisabled != "no") {
        const std::string audioOnly =
            job.audioDisabled != "no" ? " XXX " : fill(kAudioOnlyMp4, {job.audioBitrate});
        return audioOnly + " -ovc frameno -of rawaudio ";
    }
    const PictureSize target = targetPictureSize(job.videoSize);
    std::string piece =
        scalingPiece(target.width, target.height, job.sourceWidth, job.sourceHeight);
    if (job.videoFrameRate != "default") {
        piece += " -ofps " + job.videoFrameRate;
    }
    return piece + encoderPiece(job);
}

std::string EncoderCommandLine::channelFilter(const std::string& audioChannel) {
    const std::string name = text::lower(audioChannel);
    if (name == "left stereo") {
        return "channels=2:2:0:0:0:1";
    }
    if (name == "right stereo") {
        return "channels=2:2:1:0:1:1";
    }
    if (name == "left mono") {
        return "channels=1:1:0:0";
    }
    if (name == "right mono") {
        return "channels=1:1:1:0";
    }
    return name == "mixed mono" ? "pan=1:0.5:0.5" : "";
}

std::string EncoderCommandLine::volumeFilter(const std::string& audioVolume) {
    return audioVolume == "normalize" ? "volnorm" : "volume=" + audioVolume + "db:sc";
}

std::string EncoderCommandLine::dvdDevice(const Job& job) {
    return quoteArgument(dvdDriveOf(job.sourcePath).value_or(job.sourcePath));
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

bool EncoderCommandLine::makesThumbnails(const Job& job, const EngineInvocation& invocation) {
    return invocation.thumbnails && text::lower(job.outputFormat) == "mp4" &&
           job.videoDisabled == "no";
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

Status checkCommandLineSettings(const Job& job) {
    const std::pair<const char*, const std::string*> settings[] = {
        {"Video bitrate", &job.videoBitrate},   {"Video frame rate", &job.videoFrameRate},
        {"Audio volume", &job.audioVolume},     {"Audio bitrate", &job.audioBitrate},
        {"Audio sample", &job.audioSampleRate}, {"quantizer min", &job.quantizerMin},
        {"quantizer max", &job.quantizerMax},   {"Split", &job.split},
    };
    for (const auto& [name, value] : settings) {
        const std::string token = value == &job.split ? splitTextOf(*value) : *value;
        for (const char c : token) {
            if (static_cast<unsigned char>(c) <= ' ' || c == '"' || c == '\\') {
                return Status::error(std::string("The setting \"") + name + "\" holds \"" + *value +
                                     "\", which cannot be passed to the engine.");
            }
        }
    }
    return Status::ok();
}

}  // namespace pelorine
