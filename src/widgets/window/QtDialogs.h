#pragma once
// Message boxes and the folder chooser, in the dialogs' own colours.

#include <QStringList>
#include <QWidget>

#include "app/MainView.h"

namespace pelorine {

class QtDialogs final : public Dialogs {
public:
    // The dialogs are modal to `owner` once it is set.
    void setOwner(QWidget* owner) { owner_ = owner; }

    void message(const std::string& text) override;
    void warning(const std::string& text, const std::string& caption) override;
    bool confirm(const std::string& text, const std::string& caption) override;
    std::optional<std::string> chooseFolder(const std::string& prompt) override;
    std::vector<std::string> chooseFiles(const std::string& filter,
                                         const std::string& folder) override;
    bool endMessage(const std::string& text, bool offerLog) override;
    bool powerOffCountdown(int seconds, const std::string& summary) override;
    std::optional<std::string> chooseOpenFile(const std::string& filter,
                                              const std::string& extension) override;
    std::optional<std::string> chooseSaveFile(const std::string& filter,
                                              const std::string& extension) override;
    void showVideoInformation(const Job& job) override;
    std::optional<int> chooseOverwritePolicy(int current) override;
    std::optional<std::string> askOutputFileName() override;
    void showAbout() override;
    std::optional<DvdChoice> runDvdDialog(DiscReader& reader,
                                          const std::vector<std::string>& drives) override;
    std::optional<std::pair<int, int>> chooseTracks(const TrackLists& lists) override;
    std::optional<TrackPreferences> chooseTrackDefaults(const TrackPreferences& current) override;

private:
    QWidget* owner_ = nullptr;
};

// File-dialog name filters from a "name|patterns|name|patterns||" text.
QStringList qtNameFilters(const std::string& filter);

// The colours of every dialog and message box: RGB(213, 224, 240) with black text.
void applyDialogColours();

}  // namespace pelorine
