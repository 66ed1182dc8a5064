#include "settings/JobsAtOnceSetting.h"

namespace pelorine {

std::optional<int> jobsAtOnceNamed(std::string_view text) {
    if (text.size() != 1 || text[0] < '0' || text[0] - '0' > JobsAtOnceSetting::kMost) {
        return std::nullopt;
    }
    return text[0] - '0';
}

JobsAtOnceSetting::JobsAtOnceSetting(platform::FileSystem& files, std::string filePath)
    : file_(files, std::move(filePath), kSection) {}

void JobsAtOnceSetting::read() {
    value_ = jobsAtOnceNamed(file_.read().value(kKey, "0")).value_or(kAuto);
}

Status JobsAtOnceSetting::set(int value) {
    value_ = value >= 1 && value <= kMost ? value : kAuto;
    if (file_.filePath().empty()) {
        return Status::ok();
    }
    return file_.write({{kKey, std::to_string(value_)}});
}

}  // namespace pelorine
