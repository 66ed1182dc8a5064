#pragma once
// Small text helpers with fixed, locale-independent behaviour: settings texts
// are compared byte for byte and numbers are written the same way whatever
// the user's locale.

#include <string>
#include <string_view>

namespace pelorine::text {

// ASCII letters lowered; other bytes (UTF-8 included) kept.
std::string lower(std::string_view s);
std::string upper(std::string_view s);
// Leading and trailing blanks (spaces, tabs, CR, LF) removed.
std::string trim(std::string_view s);

// The integer at the start of `s`, as C's atoi reads it: leading blanks, an
// optional sign, then digits. No digits give 0; values beyond the int range
// are clamped to it.
int leadingInt(std::string_view s);

// The number written by the digits `s` starts with: no blanks and no sign
// are read, so "-320" and " 320" give 0. Clamped to the int range.
int leadingDigits(std::string_view s);

// `value` with exactly six decimals, "12.500000", like printf's "%f" in the C locale.
std::string fixed6(double value);
// `value` with one decimal, "1.8", in any locale (a speed shown to the user).
std::string fixed1(double value);

}  // namespace pelorine::text
