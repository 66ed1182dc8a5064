#pragma once
// The text of a subtitle file as UTF-8, whatever it was written in: UTF-8
// with or without its byte order mark, UTF-16 (marked, or told by its zero
// bytes), or an 8-bit code page of the systems before Unicode, named by
// -subcp or guessed from the bytes.

#include <string>
#include <string_view>

#include "common/Errors.h"

namespace zelvic {

// How the text was found to be written, for the log.
struct SubtitleText {
    std::string utf8;
    std::string encoding;  // "UTF-8", "UTF-16LE", "windows-1251", ...
};

// The 8-bit code page `bytes` (not UTF-8) most likely use: "windows-1251"
// when the letters above ASCII make up words of their own (Cyrillic text),
// else "windows-1252" (Western European text, where they sit among ASCII
// letters).
std::string guessLegacyCodePage(std::string_view bytes);

// `bytes` as UTF-8. `codePage` (an iconv name, empty when not given) is
// taken for text that is neither UTF-8 nor UTF-16. Fails for an unknown
// code page or bytes it cannot convert.
Result<SubtitleText> subtitleTextAsUtf8(std::string_view bytes, const std::string& codePage);

}  // namespace zelvic
