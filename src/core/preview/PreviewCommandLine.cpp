#include "preview/PreviewCommandLine.h"

#include "base/CommandLine.h"
#include "engine/Engine.h"

namespace pelorine::preview {
namespace {

// The optical drive a video CD is played from.
constexpr const char* kVideoCdPiece = " vcd://2 -cdrom-device /dev/sr0 ";

}  // namespace

// The preview plays the source as the record's kind says, whatever its path.
std::string previewSourcePiece(const JobSettings& settings, const std::string& subtitleCodePage) {
    const JobSource& source = settings.source;
    switch (source.kind) {
        case SourceKind::File:
            return " " + quoteArgument(source.path) + " " +
                   EncoderCommandLine::fileStreamsPiece(source.file, subtitleCodePage);
        case SourceKind::DvdTitle:
            return " -dvd-device  " + quoteArgument(source.disc.value_or(source.path)) + " dvd://" +
                   std::to_string(source.dvd.title) + " -chapter " +
                   std::to_string(source.dvd.firstChapter) + "-" +
                   std::to_string(source.dvd.lastChapter) + " " +
                   EncoderCommandLine::dvdStreamsPiece(source.dvd);
        case SourceKind::VideoCd:
            return kVideoCdPiece;
        case SourceKind::Unknown:
            break;
    }
    return {};
}

std::string previewSourcePiece(const Job& job) {
    return previewSourcePiece(jobSettingsOf(job));
}

std::string previewAudioFilters(const SoundFilters& sound) {
    const bool channel = sound.channel != AudioChannel::Default;
    std::string piece;
    if (channel) {
        piece = " -af " + EncoderCommandLine::channelFilter(sound.channel);
    }
    if (sound.volume.kind != Volume::Kind::Default) {
        piece += (channel ? "," : "  -af  ") + EncoderCommandLine::volumeFilter(sound.volume);
    }
    return piece;
}

std::string previewAudioFilters(const Job& job) {
    return previewAudioFilters(jobSettingsOf(job).sound);
}

std::string playerOptions(std::uint64_t windowId) {
    return " -framedrop  -autosync 0 -mc 0 -slave -wid " + std::to_string(windowId) +
           " -colorkey 0x000102 -keepaspect -priority abovenormal -ao dsound -vo directx:noaccel ";
}

std::string previewCommandLine(const Job& job, double start, double end,
                               const PreviewTarget& target, const EngineInvocation& invocation) {
    const JobSettings settings = jobSettingsOf(job);
    return quoteArgumentIfNeeded(invocation.enginePath) +
           previewSourcePiece(settings, invocation.subtitleCodePage) +
           EncoderCommandLine::timing(start, end - start) + previewAudioFilters(settings.sound) +
           EncoderCommandLine::scalingPiece(target.width, target.height, settings.source.width,
                                            settings.source.height) +
           playerOptions(target.windowId) + channelFolderPiece(invocation.channelFolder);
}

}  // namespace pelorine::preview
