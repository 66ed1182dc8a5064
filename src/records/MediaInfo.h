#pragma once
// The media information record: what the engine tells about a source in
// identify mode. Exactly 199712 bytes, little-endian, no header. Shared by the
// converter (which reads it) and the engine (which writes it), so that the
// layout is defined in one place only.

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace pelorine {

// Ends the note of a file's sound track that the file marks as the one to
// play when it is not its first ("aac 2ch, default"): without -aid the
// engine takes that one.
inline constexpr std::string_view kDefaultTrackNote = ", default";

class MediaInfo {
public:
    static constexpr std::size_t kSize = 199712;
    static constexpr int kMaxTitles = 512;
    static constexpr int kMaxStreams = 128;
    static constexpr std::size_t kTextSize = 512;  // NUL-terminated text slots

    // Offsets of the fields.
    static constexpr std::size_t kMediaLength = 0;       // double, seconds; 0 = nothing identified
    static constexpr std::size_t kReservedDouble = 8;    // double, set to 1.0 before identify
    static constexpr std::size_t kVideoWidth = 16;       // int32
    static constexpr std::size_t kVideoHeight = 20;      // int32
    static constexpr std::size_t kReservedInt = 24;      // int32
    static constexpr std::size_t kTitleCount = 28;       // int32
    static constexpr std::size_t kChapterCounts = 32;    // 512 x int32, entry 0 = title 1
    static constexpr std::size_t kAudioIds = 2080;       // 128 x int32, list ends at a negative id
    static constexpr std::size_t kAudioNames = 2592;     // 128 x 512-byte text
    static constexpr std::size_t kAudioNotes = 68128;    // 128 x 512-byte text
    static constexpr std::size_t kSubtitleIds = 133664;  // 128 x int32
    static constexpr std::size_t kSubtitleNames = 134176;  // 128 x 512-byte text

    // A zero-filled record.
    MediaInfo() = default;

    double mediaLength() const;
    void setMediaLength(double seconds);
    double reservedDouble() const;
    void setReservedDouble(double value);
    std::int32_t videoWidth() const;
    std::int32_t videoHeight() const;
    void setVideoSize(std::int32_t width, std::int32_t height);
    std::int32_t titleCount() const;
    void setTitleCount(std::int32_t count);
    // `title` is 0-based (entry 0 belongs to title 1); out of range reads as 0.
    std::int32_t chapterCount(int title) const;
    void setChapterCount(int title, std::int32_t count);

    // Stream lists; `index` is 0 .. kMaxStreams-1 (out of range reads as -1 / "").
    std::int32_t audioId(int index) const;
    std::string audioName(int index) const;
    std::string audioNote(int index) const;
    void setAudio(int index, std::int32_t id, std::string_view name, std::string_view note);
    std::int32_t subtitleId(int index) const;
    std::string subtitleName(int index) const;
    void setSubtitle(int index, std::int32_t id, std::string_view name);

    // List length rule: entries from index 0 while the id is 0 or more, at most 128.
    int audioCount() const;
    int subtitleCount() const;

    // Marks every stream id unused (-1) and every text empty.
    void clearStreams();

    std::span<std::uint8_t> bytes() { return bytes_; }
    std::span<const std::uint8_t> bytes() const { return bytes_; }

private:
    std::int32_t intAt(std::size_t offset) const;
    void setIntAt(std::size_t offset, std::int32_t value);
    std::string textAt(std::size_t offset) const;
    void setTextAt(std::size_t offset, std::string_view text);
    int listLength(std::size_t idsOffset) const;

    std::array<std::uint8_t, kSize> bytes_{};
};

static_assert(MediaInfo::kSubtitleNames + MediaInfo::kMaxStreams * MediaInfo::kTextSize ==
              MediaInfo::kSize);

}  // namespace pelorine
