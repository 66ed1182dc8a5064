#include "conversion/BatchLogs.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "jobs/JobNaming.h"

namespace pelorine {
namespace {

// "YYYY-MM-DD_HH-MM-SSZ": 20 characters, digits where the pattern has 'd'.
constexpr std::string_view kNamePattern = "dddd-dd-dd_dd-dd-ddZ";

bool isDigit(char c) {
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

const char* const kFailurePrefixes[] = {"failed: ", "zelvic: "};

}  // namespace

std::string batchFolderName(std::chrono::system_clock::time_point when) {
    using namespace std::chrono;
    const auto seconds = floor<std::chrono::seconds>(when);
    const auto day = floor<days>(seconds);
    const year_month_day date{day};
    const hh_mm_ss time{seconds - day};
    char name[32];
    std::snprintf(name, sizeof name, "%04d-%02u-%02u_%02ld-%02ld-%02ldZ", int(date.year()),
                  unsigned(date.month()), unsigned(date.day()), long(time.hours().count()),
                  long(time.minutes().count()), long(time.seconds().count()));
    return name;
}

bool isBatchFolderName(std::string_view name) {
    if (name.size() < kNamePattern.size()) {
        return false;
    }
    for (std::size_t i = 0; i < kNamePattern.size(); ++i) {
        if (kNamePattern[i] == 'd' ? !isDigit(name[i]) : name[i] != kNamePattern[i]) {
            return false;
        }
    }
    const std::string_view suffix = name.substr(kNamePattern.size());
    return suffix.empty() || (suffix.size() >= 2 && suffix[0] == '-' &&
                              std::all_of(suffix.begin() + 1, suffix.end(), isDigit));
}

std::vector<std::string> batchFoldersToRemove(std::vector<std::string> names, std::size_t keep) {
    names.erase(std::remove_if(names.begin(), names.end(),
                               [](const std::string& name) { return !isBatchFolderName(name); }),
                names.end());
    // The same second with a suffix sorts after the one without, as it started later;
    // suffixes of different lengths compare by length first.
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        const std::string_view stemA = std::string_view(a).substr(0, kNamePattern.size());
        const std::string_view stemB = std::string_view(b).substr(0, kNamePattern.size());
        if (stemA != stemB) {
            return stemA < stemB;
        }
        return a.size() != b.size() ? a.size() < b.size() : a < b;
    });
    if (names.size() <= keep) {
        return {};
    }
    names.resize(names.size() - keep);
    return names;
}

Status startBatchLogs(platform::FileSystem& files, const std::string& logFolder,
                      std::chrono::system_clock::time_point now, std::string& folder) {
    if (Status made = files.createFolders(logFolder); !made) {
        return made;
    }
    const std::string name = batchFolderName(now);
    std::string candidate = logFolder + name;
    for (int n = 2; files.exists(candidate); ++n) {
        candidate = logFolder + name + "-" + std::to_string(n);
    }
    if (Status made = files.createFolders(candidate); !made) {
        return made;
    }
    folder = candidate + "/";
    for (const std::string& old : batchFoldersToRemove(files.listFolder(logFolder), kKeptBatches)) {
        files.removeFolder(logFolder + old);  // an old log that stays does no harm
    }
    return Status::ok();
}

std::string jobLogPath(const std::string& batchFolder, std::size_t row, const Job& job) {
    char place[16];
    std::snprintf(place, sizeof place, "%02zu", row + 1);
    return batchFolder + place + " " + sourceTitle(job.sourcePath) + ".log";
}

std::optional<std::string> engineFailureReason(std::string_view logText) {
    std::optional<std::string> reason;
    std::size_t start = 0;
    while (start < logText.size()) {
        std::size_t end = logText.find('\n', start);
        if (end == std::string_view::npos) {
            end = logText.size();
        }
        std::string_view line = logText.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        for (const char* prefix : kFailurePrefixes) {
            const std::string_view head(prefix);
            if (line.size() > head.size() && line.substr(0, head.size()) == head) {
                reason = std::string(line.substr(head.size()));
            }
        }
        start = end + 1;
    }
    return reason;
}

}  // namespace pelorine
