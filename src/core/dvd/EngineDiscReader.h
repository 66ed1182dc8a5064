#pragma once
// Identify runs of DVD texts for the DVD dialog and Open DVD: each a run of
// its own with its own channel folder, waited for on a helper thread while
// the window keeps painting.

#include <functional>
#include <memory>
#include <string>

#include "dvd/DvdDialogModel.h"
#include "engine/Engine.h"

namespace pelorine {

inline constexpr const char* kDiscUnreadablePrefix = "The DVD could not be read: ";

class EngineDiscReader final : public DiscReader {
public:
    // `keepAlive` is called every few milliseconds while the engine runs.
    EngineDiscReader(Engine& engine, std::function<void()> keepAlive);

    std::unique_ptr<MediaInfo> read(const std::string& mediaText) override;
    // The engine busy, the channel folder unusable, or why the engine could
    // not read the disc as its log says; empty otherwise.
    std::string lastFailure() const override;

private:
    Engine& engine_;
    std::function<void()> keepAlive_;
    IdentifyOutcome outcome_;
};

}  // namespace pelorine
