#pragma once
// One command-line text as the converter composes it, and the arguments it
// stands for. Splitting follows the Windows rules for command lines, so the
// texts the converter builds mean the same on every platform:
//   - blanks and tabs outside quotes separate arguments;
//   - a double quote starts or ends a quoted run (it is not part of the text);
//   - 2n backslashes before a double quote give n backslashes, and the quote
//     starts or ends a quoted run; 2n+1 backslashes give n backslashes and a
//     literal quote;
//   - inside a quoted run, two double quotes in a row give one literal quote;
//   - backslashes not followed by a double quote are literal.

#include <string>
#include <string_view>
#include <vector>

namespace pelorine {

std::vector<std::string> splitCommandLine(std::string_view commandLine);

// `text` in double quotes, escaped so that splitting gives it back exactly,
// whatever it contains. A text without double quotes that does not end in a
// backslash is simply put between quotes.
std::string quoteArgument(std::string_view text);

// `text` unchanged when it splits back as one argument by itself (no blanks,
// tabs or double quotes, not empty); otherwise quoteArgument(text).
std::string quoteArgumentIfNeeded(std::string_view text);

}  // namespace pelorine
