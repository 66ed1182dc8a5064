#include "keeping/KeepSetting.h"

namespace pelorine {

KeepSetting::KeepSetting(platform::FileSystem& files, std::string filePath)
    : file_(files, std::move(filePath), kSection) {}

void KeepSetting::read() {
    on_ = file_.read().value(kKey, "0") != "0";
}

Status KeepSetting::set(bool on) {
    on_ = on;
    return file_.write({{kKey, on ? "1" : "0"}});
}

}  // namespace pelorine
