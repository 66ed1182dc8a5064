#include "dvd/EngineDiscReader.h"

#include <chrono>
#include <future>

namespace pelorine {

EngineDiscReader::EngineDiscReader(Engine& engine, std::function<void()> keepAlive)
    : engine_(engine), keepAlive_(std::move(keepAlive)) {}

std::unique_ptr<MediaInfo> EngineDiscReader::read(const std::string& mediaText) {
    auto pending = std::async(std::launch::async,
                              [this, mediaText] { return engine_.identify(mediaText, true); });
    while (pending.wait_for(std::chrono::milliseconds(10)) != std::future_status::ready) {
        if (keepAlive_) {
            keepAlive_();
        }
    }
    outcome_ = pending.get();
    if (outcome_.result != IdentifyResult::Identified || !outcome_.info) {
        return nullptr;
    }
    return std::make_unique<MediaInfo>(*outcome_.info);
}

std::string EngineDiscReader::lastFailure() const {
    const bool special =
        outcome_.result == IdentifyResult::EngineBusy || outcome_.result == IdentifyResult::Failed;
    return special ? outcome_.detail.message() : std::string();
}

}  // namespace pelorine
