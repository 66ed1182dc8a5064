#include "preview/PreviewCommandLine.h"

#include "base/CommandLine.h"
#include "base/Text.h"
#include "engine/Engine.h"

namespace pelorine::preview {
namespace {

enum SourceKind : std::int32_t { kFileSource = 0, kDvdSource = 1, kVideoCdSource = 2 };

// The optical drive a video CD is played from.
constexpr const char* kVideoCdPiece = " vcd://2 -cdrom-device /dev/sr0 ";

}  // namespace

std::string previewSourcePiece(const Job& job) {
    switch (job.isDvd) {
        case kFileSource:
            return " " + quoteArgument(job.sourcePath) + " ";
        case kDvdSource: {
            std::string piece = " -dvd-device  " + EncoderCommandLine::dvdDevice(job) + " dvd://" +
                                std::to_string(job.dvdTitle) + " -chapter " +
                                std::to_string(job.dvdChapterFirst) + "-" +
                                std::to_string(job.dvdChapterLast) + " ";
            if (job.dvdAudioId >= 0) {
                piece += " -aid " + std::to_string(job.dvdAudioId) + " ";
            }
            if (job.dvdSubtitleId >= 0) {
                piece += " -sid " + std::to_string(job.dvdSubtitleId) + " ";
            }
            return piece;
        }
        case kVideoCdSource:
            return kVideoCdPiece;
        default:
            return {};
    }
}

std::string previewAudioFilters(const Job& job) {
    const bool channel = text::lower(job.audioChannel) != "default";
    std::string piece;
    if (channel) {
        piece = " -af " + EncoderCommandLine::channelFilter(job.audioChannel);
    }
    if (job.audioVolume != "default") {
        piece += (channel ? "," : "  -af  ") + EncoderCommandLine::volumeFilter(job.audioVolume);
    }
    return piece;
}

std::string playerOptions(std::uint64_t windowId) {
    return " -framedrop  -autosync 0 -mc 0 -slave -wid " + std::to_string(windowId) +
           " -colorkey 0x000102 -keepaspect -priority abovenormal -ao dsound -vo directx:noaccel ";
}

std::string previewCommandLine(const Job& job, double start, double end,
                               const PreviewTarget& target, const EngineInvocation& invocation) {
    return quoteArgumentIfNeeded(invocation.enginePath) + previewSourcePiece(job) +
           EncoderCommandLine::timing(start, end - start) + previewAudioFilters(job) +
           EncoderCommandLine::scalingPiece(target.width, target.height, job.sourceWidth,
                                            job.sourceHeight) +
           playerOptions(target.windowId) + channelFolderPiece(invocation.channelFolder);
}

}  // namespace pelorine::preview
