#include "records/MediaInfo.h"

#include <algorithm>
#include <cstring>

#include "base/LittleEndian.h"

namespace pelorine {
namespace {

bool streamIndexValid(int index) {
    return index >= 0 && index < MediaInfo::kMaxStreams;
}

}  // namespace

double MediaInfo::mediaLength() const {
    return le::load<double>(bytes_, kMediaLength);
}
void MediaInfo::setMediaLength(double seconds) {
    le::store<double>(bytes_, kMediaLength, seconds);
}
double MediaInfo::reservedDouble() const {
    return le::load<double>(bytes_, kReservedDouble);
}
void MediaInfo::setReservedDouble(double value) {
    le::store<double>(bytes_, kReservedDouble, value);
}
std::int32_t MediaInfo::videoWidth() const {
    return intAt(kVideoWidth);
}
std::int32_t MediaInfo::videoHeight() const {
    return intAt(kVideoHeight);
}

void MediaInfo::setVideoSize(std::int32_t width, std::int32_t height) {
    setIntAt(kVideoWidth, width);
    setIntAt(kVideoHeight, height);
}

std::int32_t MediaInfo::titleCount() const {
    return intAt(kTitleCount);
}
void MediaInfo::setTitleCount(std::int32_t count) {
    setIntAt(kTitleCount, count);
}

std::int32_t MediaInfo::chapterCount(int title) const {
    if (title < 0 || title >= kMaxTitles) {
        return 0;
    }
    return intAt(kChapterCounts + 4 * static_cast<std::size_t>(title));
}

void MediaInfo::setChapterCount(int title, std::int32_t count) {
    if (title >= 0 && title < kMaxTitles) {
        setIntAt(kChapterCounts + 4 * static_cast<std::size_t>(title), count);
    }
}

std::int32_t MediaInfo::audioId(int index) const {
    return streamIndexValid(index) ? intAt(kAudioIds + 4 * static_cast<std::size_t>(index)) : -1;
}

std::string MediaInfo::audioName(int index) const {
    return streamIndexValid(index) ? textAt(kAudioNames + kTextSize * index) : std::string();
}

std::string MediaInfo::audioNote(int index) const {
    return streamIndexValid(index) ? textAt(kAudioNotes + kTextSize * index) : std::string();
}

void MediaInfo::setAudio(int index, std::int32_t id, std::string_view name, std::string_view note) {
    if (!streamIndexValid(index)) {
        return;
    }
    setIntAt(kAudioIds + 4 * static_cast<std::size_t>(index), id);
    setTextAt(kAudioNames + kTextSize * index, name);
    setTextAt(kAudioNotes + kTextSize * index, note);
}

std::int32_t MediaInfo::subtitleId(int index) const {
    return streamIndexValid(index) ? intAt(kSubtitleIds + 4 * static_cast<std::size_t>(index)) : -1;
}

std::string MediaInfo::subtitleName(int index) const {
    return streamIndexValid(index) ? textAt(kSubtitleNames + kTextSize * index) : std::string();
}

void MediaInfo::setSubtitle(int index, std::int32_t id, std::string_view name) {
    if (!streamIndexValid(index)) {
        return;
    }
    setIntAt(kSubtitleIds + 4 * static_cast<std::size_t>(index), id);
    setTextAt(kSubtitleNames + kTextSize * index, name);
}

int MediaInfo::audioCount() const {
    return listLength(kAudioIds);
}
int MediaInfo::subtitleCount() const {
    return listLength(kSubtitleIds);
}

void MediaInfo::clearStreams() {
    for (int i = 0; i < kMaxStreams; ++i) {
        setAudio(i, -1, {}, {});
        setSubtitle(i, -1, {});
    }
}

std::int32_t MediaInfo::intAt(std::size_t offset) const {
    return le::load<std::int32_t>(bytes_, offset);
}

void MediaInfo::setIntAt(std::size_t offset, std::int32_t value) {
    le::store<std::int32_t>(bytes_, offset, value);
}

std::string MediaInfo::textAt(std::size_t offset) const {
    const auto* begin = reinterpret_cast<const char*>(bytes_.data() + offset);
    // The slot may lack its terminator in a damaged file: never read past it.
    return std::string(begin, strnlen(begin, kTextSize));
}

void MediaInfo::setTextAt(std::size_t offset, std::string_view text) {
    const std::size_t length = std::min(text.size(), kTextSize - 1);
    std::memset(bytes_.data() + offset, 0, kTextSize);
    // An empty view may have no storage at all: copy nothing from it.
    if (length > 0) {
        std::memcpy(bytes_.data() + offset, text.data(), length);
    }
}

int MediaInfo::listLength(std::size_t idsOffset) const {
    int count = 0;
    while (count < kMaxStreams && intAt(idsOffset + 4 * static_cast<std::size_t>(count)) >= 0) {
        ++count;
    }
    return count;
}

}  // namespace pelorine
