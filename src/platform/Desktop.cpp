#include "platform/Desktop.h"

#include "base/CommandLine.h"

namespace pelorine::platform {

std::string openLinkErrorText(int code) {
    switch (code) {
        case 0:
            return "The operating system is out\nof memory or resources.";
        case 2:
            return "The specified file was not found.";
        case 3:
            return "The specified path was not found.";
        case 5:
            return "The operating system denied\naccess to the specified file.";
        case 8:
            return "There was not enough memory to complete the operation.";
        case 11:
            return "The  file is invalid\n(non-Win32  or error in  image).";
        case 26:
            return "A sharing violation occurred. ";
        case 27:
            return "The filename association is\nincomplete or invalid.";
        case 28:
            return "The DDE transaction could not\nbe completed because the request timed out.";
        case 29:
            return "The DDE transaction failed.";
        case 30:
            return "The DDE transaction could not\nbe completed because other DDE "
                   "transactions\nwere being processed.";
        case 31:
            return "There is no application associated\nwith the given filename extension.";
        case 32:
            return "The specified dynamic-link library was not found.";
        default:
            return "Unknown Error (" + std::to_string(code) + ") occurred.";
    }
}

Status linkStatus(int code) {
    return code > 32 ? Status::ok() : Status::error(openLinkErrorText(code));
}

std::string handlerCommand(const std::string& exec, const std::string& link) {
    std::string command = exec;
    for (std::size_t i = 0; i + 1 < exec.size(); ++i) {
        const char next = exec[i + 1];
        if (exec[i] == '%' && (next == 'u' || next == 'U' || next == 'f' || next == 'F')) {
            // A placeholder in quotes loses its opening quote too.
            const bool quoted = i > 0 && exec[i - 1] == '"';
            command = exec.substr(0, quoted ? i - 1 : i);
            break;
        }
    }
    while (!command.empty() && (command.back() == ' ' || command.back() == '\t')) {
        command.pop_back();
    }
    return command + " " + quoteArgument(link);
}

}  // namespace pelorine::platform
