#pragma once
// How large a Job's output will be, before it is converted: the video and
// audio bitrates over the length converted (the whole source or the clip),
// plus what the container adds, measured on real outputs. Split Jobs count
// every part with its own container. The encoders meet their bitrates on
// real video; still pictures and cartoons come out smaller. An MP4 part's
// container, measured on the engine's outputs, is 2 KB of headers and 640
// bytes of index per second of picture and sound; an MP3 has none.

#include <cstdint>

#include "jobs/Job.h"
#include "jobs/JobSettings.h"

namespace pelorine {

struct OutputEstimate {
    std::uint64_t bytes = 0;  // every part together
    int parts = 1;
    double seconds = 0;  // the length converted
};

OutputEstimate estimateOutput(const JobSettings& settings);
OutputEstimate estimateOutput(const Job& job);

}  // namespace pelorine
