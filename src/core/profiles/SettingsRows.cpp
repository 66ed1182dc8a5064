#include "profiles/SettingsRows.h"

#include <cstring>
#include <stdexcept>

#include "base/Paths.h"
#include "base/Text.h"
#include "base/TimeText.h"

namespace pelorine {
namespace {

constexpr const char* kQuantizerOptions =
    "1|2|3|4|5|6|7|8|9|10|11|12|13|14|15|16|17|18|19|20|21|22|23|24|25|26|27|28|29|30|31|";
constexpr const char* kMpeg4Bitrates = "512|1200|1500|2500|";
constexpr const char* kH264Bitrates = "100|200|400|500|600|768|";

PropertyItem combo(Row role, const char* options, const char* value, int fixedList = 1) {
    return PropertyItem{captionOf(role), value, EditorKind::Combo, options, fixedList};
}

PropertyItem edit(Row role, const char* value) {
    return PropertyItem{captionOf(role), value, EditorKind::Edit, "", 0};
}

const std::vector<Row> kHead = {Row::ClipVideo, Row::StartTime, Row::EndTime, Row::OutputFormat,
                                Row::Split};
const std::vector<Row> kAudioTail = {Row::AudioCodec,   Row::AudioSample, Row::AudioBitrate,
                                     Row::AudioChannel, Row::AudioVolume, Row::AudioDisabled};

std::vector<Row> videoOrder(bool quantizers) {
    std::vector<Row> order = kHead;
    order.push_back(Row::VideoCodec);
    if (quantizers) {
        order.push_back(Row::QuantizerMin);
        order.push_back(Row::QuantizerMax);
    }
    for (const Row role :
         {Row::VideoSize, Row::VideoFrameRate, Row::VideoBitrate, Row::VideoDisabled}) {
        order.push_back(role);
    }
    order.insert(order.end(), kAudioTail.begin(), kAudioTail.end());
    return order;
}

std::vector<Row> audioOrder() {
    std::vector<Row> order = kHead;
    order.insert(order.end(), kAudioTail.begin(), kAudioTail.end());
    return order;
}

// Which shape a profile takes: video rows, audio rows, or none at all.
enum class Shape { Video, Audio, None };

Shape shapeOf(int profile, const CustomProfile& custom) {
    if (profile == kProfileMp3 || (profile == kProfileCustom && custom.format == "mp3")) {
        return Shape::Audio;
    }
    if (profile == kProfileCustom) {
        return custom.format == "mp4" ? Shape::Video : Shape::None;
    }
    return Shape::Video;
}

void copy(SettingsRows& rows, const SettingsRows& from, std::initializer_list<Row> roles) {
    for (const Row role : roles) {
        rows.set(role, from.value(role));
    }
}

void audioDefaults(SettingsRows& rows) {
    rows.set(Row::AudioSample, "44100");
    rows.set(Row::AudioBitrate, "128");
    rows.set(Row::AudioChannel, "default");
    rows.set(Row::AudioVolume, "default");
    rows.set(Row::AudioDisabled, "no");
}

// The rows of a built-in video profile (0, 1 or 2).
void fillBuiltInVideo(int profile, SettingsRows& rows, const Job* job) {
    const bool h264 = profile == kProfileH264;
    rows.set(Row::VideoCodec, h264 ? "h264|" : "MPEG4|", h264 ? "h264" : "MPEG4");
    if (h264 && job) {
        rows.set(Row::QuantizerMin, job->quantizerMin);
        rows.set(Row::QuantizerMax, job->quantizerMax);
    }
    rows.set(Row::VideoSize, profile == kProfileMpeg4Wide ? "480x272" : "320x240");
    rows.set(Row::VideoFrameRate, "default");
    rows.set(Row::VideoBitrate, h264 ? kH264Bitrates : kMpeg4Bitrates, h264 ? "768" : "1200");
    rows.set(Row::VideoDisabled, "no");
    audioDefaults(rows);
}

void fillCustomVideo(SettingsRows& rows, const SettingsRows& stored) {
    const PropertyItem& codec = stored.at(Row::VideoCodec);
    rows.set(Row::VideoCodec, codec.options, codec.value);
    copy(rows, stored,
         {Row::QuantizerMin, Row::QuantizerMax, Row::VideoSize, Row::VideoFrameRate,
          Row::VideoDisabled});
    rows.set(Row::VideoBitrate, codec.value == "h264" ? kH264Bitrates : kMpeg4Bitrates,
             stored.value(Row::VideoBitrate));
}

// Which field of a Job each row of a group is written to.
struct RowField {
    Row role;
    std::string Job::*field;
};
using RowFields = std::vector<RowField>;

const RowFields kVideoFields = {{Row::VideoCodec, &Job::videoCodec},
                                {Row::VideoSize, &Job::videoSize},
                                {Row::VideoFrameRate, &Job::videoFrameRate},
                                {Row::VideoBitrate, &Job::videoBitrate},
                                {Row::VideoDisabled, &Job::videoDisabled}};
const RowFields kAudioFields = {
    {Row::AudioCodec, &Job::audioCodec},     {Row::AudioSample, &Job::audioSampleRate},
    {Row::AudioBitrate, &Job::audioBitrate}, {Row::AudioChannel, &Job::audioChannel},
    {Row::AudioVolume, &Job::audioVolume},   {Row::AudioDisabled, &Job::audioDisabled}};
const RowFields kQuantizerFields = {{Row::QuantizerMin, &Job::quantizerMin},
                                    {Row::QuantizerMax, &Job::quantizerMax}};

void copyRows(const SettingsRows& rows, const RowFields& fields, Job& job) {
    for (const RowField& row : fields) {
        job.*row.field = rows.value(row.role);
    }
}

void copyVideoAudioAndQuantizerRows(const SettingsRows& rows, Job& job) {
    copyRows(rows, kVideoFields, job);
    copyRows(rows, kAudioFields, job);
    copyRows(rows, kQuantizerFields, job);
}

// The name with its first three characters replaced by `prefix`.
std::string withPrefix(const std::string& prefix, const std::string& name) {
    return prefix + name.substr(std::min<std::size_t>(3, name.size()));
}

}  // namespace

SettingsRows::SettingsRows()
    : items_{{
          combo(Row::ClipVideo, "no|yes|", "no"),
          edit(Row::StartTime, kZeroTime),
          edit(Row::EndTime, kZeroTime),
          combo(Row::OutputFormat, "mp4|", "mp4"),
          combo(Row::Split, "Not split|00:10:00|00:20:00|650 MB|700 MB|800 MB|4.7 GB|", "Not split",
                0),
          combo(Row::VideoCodec, "MPEG4|", "MPEG4"),
          combo(Row::VideoSize, "160x112|320x240|368x208|480x272|", "320x240", 0),
          combo(Row::VideoFrameRate, "default|13|14.985|15|18|20|23|23.976|24|25|29.97|30|",
                "default"),
          combo(Row::VideoBitrate, kMpeg4Bitrates, "1200", 0),
          combo(Row::VideoDisabled, "no|yes|", "no"),
          combo(Row::AudioCodec, "AAC|", "AAC"),
          combo(Row::AudioSample, "8000|11025|12000|16000|22050|24000|32000|44100|48000|", "44100"),
          combo(Row::AudioBitrate, "8|16|24|32|40|48|56|64|80|96|112|128|160|192|224|256|320|",
                "128"),
          combo(Row::AudioChannel,
                "default|left stereo|right stereo|left mono|right mono|mixed mono|", "default"),
          combo(Row::AudioVolume, "default|-20|-15|-10|-5|normalize|+5|+10|+15|+20|", "default", 0),
          combo(Row::AudioDisabled, "no|yes|", "no"),
          combo(Row::QuantizerMin, kQuantizerOptions, "20"),
          combo(Row::QuantizerMax, kQuantizerOptions, "31"),
      }} {}

const char* captionOf(Row row) {
    static constexpr std::array<const char*, SettingsRows::kCount> kCaptions = {
        "Clip video",     "Start time",    "End time",         "Output format", "Split",
        "Video codec",    "Video size",    "Video frame rate", "Video bitrate", "Video disabled",
        "Audio codec",    "Audio sample",  "Audio bitrate",    "Audio channel", "Audio volume",
        "Audio disabled", "quantizer min", "quantizer max"};
    return kCaptions[static_cast<std::size_t>(row)];
}

void SettingsRows::set(Row role, std::string options, std::string value) {
    PropertyItem& item = at(role);
    item.options = std::move(options);
    item.value = std::move(value);
}

std::vector<PropertyItem*> SettingsRows::pick(const std::vector<Row>& roles) {
    std::vector<PropertyItem*> picked;
    for (const Row role : roles) {
        picked.push_back(&at(role));
    }
    return picked;
}

std::optional<std::vector<PropertyItem*>> showProfile(int profile, SettingsRows& rows,
                                                      const Job* job, const CustomProfile& custom) {
    const Shape shape = shapeOf(profile, custom);
    if (shape == Shape::None) {
        return std::nullopt;
    }
    rows.set(Row::ClipVideo, "no");
    rows.set(Row::StartTime, kZeroTime);
    rows.set(Row::EndTime, job ? timeText(job->duration) : kZeroTime);
    rows.set(Row::Split, "Not split");
    const bool audio = shape == Shape::Audio;
    rows.set(Row::OutputFormat, audio ? "mp3|" : "mp4|", audio ? "mp3" : "mp4");
    rows.set(Row::AudioCodec, audio ? "mp3|" : "AAC|", audio ? "mp3" : "AAC");
    if (profile == kProfileCustom) {
        copy(rows, custom.rows,
             {Row::AudioSample, Row::AudioBitrate, Row::AudioChannel, Row::AudioVolume,
              Row::AudioDisabled});
        if (!audio) {
            fillCustomVideo(rows, custom.rows);
        }
    } else if (audio) {
        audioDefaults(rows);
    } else {
        fillBuiltInVideo(profile, rows, job);
    }
    if (audio) {
        return rows.pick(audioOrder());
    }
    const bool quantizers =
        profile == kProfileH264 ||
        (profile == kProfileCustom && custom.rows.value(Row::VideoCodec) == "h264");
    return rows.pick(videoOrder(quantizers));
}

std::string renameForProfile(const std::string& outputPath, int profile,
                             const CustomProfile& custom) {
    const std::string folder = folderWithSeparatorOf(outputPath);
    const std::string name = fileNameOf(outputPath);
    const Shape shape = shapeOf(profile, custom);
    if (shape == Shape::Audio) {
        return withoutExtension(outputPath) + ".mp3";
    }
    if (profile == kProfileCustom) {
        const bool h264 = custom.rows.value(Row::VideoCodec) == "h264";
        return folder + text::upper(withPrefix(h264 ? "MAQ" : "M4V", name));
    }
    std::string renamed = withPrefix(profile == kProfileH264 ? "MAQ" : "M4V", name);
    renamed.resize(renamed.size() >= 4 ? renamed.size() - 4 : 0);  // the old extension
    return folder + text::upper(renamed + ".MP4");
}

void applyProfileToJob(Job& job, int profile, const SettingsRows& rows,
                       const CustomProfile& custom) {
    const Shape shape = shapeOf(profile, custom);
    job.clipEnabled = text::lower(rows.value(Row::ClipVideo)) != "no" ? 1 : 0;
    job.clipStart = 0.0;
    job.clipEnd = job.duration;
    job.startText = kZeroTime;
    job.endText = timeText(job.duration);
    job.outputFormat = shape == Shape::Audio ? "mp3" : "mp4";
    job.outputPath = renameForProfile(job.outputPath, profile, custom);
    job.split = rows.value(Row::Split);
    if (shape == Shape::Video) {
        copyRows(rows, kVideoFields, job);
    }
    copyRows(rows, kAudioFields, job);
    if (profile == kProfileCustom && shape == Shape::Video) {
        copyRows(rows, kQuantizerFields, job);
    }
}

std::optional<std::vector<PropertyItem*>> showJob(const Job& job, SettingsRows& rows,
                                                  const CustomProfile& custom) {
    // A customised Job shows the rows of its own format: the store may hold
    // another profile by now, or none at all (a project opened before any
    // profile was loaded), and rows left from another Job would be copied
    // into this one at its next edit.
    Shape shape = shapeOf(job.profileIndex, custom);
    if (job.profileIndex == kProfileCustom) {
        shape = job.outputFormat == "mp3"   ? Shape::Audio
                : job.outputFormat == "mp4" ? Shape::Video
                                            : Shape::None;
    }
    if (shape == Shape::None) {
        return std::nullopt;
    }
    rows.set(Row::ClipVideo, job.clipEnabled != 0 ? "yes" : "no");
    rows.set(Row::StartTime, job.startText);
    rows.set(Row::EndTime, job.endText);
    rows.set(Row::Split, job.split);
    rows.set(Row::AudioSample, job.audioSampleRate);
    rows.set(Row::AudioBitrate, job.audioBitrate);
    rows.set(Row::AudioChannel, job.audioChannel);
    rows.set(Row::AudioVolume, job.audioVolume);
    rows.set(Row::AudioDisabled, job.audioDisabled);
    if (shape == Shape::Audio) {
        rows.set(Row::OutputFormat, "mp3|", "mp3");
        rows.set(Row::AudioCodec, "mp3|", "mp3");
        return rows.pick(audioOrder());
    }
    rows.set(Row::OutputFormat, "mp4|", "mp4");
    rows.set(Row::AudioCodec, "AAC|", "AAC");
    const bool h264 = job.profileIndex == kProfileH264 ||
                      (job.profileIndex == kProfileCustom && job.videoCodec == "h264");
    if (job.profileIndex == kProfileCustom) {
        rows.set(Row::VideoCodec, job.videoCodec + "|", job.videoCodec);
    } else {
        rows.set(Row::VideoCodec, h264 ? "h264|" : "MPEG4|", h264 ? "h264" : "MPEG4");
    }
    if (h264) {
        rows.set(Row::QuantizerMin, job.quantizerMin);
        rows.set(Row::QuantizerMax, job.quantizerMax);
    }
    rows.set(Row::VideoSize, job.videoSize);
    rows.set(Row::VideoFrameRate, job.videoFrameRate);
    rows.set(Row::VideoBitrate, h264 ? kH264Bitrates : kMpeg4Bitrates, job.videoBitrate);
    rows.set(Row::VideoDisabled, job.videoDisabled);
    return rows.pick(videoOrder(h264));
}

std::optional<std::vector<PropertyItem*>> showLoadedProfile(SettingsRows& rows) {
    const std::string& format = rows.value(Row::OutputFormat);
    if (format == "mp3") {
        return rows.pick(audioOrder());
    }
    if (format != "mp4") {
        return std::nullopt;
    }
    const bool h264 = rows.value(Row::VideoCodec) == "h264";
    rows.at(Row::VideoBitrate).options = h264 ? kH264Bitrates : kMpeg4Bitrates;
    return rows.pick(videoOrder(h264));
}

void applyLoadedProfileToJob(const SettingsRows& rows, Job& job) {
    job.outputFormat = rows.value(Row::OutputFormat);
    // Only the extension changes, and only within the file's own name.
    job.outputPath = withoutExtension(job.outputPath) + "." + job.outputFormat;
    copyVideoAudioAndQuantizerRows(rows, job);
    job.profileIndex = kProfileCustom;
}

void copyRowsToJob(const SettingsRows& rows, Job& job) {
    job.clipEnabled = text::lower(rows.value(Row::ClipVideo)) == "no" ? 0 : 1;
    job.outputFormat = rows.value(Row::OutputFormat);
    job.split = rows.value(Row::Split);
    copyVideoAudioAndQuantizerRows(rows, job);
}

Profile profileFor(int profile, const SettingsRows& rows) {
    if (profile != kProfileCustom) {
        return builtInProfile(profile);
    }
    Profile custom;
    custom.index = kProfileCustom;
    custom.clipVideo = rows.value(Row::ClipVideo);
    custom.startTime = rows.value(Row::StartTime);
    custom.endTime = rows.value(Row::EndTime);
    custom.outputFormat = rows.value(Row::OutputFormat);
    custom.split = rows.value(Row::Split);
    custom.videoCodec = rows.value(Row::VideoCodec);
    custom.videoSize = rows.value(Row::VideoSize);
    custom.videoFrameRate = rows.value(Row::VideoFrameRate);
    custom.videoBitrate = rows.value(Row::VideoBitrate);
    custom.videoDisabled = rows.value(Row::VideoDisabled);
    custom.audioCodec = rows.value(Row::AudioCodec);
    custom.audioSample = rows.value(Row::AudioSample);
    custom.audioBitrate = rows.value(Row::AudioBitrate);
    custom.audioChannel = rows.value(Row::AudioChannel);
    custom.audioVolume = rows.value(Row::AudioVolume);
    custom.audioDisabled = rows.value(Row::AudioDisabled);
    custom.quantizerMin = rows.value(Row::QuantizerMin);
    custom.quantizerMax = rows.value(Row::QuantizerMax);
    return custom;
}

namespace {

bool allDigits(std::string_view text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

// A decimal number: digits with at most one point among them.
bool decimalNumber(std::string_view text) {
    const auto point = text.find('.');
    if (point == std::string_view::npos) {
        return allDigits(text);
    }
    return allDigits(text.substr(0, point)) && allDigits(text.substr(point + 1));
}

bool pictureSize(const std::string& value) {
    const std::string size = text::trim(text::lower(value));
    auto separator = size.find('x');
    if (separator == std::string::npos) {
        separator = size.find(':');
    }
    return separator != std::string::npos && allDigits(size.substr(0, separator)) &&
           allDigits(size.substr(separator + 1)) && text::leadingInt(size) > 0 &&
           text::leadingInt(size.substr(separator + 1)) > 0;
}

// "Not split", a time hh:mm:ss, or a size such as "650 MB" or "4.7gb".
bool splitValue(const std::string& value) {
    std::string compact;
    for (const char c : text::lower(value)) {
        if (c != ' ') {
            compact += c;
        }
    }
    if (compact == "notsplit") {
        return true;
    }
    if (compact.size() == 8 && compact[2] == ':' && compact[5] == ':') {
        return allDigits(compact.substr(0, 2)) && allDigits(compact.substr(3, 2)) &&
               allDigits(compact.substr(6, 2));
    }
    for (const char* unit : {"kb", "mb", "gb", "b"}) {
        if (compact.ends_with(unit)) {
            return decimalNumber(
                std::string_view(compact).substr(0, compact.size() - std::strlen(unit)));
        }
    }
    return false;
}

bool volumeValue(const std::string& value) {
    if (value == "default" || value == "normalize") {
        return true;
    }
    const std::string_view digits = !value.empty() && (value[0] == '+' || value[0] == '-')
                                        ? std::string_view(value).substr(1)
                                        : std::string_view(value);
    return allDigits(digits);
}

}  // namespace

Status checkTypedSetting(Row row, const std::string& value) {
    const auto refuse = [&](const std::string& expected) {
        return Status::error(std::string("The setting \"") + captionOf(row) + "\" cannot be \"" +
                             value + "\": " + expected);
    };
    if (row == Row::VideoBitrate && !(allDigits(value) && text::leadingInt(value) > 0)) {
        return refuse("please give a whole number of kbit/s, such as 768.");
    }
    if (row == Row::VideoSize && !pictureSize(value)) {
        return refuse("please give a width and a height, such as 320x240.");
    }
    if (row == Row::Split && !splitValue(value)) {
        return refuse(
            "please choose \"Not split\", a time such as 00:10:00, or a size such as "
            "650 MB.");
    }
    if (row == Row::AudioVolume && !volumeValue(value)) {
        return refuse(
            "please give a number of decibels such as +5 or -10, \"default\" or "
            "\"normalize\".");
    }
    return Status::ok();
}

std::optional<std::string> outputPrefix(int profile, const SettingsRows& rows) {
    return outputPrefix(profileFor(profile, rows));
}

}  // namespace pelorine
