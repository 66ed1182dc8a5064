#include "encode/OutputTitle.h"

#include <array>

#include <span>

#include "platform/LargeFiles.h"

namespace zelvic {
namespace {

std::string fileStem(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const std::size_t dot = name.find_last_of('.');
    if (dot != std::string::npos && dot > 0) {
        name.erase(dot);
    }
    return name;
}

void putBigEndian32(std::vector<std::uint8_t>& bytes, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        bytes.push_back(static_cast<std::uint8_t>(value >> shift));
    }
}

void putType(std::vector<std::uint8_t>& bytes, std::string_view type) {
    bytes.insert(bytes.end(), type.begin(), type.end());
}

std::uint64_t bigEndian(std::span<const std::uint8_t> bytes) {
    std::uint64_t value = 0;
    for (const std::uint8_t byte : bytes) {
        value = value << 8 | byte;
    }
    return value;
}

// A top-level box of the file: where it starts, its size, its type.
struct BoxHeader {
    std::uint64_t start = 0;
    std::uint64_t size = 0;  // 0: none could be read
    std::string type;
    bool largeSize = false;
};

BoxHeader readBoxHeader(pelorine::platform::OpenFile& file, std::uint64_t at,
                        std::uint64_t fileSize) {
    std::array<std::uint8_t, 16> bytes{};
    std::size_t got = 0;
    BoxHeader header;
    header.start = at;
    if (!file.readAt(at, bytes, got) || got < 8) {
        return header;
    }
    header.size = bigEndian(std::span(bytes).first(4));
    header.type.assign(bytes.begin() + 4, bytes.begin() + 8);
    if (header.size == 1) {
        header.size = got == 16 ? bigEndian(std::span(bytes).subspan(8, 8)) : 0;
        header.largeSize = true;
    } else if (header.size == 0) {
        header.size = fileSize - at;  // to the end of the file
    }
    if (header.size < 8 || header.size > fileSize - at) {
        header.size = 0;
    }
    return header;
}

}  // namespace

std::string cleanTitle(std::string_view title) {
    std::string text;
    for (const char c : title) {
        const auto byte = static_cast<unsigned char>(c);
        text.push_back(byte < 0x20 || byte == 0x7f ? ' ' : c);
    }
    if (text.size() > kMaxTitleBytes) {
        std::size_t cut = kMaxTitleBytes;
        while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) {
            --cut;  // never in the middle of a character
        }
        text.erase(cut);
    }
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::string outputTitle(const Options& options, std::string_view sourceTitle) {
    if (std::string title = cleanTitle(sourceTitle); !title.empty()) {
        return title;
    }
    if (options.sourceKind == SourceKind::File) {
        return cleanTitle(fileStem(options.source));
    }
    // A disc: the name of its folder or image, and the title's number.
    const std::string& device =
        options.sourceKind == SourceKind::DvdTitle ? options.dvdDevice : options.cdromDevice;
    std::string disc = device.starts_with("/dev/") ? std::string() : fileStem(device);
    if (disc.empty() || disc == "VIDEO_TS") {
        disc = options.sourceKind == SourceKind::DvdTitle ? "DVD" : "Video CD";
    }
    return cleanTitle(disc + " title " + std::to_string(options.title));
}

std::vector<std::uint8_t> titleBox(std::string_view title) {
    const std::string text = cleanTitle(title);
    std::vector<std::uint8_t> box;
    putBigEndian32(box, static_cast<std::uint32_t>(8 + 12 + text.size()));
    putType(box, "udta");
    putBigEndian32(box, static_cast<std::uint32_t>(12 + text.size()));
    putType(box, "\xa9nam");
    // The text's length, then its language: 0x55c4 is "und" packed.
    box.push_back(static_cast<std::uint8_t>(text.size() >> 8));
    box.push_back(static_cast<std::uint8_t>(text.size()));
    box.push_back(0x55);
    box.push_back(0xc4);
    putType(box, text);
    return box;
}

Outcome appendTitleBox(const std::string& path, std::string_view title,
                       pelorine::platform::LargeFiles& files) {
    const auto fileSize = files.fileSize(path);
    auto opened = files.openForUpdate(path);
    if (!fileSize || !opened.file) {
        return conversionFailed(opened.status.message());
    }
    BoxHeader last;
    for (std::uint64_t at = 0; at < *fileSize; at += last.size) {
        last = readBoxHeader(*opened.file, at, *fileSize);
        if (last.size == 0) {
            return conversionFailed("\"" + path + "\" has a damaged box at " + std::to_string(at));
        }
    }
    const std::vector<std::uint8_t> box = titleBox(title);
    if (last.type != "moov" || last.largeSize || last.size + box.size() > 0xFFFFFFFFu) {
        return conversionFailed("\"" + path + "\" does not end with its movie header");
    }
    std::vector<std::uint8_t> size;
    putBigEndian32(size, static_cast<std::uint32_t>(last.size + box.size()));
    // The box first, then the size that takes it in: a failure between the
    // two leaves a file that still reads as before.
    pelorine::Status written = opened.file->writeAt(*fileSize, box);
    if (written) {
        written = opened.file->writeAt(last.start, size);
    }
    if (written) {
        written = opened.file->close();
    }
    if (!written) {
        return conversionFailed(written.message());
    }
    return success();
}

}  // namespace zelvic
