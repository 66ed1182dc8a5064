#include "CommandLines.h"

#include "base/CommandLine.h"
#include "conversion/EncoderCommandLine.h"

namespace zelvic::test {

namespace {

// The Job's record as the converter stores it.
pelorine::Job recordOf(const JobLine& line) {
    pelorine::Job job;
    job.sourcePath = line.source;
    job.outputPath = line.output;
    job.outputFormat = line.format;
    job.videoCodec = line.videoCodec;
    job.videoSize = line.videoSize;
    job.videoFrameRate = line.videoFrameRate;
    job.videoBitrate = line.videoBitrate;
    job.videoDisabled = line.videoDisabled;
    job.audioSampleRate = line.audioSampleRate;
    job.audioBitrate = line.audioBitrate;
    job.audioChannel = line.audioChannel;
    job.audioVolume = line.audioVolume;
    job.audioDisabled = line.audioDisabled;
    job.quantizerMin = line.quantizerMin;
    job.quantizerMax = line.quantizerMax;
    job.sourceWidth = line.sourceWidth;
    job.sourceHeight = line.sourceHeight;
    if (line.dvdTitle > 0) {
        job.sourcePath = "DVD_DRIVE_" + line.source;
        job.isDvd = 1;
        job.dvdTitle = line.dvdTitle;
        job.dvdChapterFirst = line.dvdChapterFirst;
        job.dvdChapterLast = line.dvdChapterLast;
        job.dvdAudioId = line.dvdAudioId;
        job.dvdSubtitleId = line.dvdSubtitleId;
    }
    return job;
}

}  // namespace

std::string composeCommandLine(const JobLine& line) {
    // The converter's own composer, so the engine is tested on exactly what
    // it will be given.
    const pelorine::JobSettings job = pelorine::jobSettingsOf(recordOf(line));
    using pelorine::EncoderCommandLine;
    return EncoderCommandLine::sourcePiece(job) + EncoderCommandLine::mediaPiece(job) +
           line.tracks + line.timing + EncoderCommandLine::launchTail(line.output, line.folder) +
           (line.thumbnail ? EncoderCommandLine::thumbnailPiece(line.output) : "");
}

std::vector<std::string> splitCommandLine(const std::string& text) {
    return pelorine::splitCommandLine(text);
}

}  // namespace zelvic::test
