#include "cli/InfoText.h"

#include <cstdio>

#include "base/TimeText.h"

namespace pelorine::cli {
namespace {

constexpr const char* kIndent = "  ";

std::string field(const char* name, const std::string& value) {
    char label[32];
    std::snprintf(label, sizeof label, "%-12s", name);
    return kIndent + std::string(label) + value + "\n";
}

// The entries of a stream list, each on its own line below the first.
std::string streams(const char* name, int count, const auto& entry) {
    if (count == 0) {
        return field(name, "none");
    }
    std::string text;
    for (int i = 0; i < count; ++i) {
        text += field(i == 0 ? name : "", entry(i));
    }
    return text;
}

}  // namespace

std::string sizeText(std::uint64_t bytes) {
    static constexpr const char* kUnits[] = {"kB", "MB", "GB", "TB"};
    const std::string exact = std::to_string(bytes) + (bytes == 1 ? " byte" : " bytes");
    if (bytes < 1000) {
        return exact;
    }
    double value = static_cast<double>(bytes) / 1000.0;
    std::size_t unit = 0;
    while (value >= 1000.0 && unit + 1 < std::size(kUnits)) {
        value /= 1000.0;
        ++unit;
    }
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.1f %s", value, kUnits[unit]);
    return std::string(buffer) + " (" + exact + ")";
}

std::string infoText(const std::string& path, const MediaInfo& info,
                     std::optional<std::uint64_t> fileSize,
                     const std::vector<SubtitleFile>& beside) {
    std::string text = path + "\n";
    text += field("Length:", timeText(info.mediaLength()));
    const bool picture = info.videoWidth() > 0 && info.videoHeight() > 0;
    text += field("Picture:", picture ? std::to_string(info.videoWidth()) + "x" +
                                            std::to_string(info.videoHeight())
                                      : "none");
    if (fileSize) {
        text += field("File size:", sizeText(*fileSize));
    }
    text += streams("Audio:", info.audioCount(), [&](int i) {
        const std::string note = info.audioNote(i);
        return std::to_string(info.audioId(i)) + ": " + info.audioName(i) +
               (note.empty() ? "" : " (" + note + ")");
    });
    text += streams("Subtitles:", info.subtitleCount(), [&](int i) {
        return std::to_string(info.subtitleId(i)) + ": " + info.subtitleName(i);
    });
    if (!beside.empty()) {
        text += streams("Beside it:", static_cast<int>(beside.size()), [&](int i) {
            const SubtitleFile& file = beside[static_cast<std::size_t>(i)];
            return file.name + (file.language.empty() ? "" : " (" + file.language + ")");
        });
    }
    return text;
}

}  // namespace pelorine::cli
