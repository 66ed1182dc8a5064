#include "base/Paths.h"

namespace pelorine {
namespace {

constexpr char kSeparator = '/';

// The position of the last dot of the file name, or npos.
std::size_t extensionDot(std::string_view path) {
    const auto dot = path.rfind('.');
    const auto separator = path.rfind(kSeparator);
    if (dot == std::string_view::npos || (separator != std::string_view::npos && dot < separator)) {
        return std::string_view::npos;
    }
    return dot;
}

}  // namespace

std::string folderOf(std::string_view path) {
    const auto separator = path.rfind(kSeparator);
    return separator == std::string_view::npos ? std::string()
                                               : std::string(path.substr(0, separator));
}

std::string folderWithSeparatorOf(std::string_view path) {
    const auto separator = path.rfind(kSeparator);
    return separator == std::string_view::npos ? std::string()
                                               : std::string(path.substr(0, separator + 1));
}

std::string fileNameOf(std::string_view path) {
    const auto separator = path.rfind(kSeparator);
    return std::string(separator == std::string_view::npos ? path : path.substr(separator + 1));
}

std::string extensionOf(std::string_view path) {
    const auto dot = extensionDot(path);
    return dot == std::string_view::npos ? std::string() : std::string(path.substr(dot + 1));
}

std::string withoutExtension(std::string_view path) {
    return std::string(path.substr(0, extensionDot(path)));
}

}  // namespace pelorine
