#pragma once
// The engine command line that plays a Job in the preview window: engine
// path, source, the part of the source to play, the Job's channel and volume
// filters, scaling and padding to the window, the player options with the
// window to draw into, and the channel folder. The pieces are literal option
// texts of the engine's language; their blanks are part of the contract.

#include <cstdint>
#include <string>

#include "conversion/EncoderCommandLine.h"
#include "jobs/Job.h"
#include "jobs/JobSettings.h"

namespace pelorine::preview {

// The window the engine draws into: its client size and native id.
struct PreviewTarget {
    int width = 0;
    int height = 0;
    std::uint64_t windowId = 0;
};

// The colour the preview window shows where the picture goes, the value the
// command line's -colorkey names, read as a Windows colour value 0x00BBGGRR:
// red 2, green 1, blue 0.
inline constexpr std::uint32_t kColourKey = 0x000102;

// Plays `job` from `start` to `end` seconds into `target`. Any Job plays:
// settings the encoder would refuse are passed on as they stand.
std::string previewCommandLine(const Job& job, double start, double end,
                               const PreviewTarget& target, const EngineInvocation& invocation);

// The pieces, each exactly as it stands in the command line.
// By the Job's source kind: a file in quotes, a DVD title with its chapters,
// audio and subtitle, or the video CD track; nothing for an unknown kind.
std::string previewSourcePiece(const JobSettings& settings,
                               const std::string& subtitleCodePage = {});
std::string previewSourcePiece(const Job& job);
// " -af channels...", then the volume filter joined to it, or in a chain of
// its own when the channel is "default" (in any case).
std::string previewAudioFilters(const SoundFilters& sound);
std::string previewAudioFilters(const Job& job);
std::string playerOptions(std::uint64_t windowId);

}  // namespace pelorine::preview
