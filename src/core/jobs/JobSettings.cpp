#include "jobs/JobSettings.h"

#include <charconv>
#include <utility>

#include "base/Text.h"
#include "jobs/DvdSource.h"
#include "tracks/TrackChoice.h"

namespace pelorine {
namespace {

Typed<int> wholeNumber(const std::string& text) {
    return {text::leadingInt(text), text};
}

// The number at the start of `text` as C's strtod reads it in the C locale
// (a sign, then decimal or "0x" hexadecimal digits), but never by the
// locale's own decimal point; nothing without one.
std::optional<double> leadingDecimal(std::string_view text, std::string_view* rest = nullptr) {
    const bool negative = text.starts_with('-');
    std::string_view digits = text.substr(negative || text.starts_with('+') ? 1 : 0);
    if (digits.starts_with('+') || digits.starts_with('-')) {
        return std::nullopt;
    }
    const char* end = digits.data() + digits.size();
    const bool hex = digits.starts_with("0x") || digits.starts_with("0X");
    double value = 0;
    std::from_chars_result read{digits.data(), std::errc::invalid_argument};
    if (hex) {
        read = std::from_chars(digits.data() + 2, end, value, std::chars_format::hex);
    }
    if (read.ec != std::errc()) {
        read = std::from_chars(digits.data(), end, value);
    }
    if (read.ec != std::errc()) {
        return std::nullopt;
    }
    if (rest) {
        *rest = digits.substr(static_cast<std::size_t>(read.ptr - digits.data()));
    }
    return negative ? -value : value;
}

JobSource sourceOf(const Job& job) {
    JobSource source;
    source.kind = job.isDvd == 0   ? SourceKind::File
                  : job.isDvd == 1 ? SourceKind::DvdTitle
                  : job.isDvd == 2 ? SourceKind::VideoCd
                                   : SourceKind::Unknown;
    source.path = job.sourcePath;
    source.disc = dvdDriveOf(job.sourcePath);
    source.dvd.title = job.dvdTitle;
    source.dvd.firstChapter = job.dvdChapterFirst;
    source.dvd.lastChapter = job.dvdChapterLast;
    if (job.dvdAudioId >= 0) {
        source.dvd.audioId = job.dvdAudioId;
    }
    if (job.dvdSubtitleId >= 0) {
        source.dvd.subtitleId = job.dvdSubtitleId;
    }
    const TrackChoice tracks = trackChoiceOf(job);
    source.file.audioId = tracks.sound;
    if (tracks.subtitles.kind == SubtitleChoice::Kind::Track) {
        source.file.subtitleId = tracks.subtitles.track;
    } else if (tracks.subtitles.kind == SubtitleChoice::Kind::File) {
        source.file.subtitleFile = tracks.subtitles.file;
    }
    source.width = job.sourceWidth;
    source.height = job.sourceHeight;
    source.length = Seconds(job.duration);
    return source;
}

PictureSize pictureSizeOf(const std::string& videoSize) {
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

std::optional<VideoSettings> videoOf(const Job& job) {
    if (job.videoDisabled != "no") {
        return std::nullopt;
    }
    VideoSettings video;
    video.size = pictureSizeOf(job.videoSize);
    if (job.videoFrameRate != "default") {
        video.frameRate =
            Typed<double>{leadingDecimal(job.videoFrameRate).value_or(0.0), job.videoFrameRate};
    }
    video.bitrate = wholeNumber(job.videoBitrate);
    video.quantizers = {wholeNumber(job.quantizerMin), wholeNumber(job.quantizerMax)};
    return video;
}

std::optional<AudioSettings> audioOf(const Job& job) {
    if (job.audioDisabled != "no") {
        return std::nullopt;
    }
    return AudioSettings{wholeNumber(job.audioSampleRate), wholeNumber(job.audioBitrate)};
}

AudioChannel channelOf(const std::string& name) {
    static constexpr std::pair<const char*, AudioChannel> kNames[] = {
        {"default", AudioChannel::Default},          {"left stereo", AudioChannel::LeftStereo},
        {"right stereo", AudioChannel::RightStereo}, {"left mono", AudioChannel::LeftMono},
        {"right mono", AudioChannel::RightMono},     {"mixed mono", AudioChannel::MixedMono},
    };
    const std::string lowered = text::lower(name);
    for (const auto& [text, channel] : kNames) {
        if (lowered == text) {
            return channel;
        }
    }
    return AudioChannel::Unnamed;
}

Volume volumeOf(const std::string& text) {
    Volume volume;
    if (text == "normalize") {
        volume.kind = Volume::Kind::Normalize;
    } else if (text != "default") {
        volume.kind = Volume::Kind::Decibels;
        volume.decibels = wholeNumber(text);
    }
    return volume;
}

std::string engineSplitText(const std::string& split) {
    std::string out;
    for (const char c : text::lower(split)) {
        if (c != ' ') {
            out += c;
        }
    }
    return out;
}

// A whole number with an optional sign at the start of `text`, as C's
// scanf reads "%d"; moves `text` past it.
std::optional<int> signedField(std::string_view& text) {
    const std::size_t sign = text.starts_with('+') || text.starts_with('-') ? 1 : 0;
    const std::size_t end = text.find_first_not_of("0123456789", sign);
    const std::size_t length = end == std::string_view::npos ? text.size() : end;
    if (length == sign) {
        return std::nullopt;
    }
    const int value = text::leadingInt(text.substr(0, length));
    text.remove_prefix(length);
    return value;
}

// "hh:mm:ss", each part a whole number that may carry a sign (the batch has
// always read it so), and nothing after it; a length of none or less is no time.
std::optional<Seconds> splitTime(std::string_view text) {
    double seconds = 0;
    for (int part = 0; part < 3; ++part) {
        if (part > 0 && !text.starts_with(':')) {
            return std::nullopt;
        }
        text.remove_prefix(part > 0 ? 1 : 0);
        const auto value = signedField(text);
        if (!value) {
            return std::nullopt;
        }
        seconds = seconds * 60 + *value;
    }
    if (!text.empty() || !(seconds > 0)) {
        return std::nullopt;
    }
    return Seconds(seconds);
}

// "650mb" as bytes, with the engine's units (kb, mb, gb of 1024, b).
std::optional<double> splitBytes(std::string_view text) {
    std::string_view unit;
    const auto number = leadingDecimal(text, &unit);
    static constexpr std::pair<std::string_view, double> kUnits[] = {
        {"kb", 1024.0}, {"mb", 1024.0 * 1024.0}, {"gb", 1024.0 * 1024.0 * 1024.0}, {"b", 1.0}};
    for (const auto& [name, scale] : kUnits) {
        if (number && *number > 0.0 && unit == name) {
            return *number * scale;
        }
    }
    return std::nullopt;
}

Split splitOf(const std::string& text) {
    Split split;
    split.engineText = engineSplitText(text);
    if (split.engineText == "notsplit") {
        split.kind = Split::Kind::None;
    } else if (const auto time = splitTime(split.engineText)) {
        split.kind = Split::Kind::ByTime;
        split.time = *time;
    } else if (const auto bytes = splitBytes(split.engineText)) {
        split.kind = Split::Kind::BySize;
        split.bytes = *bytes;
    } else {
        split.kind = Split::Kind::Unreadable;
    }
    return split;
}

OutputSettings outputOf(const Job& job) {
    const std::string format = text::lower(job.outputFormat);
    return OutputSettings{format == "mp3"   ? OutputFormat::Mp3
                          : format == "mp4" ? OutputFormat::Mp4
                                            : OutputFormat::Other,
                          job.outputFormat, job.outputPath};
}

// The settings the engine receives as typed, in the order they are checked.
Status checkTokens(const Job& job) {
    const std::pair<const char*, const std::string*> settings[] = {
        {"Video bitrate", &job.videoBitrate},   {"Video frame rate", &job.videoFrameRate},
        {"Audio volume", &job.audioVolume},     {"Audio bitrate", &job.audioBitrate},
        {"Audio sample", &job.audioSampleRate}, {"quantizer min", &job.quantizerMin},
        {"quantizer max", &job.quantizerMax},   {"Split", &job.split},
    };
    for (const auto& [name, value] : settings) {
        const std::string token = value == &job.split ? engineSplitText(*value) : *value;
        for (const char c : token) {
            if (static_cast<unsigned char>(c) <= ' ' || c == '"' || c == '\\') {
                return Status::error(std::string("The setting \"") + name + "\" holds \"" + *value +
                                     "\", which cannot be passed to the engine.");
            }
        }
    }
    return Status::ok();
}

}  // namespace

std::optional<ClipRange> clipOf(const Job& job) {
    if (job.clipEnabled == 0) {
        return std::nullopt;
    }
    return ClipRange{Seconds(job.clipStart), Seconds(job.clipEnd)};
}

Status readJobSettings(const Job& job, JobSettings& settings) {
    settings.source = sourceOf(job);
    settings.codec = job.videoCodec == "h264" ? VideoCodec::H264 : VideoCodec::Mpeg4;
    settings.video = videoOf(job);
    settings.audio = audioOf(job);
    settings.sound = SoundFilters{channelOf(job.audioChannel), volumeOf(job.audioVolume)};
    settings.clip = clipOf(job);
    settings.split = splitOf(job.split);
    settings.output = outputOf(job);
    return checkTokens(job);
}

JobSettings jobSettingsOf(const Job& job) {
    JobSettings settings;
    readJobSettings(job, settings);
    return settings;
}

}  // namespace pelorine
