#include "profiles/SettingsRows.h"

#include <cstring>
#include <stdexcept>

#include "base/Text.h"
#include "conversion/TimeText.h"

namespace pelorine {
namespace {

constexpr const char* kQuantizerOptions =
    "1|2|3|4|5|6|7|8|9|10|11|12|13|14|15|16|17|18|19|20|21|22|23|24|25|26|27|28|29|30|31|";
constexpr const char* kMpeg4Bitrates = "512|1200|1500|2500|";
constexpr const char* kH264Bitrates = "100|200|400|500|600|768|";

PropertyItem combo(const char* name, const char* options, const char* value, int fixedList = 1) {
    return PropertyItem{name, value, EditorKind::Combo, options, fixedList};
}

PropertyItem edit(const char* name, const char* value) {
    return PropertyItem{name, value, EditorKind::Edit, "", 0};
}

const std::vector<const char*> kHead = {row::kClipVideo, row::kStartTime, row::kEndTime,
                                        row::kOutputFormat, row::kSplit};
const std::vector<const char*> kAudioTail = {row::kAudioCodec,   row::kAudioSample,
                                             row::kAudioBitrate, row::kAudioChannel,
                                             row::kAudioVolume,  row::kAudioDisabled};

std::vector<const char*> videoOrder(bool quantizers) {
    std::vector<const char*> order = kHead;
    order.push_back(row::kVideoCodec);
    if (quantizers) {
        order.push_back(row::kQuantizerMin);
        order.push_back(row::kQuantizerMax);
    }
    for (const char* name :
         {row::kVideoSize, row::kVideoFrameRate, row::kVideoBitrate, row::kVideoDisabled}) {
        order.push_back(name);
    }
    order.insert(order.end(), kAudioTail.begin(), kAudioTail.end());
    return order;
}

std::vector<const char*> audioOrder() {
    std::vector<const char*> order = kHead;
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

void copy(SettingsRows& rows, const SettingsRows& from, std::initializer_list<const char*> names) {
    for (const char* name : names) {
        rows.set(name, from.value(name));
    }
}

void audioDefaults(SettingsRows& rows) {
    rows.set(row::kAudioSample, "44100");
    rows.set(row::kAudioBitrate, "128");
    rows.set(row::kAudioChannel, "default");
    rows.set(row::kAudioVolume, "default");
    rows.set(row::kAudioDisabled, "no");
}

// The rows of a built-in video profile (0, 1 or 2).
void fillBuiltInVideo(int profile, SettingsRows& rows, const Job* job) {
    const bool h264 = profile == kProfileH264;
    rows.set(row::kVideoCodec, h264 ? "h264|" : "MPEG4|", h264 ? "h264" : "MPEG4");
    if (h264 && job) {
        rows.set(row::kQuantizerMin, job->quantizerMin);
        rows.set(row::kQuantizerMax, job->quantizerMax);
    }
    rows.set(row::kVideoSize, profile == kProfileMpeg4Wide ? "480x272" : "320x240");
    rows.set(row::kVideoFrameRate, "default");
    rows.set(row::kVideoBitrate, h264 ? kH264Bitrates : kMpeg4Bitrates, h264 ? "768" : "1200");
    rows.set(row::kVideoDisabled, "no");
    audioDefaults(rows);
}

void fillCustomVideo(SettingsRows& rows, const SettingsRows& stored) {
    const PropertyItem& codec = stored.at(row::kVideoCodec);
    rows.set(row::kVideoCodec, codec.options, codec.value);
    copy(rows, stored,
         {row::kQuantizerMin, row::kQuantizerMax, row::kVideoSize, row::kVideoFrameRate,
          row::kVideoDisabled});
    rows.set(row::kVideoBitrate, codec.value == "h264" ? kH264Bitrates : kMpeg4Bitrates,
             stored.value(row::kVideoBitrate));
}

std::string folderOf(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string fileNameOf(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

void copyVideoRows(const SettingsRows& rows, Job& job) {
    job.videoCodec = rows.value(row::kVideoCodec);
    job.videoSize = rows.value(row::kVideoSize);
    job.videoFrameRate = rows.value(row::kVideoFrameRate);
    job.videoBitrate = rows.value(row::kVideoBitrate);
    job.videoDisabled = rows.value(row::kVideoDisabled);
}

void copyAudioRows(const SettingsRows& rows, Job& job) {
    job.audioCodec = rows.value(row::kAudioCodec);
    job.audioSampleRate = rows.value(row::kAudioSample);
    job.audioBitrate = rows.value(row::kAudioBitrate);
    job.audioChannel = rows.value(row::kAudioChannel);
    job.audioVolume = rows.value(row::kAudioVolume);
    job.audioDisabled = rows.value(row::kAudioDisabled);
}

void copyQuantizerRows(const SettingsRows& rows, Job& job) {
    job.quantizerMin = rows.value(row::kQuantizerMin);
    job.quantizerMax = rows.value(row::kQuantizerMax);
}

// The name with its first three characters replaced by `prefix`.
std::string withPrefix(const std::string& prefix, const std::string& name) {
    return prefix + name.substr(std::min<std::size_t>(3, name.size()));
}

}  // namespace

SettingsRows::SettingsRows()
    : items_{{
          combo(row::kClipVideo, "no|yes|", "no"),
          edit(row::kStartTime, kZeroTime),
          edit(row::kEndTime, kZeroTime),
          combo(row::kOutputFormat, "mp4|", "mp4"),
          combo(row::kSplit, "Not split|00:10:00|00:20:00|650 MB|700 MB|800 MB|4.7 GB|",
                "Not split", 0),
          combo(row::kVideoCodec, "MPEG4|", "MPEG4"),
          combo(row::kVideoSize, "160x112|320x240|368x208|480x272|", "320x240", 0),
          combo(row::kVideoFrameRate, "default|13|14.985|15|18|20|23|23.976|24|25|29.97|30|",
                "default"),
          combo(row::kVideoBitrate, kMpeg4Bitrates, "1200", 0),
          combo(row::kVideoDisabled, "no|yes|", "no"),
          combo(row::kAudioCodec, "AAC|", "AAC"),
          combo(row::kAudioSample, "8000|11025|12000|16000|22050|24000|32000|44100|48000|",
                "44100"),
          combo(row::kAudioBitrate, "8|16|24|32|40|48|56|64|80|96|112|128|160|192|224|256|320|",
                "128"),
          combo(row::kAudioChannel,
                "default|left stereo|right stereo|left mono|right mono|mixed mono|", "default"),
          combo(row::kAudioVolume, "default|-20|-15|-10|-5|normalize|+5|+10|+15|+20|", "default",
                0),
          combo(row::kAudioDisabled, "no|yes|", "no"),
          combo(row::kQuantizerMin, kQuantizerOptions, "20"),
          combo(row::kQuantizerMax, kQuantizerOptions, "31"),
      }} {}

PropertyItem& SettingsRows::at(const std::string& name) {
    // By the row's place, not by the name it shows: a profile file may rename
    // rows, and the "Video codec" row stays the video codec whatever it is called.
    static constexpr std::array<const char*, kCount> kPlaces = {
        row::kClipVideo,    row::kStartTime,     row::kEndTime,     row::kOutputFormat,
        row::kSplit,        row::kVideoCodec,    row::kVideoSize,   row::kVideoFrameRate,
        row::kVideoBitrate, row::kVideoDisabled, row::kAudioCodec,  row::kAudioSample,
        row::kAudioBitrate, row::kAudioChannel,  row::kAudioVolume, row::kAudioDisabled,
        row::kQuantizerMin, row::kQuantizerMax};
    for (std::size_t place = 0; place < kCount; ++place) {
        if (name == kPlaces[place]) {
            return items_[place];
        }
    }
    throw std::out_of_range("no settings row named " + name);
}

const PropertyItem& SettingsRows::at(const std::string& name) const {
    return const_cast<SettingsRows*>(this)->at(name);
}

void SettingsRows::set(const std::string& name, std::string options, std::string value) {
    PropertyItem& item = at(name);
    item.options = std::move(options);
    item.value = std::move(value);
}

std::vector<PropertyItem*> SettingsRows::startRows() {
    std::vector<PropertyItem*> shown;
    for (std::size_t i = 0; i < 16; ++i) {
        shown.push_back(&items_[i]);
    }
    return shown;
}

std::vector<PropertyItem*> SettingsRows::pick(const std::vector<const char*>& names) {
    std::vector<PropertyItem*> picked;
    for (const char* name : names) {
        picked.push_back(&at(name));
    }
    return picked;
}

std::optional<std::vector<PropertyItem*>> showProfile(int profile, SettingsRows& rows,
                                                      const Job* job, const CustomProfile& custom) {
    const Shape shape = shapeOf(profile, custom);
    if (shape == Shape::None) {
        return std::nullopt;
    }
    rows.set(row::kClipVideo, "no");
    rows.set(row::kStartTime, kZeroTime);
    rows.set(row::kEndTime, job ? timeText(job->duration) : kZeroTime);
    rows.set(row::kSplit, "Not split");
    const bool audio = shape == Shape::Audio;
    rows.set(row::kOutputFormat, audio ? "mp3|" : "mp4|", audio ? "mp3" : "mp4");
    rows.set(row::kAudioCodec, audio ? "mp3|" : "AAC|", audio ? "mp3" : "AAC");
    if (profile == kProfileCustom) {
        copy(rows, custom.rows,
             {row::kAudioSample, row::kAudioBitrate, row::kAudioChannel, row::kAudioVolume,
              row::kAudioDisabled});
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
        (profile == kProfileCustom && custom.rows.value(row::kVideoCodec) == "h264");
    return rows.pick(videoOrder(quantizers));
}

std::string renameForProfile(const std::string& outputPath, int profile,
                             const CustomProfile& custom) {
    const std::string folder = folderOf(outputPath);
    const std::string name = fileNameOf(outputPath);
    const Shape shape = shapeOf(profile, custom);
    if (shape == Shape::Audio) {
        const auto dot = name.rfind('.');
        return folder + (dot == std::string::npos ? name : name.substr(0, dot)) + ".mp3";
    }
    if (profile == kProfileCustom) {
        const bool h264 = custom.rows.value(row::kVideoCodec) == "h264";
        return folder + text::upper(withPrefix(h264 ? "MAQ" : "M4V", name));
    }
    std::string renamed = withPrefix(profile == kProfileH264 ? "MAQ" : "M4V", name);
    renamed.resize(renamed.size() >= 4 ? renamed.size() - 4 : 0);  // the old extension
    return folder + text::upper(renamed + ".MP4");
}

void applyProfileToJob(Job& job, int profile, const SettingsRows& rows,
                       const CustomProfile& custom) {
    const Shape shape = shapeOf(profile, custom);
    job.clipEnabled = text::lower(rows.value(row::kClipVideo)) != "no" ? 1 : 0;
    job.clipStart = 0.0;
    job.clipEnd = job.duration;
    job.startText = kZeroTime;
    job.endText = timeText(job.duration);
    job.outputFormat = shape == Shape::Audio ? "mp3" : "mp4";
    job.outputPath = renameForProfile(job.outputPath, profile, custom);
    job.split = rows.value(row::kSplit);
    if (shape == Shape::Video) {
        copyVideoRows(rows, job);
    }
    copyAudioRows(rows, job);
    if (profile == kProfileCustom && shape == Shape::Video) {
        copyQuantizerRows(rows, job);
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
    rows.set(row::kClipVideo, job.clipEnabled != 0 ? "yes" : "no");
    rows.set(row::kStartTime, job.startText);
    rows.set(row::kEndTime, job.endText);
    rows.set(row::kSplit, job.split);
    rows.set(row::kAudioSample, job.audioSampleRate);
    rows.set(row::kAudioBitrate, job.audioBitrate);
    rows.set(row::kAudioChannel, job.audioChannel);
    rows.set(row::kAudioVolume, job.audioVolume);
    rows.set(row::kAudioDisabled, job.audioDisabled);
    if (shape == Shape::Audio) {
        rows.set(row::kOutputFormat, "mp3|", "mp3");
        rows.set(row::kAudioCodec, "mp3|", "mp3");
        return rows.pick(audioOrder());
    }
    rows.set(row::kOutputFormat, "mp4|", "mp4");
    rows.set(row::kAudioCodec, "AAC|", "AAC");
    const bool h264 = job.profileIndex == kProfileH264 ||
                      (job.profileIndex == kProfileCustom && job.videoCodec == "h264");
    if (job.profileIndex == kProfileCustom) {
        rows.set(row::kVideoCodec, job.videoCodec + "|", job.videoCodec);
    } else {
        rows.set(row::kVideoCodec, h264 ? "h264|" : "MPEG4|", h264 ? "h264" : "MPEG4");
    }
    if (h264) {
        rows.set(row::kQuantizerMin, job.quantizerMin);
        rows.set(row::kQuantizerMax, job.quantizerMax);
    }
    rows.set(row::kVideoSize, job.videoSize);
    rows.set(row::kVideoFrameRate, job.videoFrameRate);
    rows.set(row::kVideoBitrate, h264 ? kH264Bitrates : kMpeg4Bitrates, job.videoBitrate);
    rows.set(row::kVideoDisabled, job.videoDisabled);
    return rows.pick(videoOrder(h264));
}

std::optional<std::vector<PropertyItem*>> showLoadedProfile(SettingsRows& rows) {
    const std::string& format = rows.value(row::kOutputFormat);
    if (format == "mp3") {
        return rows.pick(audioOrder());
    }
    if (format != "mp4") {
        return std::nullopt;
    }
    const bool h264 = rows.value(row::kVideoCodec) == "h264";
    rows.at(row::kVideoBitrate).options = h264 ? kH264Bitrates : kMpeg4Bitrates;
    return rows.pick(videoOrder(h264));
}

void applyLoadedProfileToJob(const SettingsRows& rows, Job& job) {
    job.outputFormat = rows.value(row::kOutputFormat);
    // Only the extension changes, and only within the file's own name.
    const std::string folder = folderOf(job.outputPath);
    const std::string name = fileNameOf(job.outputPath);
    const auto dot = name.rfind('.');
    job.outputPath =
        folder + (dot == std::string::npos ? name : name.substr(0, dot)) + "." + job.outputFormat;
    copyVideoRows(rows, job);
    copyAudioRows(rows, job);
    copyQuantizerRows(rows, job);
    job.profileIndex = kProfileCustom;
}

void copyRowsToJob(const SettingsRows& rows, Job& job) {
    job.clipEnabled = text::lower(rows.value(row::kClipVideo)) == "no" ? 0 : 1;
    job.outputFormat = rows.value(row::kOutputFormat);
    job.split = rows.value(row::kSplit);
    copyVideoRows(rows, job);
    copyAudioRows(rows, job);
    copyQuantizerRows(rows, job);
}

Profile profileFor(int profile, const SettingsRows& rows) {
    if (profile != kProfileCustom) {
        return builtInProfile(profile);
    }
    Profile custom;
    custom.index = kProfileCustom;
    custom.clipVideo = rows.value(row::kClipVideo);
    custom.startTime = rows.value(row::kStartTime);
    custom.endTime = rows.value(row::kEndTime);
    custom.outputFormat = rows.value(row::kOutputFormat);
    custom.split = rows.value(row::kSplit);
    custom.videoCodec = rows.value(row::kVideoCodec);
    custom.videoSize = rows.value(row::kVideoSize);
    custom.videoFrameRate = rows.value(row::kVideoFrameRate);
    custom.videoBitrate = rows.value(row::kVideoBitrate);
    custom.videoDisabled = rows.value(row::kVideoDisabled);
    custom.audioCodec = rows.value(row::kAudioCodec);
    custom.audioSample = rows.value(row::kAudioSample);
    custom.audioBitrate = rows.value(row::kAudioBitrate);
    custom.audioChannel = rows.value(row::kAudioChannel);
    custom.audioVolume = rows.value(row::kAudioVolume);
    custom.audioDisabled = rows.value(row::kAudioDisabled);
    custom.quantizerMin = rows.value(row::kQuantizerMin);
    custom.quantizerMax = rows.value(row::kQuantizerMax);
    return custom;
}

void newJobSettings(Job& job, int profile, const SettingsRows& rows) {
    const int index = job.profileIndex;
    applyProfile(profileFor(profile, rows), job);
    job.profileIndex = index;  // the caller sets it
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

Status checkTypedSetting(const std::string& name, const std::string& value) {
    const auto refuse = [&](const std::string& expected) {
        return Status::error("The setting \"" + name + "\" cannot be \"" + value +
                             "\": " + expected);
    };
    if (name == row::kVideoBitrate && !(allDigits(value) && text::leadingInt(value) > 0)) {
        return refuse("please give a whole number of kbit/s, such as 768.");
    }
    if (name == row::kVideoSize && !pictureSize(value)) {
        return refuse("please give a width and a height, such as 320x240.");
    }
    if (name == row::kSplit && !splitValue(value)) {
        return refuse(
            "please choose \"Not split\", a time such as 00:10:00, or a size such as "
            "650 MB.");
    }
    if (name == row::kAudioVolume && !volumeValue(value)) {
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
