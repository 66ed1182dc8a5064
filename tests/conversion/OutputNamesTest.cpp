// The names of the files a Job writes, as the list shows them and the engine
// is told them.

#include "conversion/OutputNames.h"

#include <gtest/gtest.h>

#include "conversion/EncoderCommandLine.h"
#include "conversion/PartFiles.h"

namespace pelorine {
namespace {

Job jobWriting(const std::string& outputPath, const std::string& format, const std::string& split,
               bool clip) {
    Job job;
    job.outputPath = outputPath;
    job.outputFormat = format;
    job.split = split;
    job.clipEnabled = clip ? 1 : 0;
    return job;
}

TEST(OutputNames, WhatEachKindOfJobWrites) {
    struct Case {
        Job job;
        const char* first;
        const char* cell;
    };
    const Case cases[] = {
        // Whole: the extension is the format as stored, whatever the name had.
        {jobWriting("/out/M4V75836.MP4", "mp4", "Not split", false), "/out/M4V75836.mp4",
         "/out/M4V75836.mp4"},
        // A clip that is not split writes the output path as it stands.
        {jobWriting("/out/M4V75836.MP4", "mp4", "Not split", true), "/out/M4V75836.MP4",
         "/out/M4V75836.MP4"},
        // Split, with or without a clip: numbered parts.
        {jobWriting("/out/M4V75836.MP4", "mp4", "00:10:00", false), "/out/M4V75836_clip_1.mp4",
         "/out/M4V75836_clip_1.mp4, _clip_2.mp4, ..."},
        {jobWriting("/out/M4V75836.MP4", "mp4", "650 MB", true), "/out/M4V75836_clip_1.mp4",
         "/out/M4V75836_clip_1.mp4, _clip_2.mp4, ..."},
        // MP3 outputs are never split.
        {jobWriting("/out/song.MP3", "mp3", "00:10:00", false), "/out/song.mp3", "/out/song.mp3"},
        // A dot in a folder is no extension.
        {jobWriting("/my.videos/clip", "mp4", "NOT SPLIT", false), "/my.videos/clip.mp4",
         "/my.videos/clip.mp4"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(firstOutputPath(jobSettingsOf(c.job)), c.first)
            << c.job.outputPath << " " << c.job.split;
        EXPECT_EQ(outputCellText(c.job), c.cell) << c.job.outputPath << " " << c.job.split;
    }
}

// The command line, the list and the clean-up of old parts agree on the names.
TEST(OutputNames, TheCommandLineAndThePartFinderUseTheSameNames) {
    const Job job = jobWriting("/out/M4V75836.MP4", "mp4", "650 MB", false);
    const EncoderCommandLine line(job, {});
    EXPECT_EQ(line.firstOutput(), firstOutputPath(jobSettingsOf(job)));
    EXPECT_EQ(line.partFileName(3), partOutputPath(outputBasePath(job.outputPath), 3, "mp4"));
    EXPECT_EQ(partFileKind("M4V75836_clip_3.mp4", "M4V75836", "mp4"), PartFileKind::Final);
    EXPECT_EQ(partFileKind("M4V75836_clip_3.MP4", "M4V75836", "mp4"), std::nullopt)
        << "a name in another case is another file";
}

}  // namespace
}  // namespace pelorine
