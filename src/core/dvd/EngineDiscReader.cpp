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
    switch (outcome_.result) {
        case IdentifyResult::EngineBusy:
        case IdentifyResult::Failed:
            return outcome_.detail.message();
        case IdentifyResult::NotIdentified:
            // A scrambled disc, a missing title: the engine knows best.
            if (!outcome_.engineReason.empty()) {
                return kDiscUnreadablePrefix + outcome_.engineReason + ".";
            }
            return outcome_.detail ? std::string() : outcome_.detail.message();
        case IdentifyResult::Identified:
            break;
    }
    return {};
}

}  // namespace pelorine
