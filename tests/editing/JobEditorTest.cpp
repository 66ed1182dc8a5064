// The edit operation alone, without a window: one group per kind of change,
// each with a value it refuses or a case in which it changes nothing.

#include "editing/JobEditor.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "support/Recorders.h"

namespace pelorine {
namespace {

using ::testing::ElementsAre;

class JobEditorTest : public ::testing::Test {
protected:
    JobEditorTest() {
        for (const char* name : {"a", "b"}) {
            auto job = testing::plainJob(std::string("/v/") + name + ".avi",
                                         std::string("/out/M4V1234") + name + ".MP4", 300);
            applyProfile(profileFor(kProfileMpeg4Small, rows), *job);
            job->profileIndex = kProfileMpeg4Small;
            job->startText = "00:00:00.00";
            job->endText = "00:05:00.00";
            jobs.append(std::move(job));
        }
        editor.showNoJob(kProfileH264);
    }

    Job& job(std::size_t row) { return jobs.job(row); }
    // The value the result gives the grid for `role` ("" when it gives none).
    static std::string gridValue(const EditResult& result, Row role) {
        for (const ShownRow& row : result.grid.value_or(ShownRows{})) {
            if (row.role == role) {
                return row.item.value;
            }
        }
        return {};
    }
    EditResult type(Row role, const std::string& text) {
        return editor.edit(change::RowText{role, text});
    }

    JobList jobs;
    SettingsRows rows;
    CustomProfile custom;
    JobEditor editor{{jobs, rows, custom}};
};

TEST_F(JobEditorTest, LoadingShowsTheJobAndNoJobShowsTheProfile) {
    const EditResult loaded = editor.load(1);
    EXPECT_EQ(editor.selectedIndex(), 1u);
    EXPECT_TRUE(loaded.quitPreview) << "another Job: the preview ends";
    EXPECT_EQ(loaded.profileBox, kProfileMpeg4Small);
    EXPECT_TRUE(loaded.resetGrid);
    ASSERT_TRUE(loaded.grid);
    EXPECT_EQ(loaded.grid->size(), 16u);
    EXPECT_EQ(loaded.clip, (PreviewClip{0.0, 300.0, false}));
    EXPECT_EQ(loaded.clipDuration, 300.0);
    EXPECT_FALSE(editor.load(1).quitPreview) << "the same Job again";
    EXPECT_FALSE(editor.load(2).grid) << "no Job in that row";

    // The Job the grid shows keeps its place when an earlier one goes.
    editor.jobRemoved(0);
    EXPECT_EQ(editor.selectedIndex(), 0u);
    editor.jobRemoved(0);
    EXPECT_EQ(editor.selectedIndex(), std::nullopt);

    const EditResult none = editor.showNoJob(kProfileMp3);
    EXPECT_TRUE(none.selectNoRow);
    EXPECT_EQ(none.clip, PreviewClip{});
    EXPECT_EQ(none.clipDuration, 0.0);
    ASSERT_TRUE(none.grid);
    EXPECT_EQ(none.grid->size(), 11u);
    EXPECT_EQ(gridValue(none, Row::OutputFormat), "mp3");
}

TEST_F(JobEditorTest, ARowsTextGoesIntoTheJobOrIsRefused) {
    editor.load(0);
    EditResult accepted = type(Row::VideoBitrate, "999");
    EXPECT_EQ(job(0).videoBitrate, "999");
    EXPECT_EQ(accepted.listRow, 0u);
    EXPECT_EQ(accepted.refusal, "");

    const EditResult refused = type(Row::VideoBitrate, "fast");
    EXPECT_EQ(job(0).videoBitrate, "999");
    EXPECT_EQ(refused.refusal,
              "The setting \"Video bitrate\" cannot be \"fast\": please give a whole number of "
              "kbit/s, such as 768.");
    EXPECT_EQ(gridValue(refused, Row::VideoBitrate), "999") << "the value put back";
    EXPECT_FALSE(refused.resetGrid);
    EXPECT_EQ(refused.listRow, std::nullopt);

    // A row is known by its role: a loaded profile may rename it.
    rows.at(Row::AudioBitrate).name = "Sound rate";
    type(Row::AudioBitrate, "96");
    EXPECT_EQ(job(0).audioBitrate, "96");
    // A row a profile made a colour row takes its value, and the Job nothing.
    rows.at(Row::AudioVolume).kind = EditorKind::Colour;
    const EditResult colour = type(Row::AudioVolume, "RGB(1,2,3)");
    EXPECT_EQ(rows.value(Row::AudioVolume), "RGB(1,2,3)");
    EXPECT_EQ(job(0).audioVolume, "default");
    EXPECT_EQ(colour.listRow, std::nullopt);

    // With no Job shown only the rows change.
    const std::vector<Job> before = jobs.snapshot();
    editor.showNoJob(kProfileMpeg4Small);
    EXPECT_EQ(type(Row::VideoBitrate, "1500").listRow, std::nullopt);
    EXPECT_EQ(rows.value(Row::VideoBitrate), "1500");
    EXPECT_EQ(jobs.snapshot(), before);
}

TEST_F(JobEditorTest, TypedClipTimesAreTheClipOrAreRefused) {
    editor.load(0);
    const EditResult typed = editor.edit(change::ClipTimes{"00:01:00.50", "00:02:00.00"});
    EXPECT_EQ(job(0).clipEnabled, 1);
    EXPECT_EQ(job(0).clipStart, 60.5);
    EXPECT_EQ(job(0).clipEnd, 120.0);
    EXPECT_EQ(job(0).startText, "00:01:00.50") << "kept as typed, so a reopened list shows it";
    EXPECT_EQ(job(0).endText, "00:02:00.00");
    EXPECT_EQ(typed.clipTexts,
              std::make_pair(std::string("00:01:00.50"), std::string("00:02:00.00")));
    EXPECT_EQ(typed.clip, (PreviewClip{60.5, 120.0, true}));
    EXPECT_EQ(gridValue(typed, Row::ClipVideo), "yes");

    // One time typed alone is read with the other row.
    type(Row::EndTime, "00:03:00.00");
    EXPECT_EQ(job(0).clipEnd, 180.0);
    EXPECT_EQ(job(0).clipStart, 60.5);

    const EditResult refused = type(Row::StartTime, "00:04:00.00");
    EXPECT_EQ(refused.refusal,
              "The clip must start before it ends: \"Start time\" 00:04:00.00 is not before "
              "\"End time\" 00:03:00.00.");
    EXPECT_EQ(job(0).clipStart, 60.5);
    EXPECT_EQ(gridValue(refused, Row::StartTime), "00:01:00.50") << "the Job's clip again";
    EXPECT_EQ(refused.clip, std::nullopt);
}

TEST_F(JobEditorTest, TheSliderSetsTheClipAndItsTexts) {
    editor.load(0);
    const EditResult moved = editor.edit(change::SliderRange{10.0, 20.0});
    EXPECT_EQ(job(0).clipEnabled, 1);
    EXPECT_EQ(job(0).startText, "00:00:10.00");
    EXPECT_EQ(job(0).endText, "00:00:20.00");
    EXPECT_EQ(moved.clip, (PreviewClip{10.0, 20.0, true}));
    EXPECT_EQ(gridValue(moved, Row::ClipVideo), "yes");
    EXPECT_EQ(gridValue(moved, Row::EndTime), "00:00:20.00");

    // Refused unheard: the slider goes back to the Job's clip, the Job stays.
    const EditResult before = editor.shownBefore(change::SliderRange{30.0, 40.0});
    EXPECT_EQ(before.clip, (PreviewClip{10.0, 20.0, true}));
    EXPECT_EQ(before.clipDuration, 300.0);
    EXPECT_EQ(before.profileBox, std::nullopt);
    EXPECT_EQ(job(0).clipStart, 10.0);

    // With no Job shown, a slider moves nothing.
    editor.showNoJob(kProfileMpeg4Small);
    EXPECT_EQ(editor.edit(change::SliderRange{5.0, 6.0}).clip, std::nullopt);
}

TEST_F(JobEditorTest, ClipVideoNoRestoresTheWholeSourceYesOnlyTheFlag) {
    editor.load(0);
    editor.edit(change::SliderRange{10.0, 20.0});
    const EditResult off = editor.edit(change::ClipVideo{false});
    EXPECT_EQ(job(0).clipEnabled, 0);
    EXPECT_EQ(job(0).clipEnd, 300.0);
    EXPECT_EQ(job(0).startText, "00:00:00.00") << "the whole source, as the row shows it";
    EXPECT_EQ(job(0).endText, "00:05:00.00");
    EXPECT_EQ(off.clipTexts,
              std::make_pair(std::string("00:00:00.00"), std::string("00:05:00.00")));
    EXPECT_EQ(off.clip, (PreviewClip{0.0, 300.0, false}));

    editor.edit(change::ClipVideo{true});
    EXPECT_EQ(job(0).clipEnabled, 1);
    EXPECT_EQ(job(0).clipStart, 0.0);

    // A value the engine cannot use, left in the rows by a profile file, is
    // refused when the rows are next copied, and the Job keeps its own.
    rows.set(Row::Split, "soon");
    const EditResult refused = editor.edit(change::ClipVideo{false});
    EXPECT_THAT(refused.refusal, ::testing::StartsWith("The setting \"Split\" cannot be \"soon\""));
    EXPECT_EQ(gridValue(refused, Row::Split), "Not split");
}

TEST_F(JobEditorTest, TheOutputFormatGoesIntoTheJobShownOnly) {
    editor.load(1);
    EXPECT_EQ(editor.edit(change::OutputFormat{"mp4"}).listRow, 1u);
    EXPECT_EQ(job(1).outputFormat, "mp4");
    editor.showNoJob(kProfileMp3);
    const std::vector<Job> before = jobs.snapshot();
    EXPECT_EQ(editor.edit(change::OutputFormat{"mp3"}).listRow, std::nullopt);
    EXPECT_EQ(jobs.snapshot(), before);
}

TEST_F(JobEditorTest, AProfileChoiceRenamesTheJobAndClearsItsClip) {
    editor.load(0);
    editor.edit(change::SliderRange{10.0, 20.0});
    const EditResult chosen = editor.edit(change::ProfileChoice{kProfileMp3});
    EXPECT_EQ(job(0).profileIndex, kProfileMp3);
    EXPECT_EQ(job(0).outputPath, "/out/M4V1234a.mp3");
    EXPECT_EQ(job(0).clipEnabled, 0);
    EXPECT_TRUE(chosen.resetGrid);
    EXPECT_EQ(chosen.grid->size(), 11u);
    EXPECT_EQ(chosen.clip, (PreviewClip{0.0, 300.0, false}));
    EXPECT_EQ(chosen.clipTexts,
              std::make_pair(std::string("00:00:00.00"), std::string("00:05:00.00")));

    // The same profile again changes nothing; refused unheard, the box goes
    // back to the profile it showed.
    EXPECT_FALSE(editor.edit(change::ProfileChoice{kProfileMp3}).grid);
    EXPECT_EQ(editor.shownBefore(change::ProfileChoice{kProfileH264}).profileBox, kProfileMp3);
    // The customised profile before any profile file has no rows to show.
    EXPECT_FALSE(editor.edit(change::ProfileChoice{kProfileCustom}).grid);
}

TEST_F(JobEditorTest, ALoadedProfileBecomesTheCustomisedOneAndTheJobs) {
    editor.load(0);
    change::LoadedProfile loaded{SettingsRows().items()};
    loaded.rows[static_cast<std::size_t>(Row::VideoCodec)].value = "h264";
    loaded.rows[static_cast<std::size_t>(Row::VideoBitrate)].value = "400";
    const EditResult result = editor.edit(loaded);
    EXPECT_TRUE(result.customProfile);
    EXPECT_EQ(custom.format, "mp4");
    EXPECT_EQ(job(0).profileIndex, kProfileCustom);
    EXPECT_EQ(job(0).videoCodec, "h264");
    EXPECT_EQ(job(0).outputPath, "/out/M4V1234a.mp4") << "only the extension changes";
    EXPECT_TRUE(result.resetGrid);
    EXPECT_EQ(result.grid->size(), 18u) << "with the quantizer rows";

    // A format the grid cannot show: the rows it shows take the new values.
    loaded.rows[static_cast<std::size_t>(Row::OutputFormat)].value = "ogg";
    const EditResult odd = editor.edit(loaded);
    EXPECT_FALSE(odd.resetGrid);
    EXPECT_EQ(gridValue(odd, Row::OutputFormat), "ogg");
}

TEST_F(JobEditorTest, AnOutputNameRenamesTheJobOfItsRow) {
    const EditResult named = editor.edit(change::OutputName{1, "holiday"});
    EXPECT_EQ(job(1).outputPath, "/out/holiday.mp4");
    EXPECT_EQ(named.listRow, 1u);
    EXPECT_EQ(editor.edit(change::OutputName{5, "gone"}).listRow, std::nullopt);
    EXPECT_THAT(std::vector<std::string>({job(0).outputPath, job(1).outputPath}),
                ElementsAre("/out/M4V1234a.MP4", "/out/holiday.mp4"));
}

}  // namespace
}  // namespace pelorine
