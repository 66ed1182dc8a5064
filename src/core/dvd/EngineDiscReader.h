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

class EngineDiscReader final : public DiscReader {
public:
    // `keepAlive` is called every few milliseconds while the engine runs.
    EngineDiscReader(Engine& engine, std::function<void()> keepAlive);

    std::unique_ptr<MediaInfo> read(const std::string& mediaText) override;
    // The engine busy, or the channel folder unusable; empty otherwise.
    std::string lastFailure() const override;

private:
    Engine& engine_;
    std::function<void()> keepAlive_;
    IdentifyOutcome outcome_;
};

}  // namespace pelorine
