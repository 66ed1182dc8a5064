#pragma once
// The sound and subtitle defaults of new file Jobs, kept in their own section
// ("TRACKS") of the settings file:
//   SoundLanguages=jpn, en      preferred sound languages, in order
//   SubtitleLanguages=en        preferred subtitle languages, in order
//   BurnSubtitles=never         never, always or foreign (only when the
//                               chosen sound is not in a preferred subtitle
//                               language)
//   SubtitleCodePage=CP1250     the code page of 8-bit subtitle files;
//                               empty or absent: detected
// Each change is written at once.

#include <mutex>
#include <string>

#include "base/Status.h"
#include "platform/FileSystem.h"
#include "settings/IniSection.h"
#include "tracks/TrackDefaults.h"

namespace pelorine {

// The names the INI and the command line give the rules.
const char* burnRuleName(BurnRule rule);
std::optional<BurnRule> burnRuleNamed(std::string_view name);

// Whether `name` can stand in the engine's command line as a code page: one
// argument, without blanks or quotes. The empty name (detect it) can.
bool usableCodePageName(std::string_view name);

class TrackSettings {
public:
    static constexpr const char* kSection = "TRACKS";
    static constexpr const char* kSoundKey = "SoundLanguages";
    static constexpr const char* kSubtitleKey = "SubtitleLanguages";
    static constexpr const char* kBurnKey = "BurnSubtitles";
    static constexpr const char* kCodePageKey = "SubtitleCodePage";

    // Without a file (an empty `filePath`) the values live in memory only.
    TrackSettings(platform::FileSystem& files, std::string filePath);

    // Reads the section; missing keys and an unknown rule keep the defaults
    // (no preferred language, never burn, the code page detected), and so
    // does a code page that is not usableCodePageName.
    void read();

    TrackPreferences preferences() const;
    Status setPreferences(const TrackPreferences& preferences);

private:
    IniSection file_;
    mutable std::mutex mutex_;
    TrackPreferences preferences_;
};

}  // namespace pelorine
