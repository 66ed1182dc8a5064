#pragma once
// The eighteen settings rows of the main window and what each profile shows
// in them: the vocabulary between the settings grid, the Jobs and the engine.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/Status.h"
#include "jobs/Job.h"
#include "profiles/Profile.h"
#include "profiles/PropertyItem.h"

namespace pelorine {

// The rows by their role. A row keeps its role whatever caption it shows: a
// loaded profile file may rename rows.
enum class Row : std::uint8_t {
    ClipVideo,
    StartTime,
    EndTime,
    OutputFormat,
    Split,
    VideoCodec,
    VideoSize,
    VideoFrameRate,
    VideoBitrate,
    VideoDisabled,
    AudioCodec,
    AudioSample,
    AudioBitrate,
    AudioChannel,
    AudioVolume,
    AudioDisabled,
    QuantizerMin,
    QuantizerMax,
};

// The caption a row is created with ("Clip video", "quantizer min").
const char* captionOf(Row row);

// The rows, in their fixed order; their addresses never change, so the grid
// may keep pointers to them.
class SettingsRows {
public:
    static constexpr std::size_t kCount = 18;

    // The rows with their initial values.
    SettingsRows();

    // The row of `role`, whatever caption it shows now.
    PropertyItem& at(Row role) { return items_[static_cast<std::size_t>(role)]; }
    const PropertyItem& at(Row role) const { return items_[static_cast<std::size_t>(role)]; }
    const std::string& value(Row role) const { return at(role).value; }
    void set(Row role, std::string value) { at(role).value = std::move(value); }
    void set(Row role, std::string options, std::string value);

    std::array<PropertyItem, kCount>& items() { return items_; }
    const std::array<PropertyItem, kCount>& items() const { return items_; }
    // Pointers to the rows of these roles, in the order given.
    std::vector<PropertyItem*> pick(const std::vector<Row>& roles);

private:
    std::array<PropertyItem, kCount> items_;
};

// The customised profile loaded from a file: its rows and its output format.
struct CustomProfile {
    SettingsRows rows;
    std::string format;  // the stored "Output format" value; empty until a file is loaded
};

// A profile change: fills the rows for profile `profile` (the first three from
// `job`, when a Job is selected) and returns the rows to show, in order;
// nothing when the profile cannot be shown (a customised profile whose format
// is neither mp4 nor mp3).
std::optional<std::vector<PropertyItem*>> showProfile(int profile, SettingsRows& rows,
                                                      const Job* job, const CustomProfile& custom);

// What a profile change does to the selected Job once the rows are filled:
// its clip is cleared, its output renamed for the profile, and its settings
// taken from the rows.
void applyProfileToJob(Job& job, int profile, const SettingsRows& rows,
                       const CustomProfile& custom);

// The output path of a Job moved to `profile` (same folder, new file name).
std::string renameForProfile(const std::string& outputPath, int profile,
                             const CustomProfile& custom);

// The grid for a clicked Job: the rows filled from the Job under its own
// profile. Nothing when a customised Job's profile cannot be shown.
std::optional<std::vector<PropertyItem*>> showJob(const Job& job, SettingsRows& rows,
                                                  const CustomProfile& custom);

// A profile file read into the rows: the rows the grid shows for its "Output
// format" value ("mp4": the video rows, with the quantizer rows and the low
// bitrate list when its video codec is "h264"; "mp3": the audio rows).
// Nothing for any other value: the grid keeps the rows it shows.
std::optional<std::vector<PropertyItem*>> showLoadedProfile(SettingsRows& rows);

// What a loaded profile does to the selected Job: its output format, the
// extension of its output (the name itself stays) and its video, audio and
// quantizer settings come from the rows; its split and clip stay as they are.
void applyLoadedProfileToJob(const SettingsRows& rows, Job& job);

// The settings rows copied into a Job (the grid's "a value changed").
void copyRowsToJob(const SettingsRows& rows, Job& job);

// The profile of box entry `profile`: a built-in one, or the customised one
// as the rows show it.
Profile profileFor(int profile, const SettingsRows& rows);

// Whether a value typed into one of the rows that accept typing ("Video
// bitrate", "Video size", "Split", "Audio volume") is one the engine can use.
// Other rows are always fine. The error says what is expected.
Status checkTypedSetting(Row row, const std::string& value);

// The output-name prefix of a new Job ("M4V", "MAQ"); nothing when the
// output is named after its source title (MP3 outputs).
std::optional<std::string> outputPrefix(int profile, const SettingsRows& rows);

}  // namespace pelorine
