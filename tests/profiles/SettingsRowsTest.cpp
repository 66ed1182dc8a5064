#include "profiles/SettingsRows.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "support/Recorders.h"

namespace pelorine {
namespace {

std::vector<std::string> names(const std::vector<PropertyItem*>& shown) {
    std::vector<std::string> out;
    for (const PropertyItem* item : shown) {
        out.push_back(item->name);
    }
    return out;
}

Job jobOf(int profile, const std::string& output) {
    Job job = *testing::plainJob("/v/a.avi", output, 90.5);
    applyProfile(profileFor(profile, SettingsRows()), job);
    job.clipEnabled = 1;
    job.clipStart = 10;
    job.clipEnd = 20;
    return job;
}

TEST(SettingsRows, StartWithSixteenRowsAndTheirInitialValues) {
    SettingsRows rows;
    EXPECT_EQ(rows.items()[15].name, "Audio disabled");
    EXPECT_EQ(rows.value(Row::QuantizerMin), "20");
    EXPECT_EQ(rows.at(Row::VideoBitrate).fixedList, 0);
    EXPECT_EQ(rows.at(Row::VideoCodec).fixedList, 1);
    EXPECT_EQ(rows.at(Row::StartTime).kind, EditorKind::Edit);
    EXPECT_THAT(optionEntries(rows.at(Row::Split).options),
                ::testing::ElementsAre("Not split", "00:10:00", "00:20:00", "650 MB", "700 MB",
                                       "800 MB", "4.7 GB"));
}

TEST(SettingsRows, AProfileWithoutASelectedJobChangesOnlyTheGrid) {
    SettingsRows rows;
    const auto shown = showProfile(kProfileMpeg4Wide, rows, nullptr, CustomProfile{});
    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->size(), 16u);
    EXPECT_EQ(rows.value(Row::VideoSize), "480x272");
    EXPECT_EQ(rows.value(Row::EndTime), "00:00:00.00");
}

TEST(SettingsRows, TheH264ProfileShowsTheJobsQuantizersAfterTheCodec) {
    SettingsRows rows;
    Job job = jobOf(kProfileMpeg4Small, "/v/M4V12345.MP4");
    job.quantizerMin = "4";
    job.quantizerMax = "28";
    const auto shown = showProfile(kProfileH264, rows, &job, CustomProfile{});
    ASSERT_TRUE(shown);
    ASSERT_EQ(shown->size(), 18u);
    EXPECT_EQ((*shown)[5]->name, "Video codec");
    EXPECT_EQ((*shown)[6]->name, "quantizer min");
    EXPECT_EQ((*shown)[7]->name, "quantizer max");
    EXPECT_EQ(rows.value(Row::QuantizerMin), "4");
    EXPECT_EQ(rows.value(Row::VideoBitrate), "768");
    EXPECT_EQ(rows.value(Row::EndTime), "00:01:30.50");
}

TEST(SettingsRows, ProfileChangesRenameTheOutputAndClearTheClip) {
    SettingsRows rows;
    Job job = jobOf(kProfileMpeg4Small, "/v/M4V12345.MP4");
    const std::string videoSize = job.videoSize;
    showProfile(kProfileMp3, rows, &job, CustomProfile{});
    applyProfileToJob(job, kProfileMp3, rows, CustomProfile{});
    EXPECT_EQ(job.outputPath, "/v/M4V12345.mp3");
    EXPECT_EQ(job.outputFormat, "mp3");
    EXPECT_EQ(job.videoSize, videoSize) << "the video fields are kept";
    EXPECT_EQ(job.clipEnabled, 0);
    EXPECT_EQ(job.clipStart, 0.0);
    EXPECT_EQ(job.clipEnd, 90.5);
    EXPECT_EQ(job.endText, "00:01:30.50");

    job.outputPath = "/v/song.mp3";
    showProfile(kProfileMpeg4Small, rows, &job, CustomProfile{});
    applyProfileToJob(job, kProfileMpeg4Small, rows, CustomProfile{});
    EXPECT_EQ(job.outputPath, "/v/M4VG.MP4");
    EXPECT_EQ(renameForProfile("/v/M4V12345.MP4", kProfileH264, {}), "/v/MAQ12345.MP4");
    EXPECT_EQ(renameForProfile("/my.v/ab", kProfileH264, {}), "/my.v/.MP4") << "short names";
}

TEST(SettingsRows, ACustomisedProfileShowsItsStoredRows) {
    CustomProfile custom;
    custom.format = "mp4";
    custom.rows.set(Row::VideoCodec, "h264|", "h264");
    custom.rows.set(Row::VideoSize, "368x208");
    SettingsRows rows;
    const auto shown = showProfile(kProfileCustom, rows, nullptr, custom);
    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->size(), 18u);
    EXPECT_EQ(rows.value(Row::VideoSize), "368x208");
    EXPECT_EQ(rows.at(Row::VideoBitrate).options, "100|200|400|500|600|768|");
    EXPECT_EQ(renameForProfile("/v/m4v12345.mp4", kProfileCustom, custom), "/v/MAQ12345.MP4");

    custom.format = "avi";
    EXPECT_FALSE(showProfile(kProfileCustom, rows, nullptr, custom));
}

TEST(SettingsRows, AClickedJobIsShownUnderItsOwnProfile) {
    SettingsRows rows;
    Job job = jobOf(kProfileMp3, "/v/clip.MP3");
    job.startText = "00:00:10.00";
    const auto shown = showJob(job, rows, CustomProfile{});
    ASSERT_TRUE(shown);
    EXPECT_THAT(names(*shown),
                ::testing::ElementsAre("Clip video", "Start time", "End time", "Output format",
                                       "Split", "Audio codec", "Audio sample", "Audio bitrate",
                                       "Audio channel", "Audio volume", "Audio disabled"));
    EXPECT_EQ(rows.value(Row::ClipVideo), "yes");
    EXPECT_EQ(rows.value(Row::StartTime), "00:00:10.00");
    EXPECT_EQ(rows.value(Row::AudioCodec), "mp3");
}

// Whatever profile the store holds now, or none: a customised Job's own format
// decides its rows, so that no other Job's rows are left in the grid.
TEST(SettingsRows, ACustomisedJobIsShownInItsOwnFormat) {
    CustomProfile none;
    CustomProfile song;
    song.format = "mp3";
    Job video = jobOf(kProfileCustom, "/v/MAQ1.mp4");
    video.videoCodec = "h264";
    video.videoBitrate = "400";
    for (const CustomProfile* store : {&none, &song}) {
        SettingsRows rows;
        const auto shown = showJob(video, rows, *store);
        ASSERT_TRUE(shown);
        EXPECT_EQ(shown->size(), 18u);
        EXPECT_EQ(rows.value(Row::VideoCodec), "h264");
        EXPECT_EQ(rows.value(Row::VideoBitrate), "400");
    }
    Job audio = jobOf(kProfileCustom, "/v/a.mp3");
    audio.outputFormat = "mp3";
    SettingsRows rows;
    ASSERT_TRUE(showJob(audio, rows, none));
    EXPECT_EQ(rows.value(Row::OutputFormat), "mp3");
    audio.outputFormat = "avi";
    EXPECT_FALSE(showJob(audio, rows, song));
}

TEST(SettingsRows, GridValuesGoBackIntoTheJob) {
    SettingsRows rows;
    Job job = jobOf(kProfileH264, "/v/MAQ1.MP4");
    rows.set(Row::ClipVideo, "No");
    rows.set(Row::VideoBitrate, "999");
    copyRowsToJob(rows, job);
    EXPECT_EQ(job.clipEnabled, 0) << "compared in lower case";
    EXPECT_EQ(job.videoBitrate, "999");
    rows.set(Row::ClipVideo, "yes");
    copyRowsToJob(rows, job);
    EXPECT_EQ(job.clipEnabled, 1);
}

TEST(SettingsRows, NewJobsTakeTheirProfilesSettings) {
    SettingsRows rows;
    Job job;
    applyProfile(profileFor(kProfileH264, rows), job);
    EXPECT_EQ(job.videoCodec, "h264");
    EXPECT_EQ(job.videoBitrate, "1200") << "new Jobs keep their own values";
    EXPECT_EQ(outputPrefix(kProfileH264, rows), "MAQ");
    EXPECT_EQ(outputPrefix(kProfileMp3, rows), std::nullopt);
    rows.set(Row::VideoCodec, "MP3");
    EXPECT_EQ(outputPrefix(kProfileCustom, rows), std::nullopt);
    rows.set(Row::VideoCodec, "xvid");
    EXPECT_EQ(outputPrefix(kProfileCustom, rows), "");
}

}  // namespace
}  // namespace pelorine
