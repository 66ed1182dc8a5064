#include "jobs/JobNaming.h"

#include <cstdio>

#include "base/Paths.h"
#include "base/Text.h"
#include "base/TimeText.h"

namespace pelorine {
namespace {

// The seconds of an hh:mm:ss.xx text; fields past the end of the text read as 0.
double secondsOf(const std::string& text) {
    auto field = [&text](std::size_t at) {
        return at < text.size() ? text::leadingInt(std::string_view(text).substr(at, 2)) : 0;
    };
    return field(0) * 3600.0 + field(3) * 60.0 + field(6) + field(9) / 100.0;
}

// Whether `text` is exactly "hh:mm:ss.xx" in digits, minutes and seconds below 60.
bool isClipTime(const std::string& text) {
    static const std::string shape = "dd:dd:dd.dd";
    if (text.size() != shape.size()) {
        return false;
    }
    for (std::size_t i = 0; i < shape.size(); ++i) {
        const bool digit = text[i] >= '0' && text[i] <= '9';
        if (shape[i] == 'd' ? !digit : text[i] != shape[i]) {
            return false;
        }
    }
    return text[3] < '6' && text[6] < '6';
}

Status badTime(const char* row, const std::string& text) {
    return Status::error("\"" + std::string(row) + "\" cannot be \"" + text +
                         "\": write it as hh:mm:ss.xx, for example 00:01:30.00, with minutes and "
                         "seconds below 60.");
}

}  // namespace

std::string randomDigits(const std::function<int()>& random) {
    const int first = random() % 1000;
    const int second = random() % 100;
    char digits[8];
    std::snprintf(digits, sizeof digits, "%03d%02d", first, second);
    return digits;
}

std::string sourceTitle(const std::string& sourcePath) {
    return withoutExtension(fileNameOf(sourcePath));
}

std::string newOutputPath(const JobList& jobs, const std::string& folder, std::string base,
                          const std::string& extension) {
    const std::string prefix = folder.ends_with('/') ? folder : folder + "/";
    for (std::size_t i = 0; i < jobs.count(); ++i) {
        if (jobs.job(i).outputPath == prefix + base + "." + extension) {
            base += "_1";
        }
    }
    return prefix + base + "." + extension;
}

bool hasSource(const JobList& jobs, const std::string& sourcePath) {
    for (std::size_t i = 0; i < jobs.count(); ++i) {
        if (jobs.job(i).sourcePath == sourcePath) {
            return true;
        }
    }
    return false;
}

}  // namespace pelorine

namespace pelorine {

Status checkTypedClip(const std::string& startText, const std::string& endText, double duration,
                      std::pair<double, double>& clip) {
    if (!isClipTime(startText)) {
        return badTime("Start time", startText);
    }
    if (!isClipTime(endText)) {
        return badTime("End time", endText);
    }
    const double start = secondsOf(startText);
    const double end = secondsOf(endText);
    if (!(start < end)) {
        return Status::error("The clip must start before it ends: \"Start time\" " + startText +
                             " is not before \"End time\" " + endText + ".");
    }
    // The end may be the source's end as its time text shows it; a source of
    // unknown length takes any end.
    const std::string whole = timeText(duration);
    if (duration > 0.0 && end > secondsOf(whole)) {
        return Status::error("\"End time\" " + endText + " is after the end of the video (" +
                             whole + ").");
    }
    clip = {start, end};
    return Status::ok();
}

}  // namespace pelorine
