#pragma once
// The desktop around the program: opening links in the user's browser or
// mail program, and ending the process at once.

#include <string>

#include "base/Status.h"

namespace pelorine::platform {

class Desktop {
public:
    virtual ~Desktop() = default;

    // Opens `link` (a web address, "mailto:" address or file) with the
    // desktop's handler; the error says why it could not (linkStatus).
    virtual Status openLink(const std::string& link) = 0;

    // Ends the process at once with `code`, without the usual clean-up.
    [[noreturn]] virtual void exitProcess(int code) = 0;
};

Desktop& systemDesktop();

// Result codes of openLink.
inline constexpr int kLinkFileNotFound = 2;
inline constexpr int kLinkNoAssociation = 31;
inline constexpr int kLinkOpened = 33;

// The reason for a failed openLink, as the hyperlink's error box words it.
std::string openLinkErrorText(int code);
// The status of an open that ended with `code`: ok above 32, otherwise the
// error of openLinkErrorText.
Status linkStatus(int code);

// The command that opens `link` with a desktop handler whose command line is
// `exec` (a desktop entry's Exec value): the command up to its first file or
// address placeholder (%u, %U, %f or %F; the rest is dropped), then a blank
// and the link quoted. Without a placeholder the link is appended.
std::string handlerCommand(const std::string& exec, const std::string& link);

}  // namespace pelorine::platform
