#include "settings/TrackSettings.h"

#include "base/Text.h"
#include "tracks/Languages.h"

namespace pelorine {

const char* burnRuleName(BurnRule rule) {
    switch (rule) {
        case BurnRule::Always:
            return "always";
        case BurnRule::Foreign:
            return "foreign";
        case BurnRule::Never:
            break;
    }
    return "never";
}

std::optional<BurnRule> burnRuleNamed(std::string_view name) {
    const std::string lowered = text::lower(text::trim(name));
    for (const BurnRule rule : {BurnRule::Never, BurnRule::Always, BurnRule::Foreign}) {
        if (lowered == burnRuleName(rule)) {
            return rule;
        }
    }
    return std::nullopt;
}

bool usableCodePageName(std::string_view name) {
    return name.find_first_of(" \t\r\n\"'") == std::string_view::npos;
}

TrackSettings::TrackSettings(platform::FileSystem& files, std::string filePath)
    : file_(files, std::move(filePath), kSection) {}

void TrackSettings::read() {
    if (file_.filePath().empty()) {
        return;
    }
    const IniSection::Values values = file_.read();
    TrackPreferences read;
    read.soundLanguages = languageList(values.value(kSoundKey, ""));
    read.subtitleLanguages = languageList(values.value(kSubtitleKey, ""));
    read.burn = burnRuleNamed(values.value(kBurnKey, "never")).value_or(BurnRule::Never);
    if (std::string codePage = text::trim(values.value(kCodePageKey, ""));
        usableCodePageName(codePage)) {
        read.subtitleCodePage = std::move(codePage);
    }
    const std::lock_guard lock(mutex_);
    preferences_ = std::move(read);
}

TrackPreferences TrackSettings::preferences() const {
    const std::lock_guard lock(mutex_);
    return preferences_;
}

Status TrackSettings::setPreferences(const TrackPreferences& preferences) {
    {
        const std::lock_guard lock(mutex_);
        preferences_ = preferences;
    }
    if (file_.filePath().empty()) {
        return Status::ok();
    }
    IniSection::Entries entries = {{kSoundKey, languageListText(preferences.soundLanguages)},
                                   {kSubtitleKey, languageListText(preferences.subtitleLanguages)},
                                   {kBurnKey, burnRuleName(preferences.burn)}};
    // Detecting the code page is the default: the key is written only to
    // name one, or to clear one named before.
    const std::string& codePage = preferences.subtitleCodePage;
    if (!codePage.empty() || !file_.read().value(kCodePageKey, "").empty()) {
        entries.emplace_back(kCodePageKey, codePage);
    }
    return file_.write(entries);
}

}  // namespace pelorine
