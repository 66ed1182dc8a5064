#include "subtitles/SubtitleText.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>

namespace zelvic {
namespace {

bool isHigh(char c) {
    return static_cast<unsigned char>(c) >= 0x80;
}

// Whether `bytes` are well-formed UTF-8 (overlong forms and surrogates
// are not).
bool isUtf8(std::string_view bytes) {
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        int more = 0;
        std::uint32_t least = 0;
        if (lead < 0x80) {
            ++i;
            continue;
        }
        if (lead >= 0xC2 && lead <= 0xDF) {
            more = 1, least = 0x80;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            more = 2, least = 0x800;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            more = 3, least = 0x10000;
        } else {
            return false;
        }
        if (i + static_cast<std::size_t>(more) >= bytes.size()) {
            return false;  // cut off inside the character
        }
        std::uint32_t code = lead & (0x3F >> more);
        for (int k = 1; k <= more; ++k) {
            const auto next = static_cast<unsigned char>(bytes[i + static_cast<std::size_t>(k)]);
            if ((next & 0xC0) != 0x80) {
                return false;
            }
            code = (code << 6) | (next & 0x3F);
        }
        if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
            return false;
        }
        i += static_cast<std::size_t>(more) + 1;
    }
    return true;
}

// UTF-16 without a byte order mark: text of mostly Latin letters has a zero
// in every other byte.
std::string unmarkedUtf16(std::string_view bytes) {
    const std::size_t look = std::min<std::size_t>(bytes.size() & ~std::size_t{1}, 4096);
    if (look < 8) {
        return {};
    }
    std::size_t evenZeros = 0, oddZeros = 0;
    for (std::size_t i = 0; i < look; i += 2) {
        evenZeros += bytes[i] == '\0';
        oddZeros += bytes[i + 1] == '\0';
    }
    const std::size_t pairs = look / 2;
    if (oddZeros * 10 >= pairs * 4 && evenZeros * 10 < pairs) {
        return "UTF-16LE";
    }
    if (evenZeros * 10 >= pairs * 4 && oddZeros * 10 < pairs) {
        return "UTF-16BE";
    }
    return {};
}

Result<std::string> convert(std::string_view bytes, const std::string& from) {
    iconv_t converter = iconv_open("UTF-8", from.c_str());
    if (converter == reinterpret_cast<iconv_t>(-1)) {
        return conversionFailed("unknown code page \"" + from + "\" (-subcp)");
    }
    std::string out(bytes.size() * 3 + 16, '\0');
    char* in = const_cast<char*>(bytes.data());
    std::size_t inLeft = bytes.size();
    char* put = out.data();
    std::size_t outLeft = out.size();
    const std::size_t result = iconv(converter, &in, &inLeft, &put, &outLeft);
    const int error = errno;
    iconv_close(converter);
    if (result == static_cast<std::size_t>(-1)) {
        return conversionFailed(std::string("the text is not in ") + from +
                                (error == EILSEQ ? " (a byte sequence it does not have)"
                                                 : " (it ends inside a character)"));
    }
    out.resize(out.size() - outLeft);
    return out;
}

}  // namespace

std::string guessLegacyCodePage(std::string_view bytes) {
    std::size_t high = 0, inRuns = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (!isHigh(bytes[i])) {
            continue;
        }
        ++high;
        const bool before = i > 0 && isHigh(bytes[i - 1]);
        const bool after = i + 1 < bytes.size() && isHigh(bytes[i + 1]);
        inRuns += before && after;
    }
    return high > 0 && inRuns * 10 >= high * 3 ? "windows-1251" : "windows-1252";
}

Result<SubtitleText> subtitleTextAsUtf8(std::string_view bytes, const std::string& codePage) {
    if (bytes.starts_with("\xEF\xBB\xBF")) {
        bytes.remove_prefix(3);
        if (!isUtf8(bytes)) {
            return conversionFailed("the text is marked as UTF-8 but is not");
        }
        return SubtitleText{std::string(bytes), "UTF-8"};
    }
    std::string encoding;
    if (bytes.starts_with("\xFF\xFE")) {
        encoding = "UTF-16LE";
        bytes.remove_prefix(2);
    } else if (bytes.starts_with("\xFE\xFF")) {
        encoding = "UTF-16BE";
        bytes.remove_prefix(2);
    } else {
        encoding = unmarkedUtf16(bytes);
    }
    if (encoding.empty() && isUtf8(bytes)) {
        return SubtitleText{std::string(bytes), "UTF-8"};
    }
    if (encoding.empty()) {
        encoding = codePage.empty() ? guessLegacyCodePage(bytes) : codePage;
    }
    auto text = convert(bytes, encoding);
    if (!text) {
        return text.error();
    }
    if (text->find('\0') != std::string::npos) {
        return conversionFailed("it is binary data, not text");
    }
    return SubtitleText{std::move(*text), encoding};
}

}  // namespace zelvic
