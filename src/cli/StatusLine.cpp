#include "cli/StatusLine.h"

#include <algorithm>
#include <cmath>

#include "base/Text.h"

namespace pelorine::cli {
namespace {

bool continuation(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// At most `bytes` bytes from the front of `text`, never half a UTF-8 character.
std::string front(const std::string& text, std::size_t bytes) {
    if (bytes >= text.size()) {
        return text;
    }
    while (bytes > 0 && continuation(text[bytes])) {
        --bytes;
    }
    return text.substr(0, bytes);
}

// At most `bytes` bytes from the end of `text`, never half a UTF-8 character.
std::string back(const std::string& text, std::size_t bytes) {
    if (bytes >= text.size()) {
        return text;
    }
    std::size_t start = text.size() - bytes;
    while (start < text.size() && continuation(text[start])) {
        ++start;
    }
    return text.substr(start);
}

}  // namespace

std::string statusText(const JobStatus& status, std::size_t width) {
    std::string tail = "  " + std::to_string(status.percent) + "%";
    if (status.speed) {
        tail += "  " + text::fixed1(*status.speed) + "x real time";
    }
    if (status.secondsLeft) {
        tail += "  " + durationText(*status.secondsLeft) + " left";
    }
    const std::string head =
        "[" + std::to_string(status.number) + "/" + std::to_string(status.count) + "] ";
    std::string name = status.name;
    const std::size_t room =
        width > head.size() + tail.size() ? width - head.size() - tail.size() : 0;
    if (name.size() > room) {
        // Keep both ends of the name; the end usually tells the files apart.
        const std::size_t keep = room > 3 ? room - 3 : 0;
        name = room > 3 ? front(name, keep / 2) + "..." + back(name, keep - keep / 2) : "";
    }
    return front(head + name + tail, width);
}

std::string statusText(const BatchStatus& status, std::size_t width) {
    std::string tail = "total " + std::to_string(status.percent) + "%";
    if (status.secondsLeft) {
        tail += "  " + durationText(*status.secondsLeft) + " left";
    }
    std::string head;
    for (const auto& [number, percent] : status.jobs) {
        const std::string job = "[" + std::to_string(number) + "/" + std::to_string(status.count) +
                                "] " + std::to_string(percent) + "%  ";
        if (head.size() + job.size() + tail.size() > width) {
            break;
        }
        head += job;
    }
    return front(head + tail, width);
}

template <typename Fit>
std::string StatusPrinter::draw(Fit fit, std::size_t key, int tenth) {
    if (terminal_) {
        const std::string text = fit(width_ > 1 ? width_ - 1 : width_);
        if (shown_ && text == last_) {
            return {};
        }
        last_ = text;
        shown_ = true;
        return "\r" + text + "\x1b[K";
    }
    if (key == lastJob_ && tenth == lastTenth_) {
        return {};
    }
    lastJob_ = key;
    lastTenth_ = tenth;
    return fit(200) + "\n";
}

std::string StatusPrinter::update(const JobStatus& status) {
    return draw([&](std::size_t width) { return statusText(status, width); }, status.number,
                status.percent / 10);
}

std::string StatusPrinter::update(const BatchStatus& status) {
    return draw([&](std::size_t width) { return statusText(status, width); }, 0,
                status.percent / 10);
}

std::string StatusPrinter::clear() {
    if (!terminal_ || !shown_) {
        return {};
    }
    shown_ = false;
    last_.clear();
    return "\r\x1b[K";
}

}  // namespace pelorine::cli
