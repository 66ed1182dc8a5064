#pragma once
// "Sound and Subtitles" of a file Job: its sound tracks and its subtitles in
// two drop-down lists, as the DVD dialog shows a disc's; and the defaults of
// new file Jobs (Settings menu): the preferred sound and subtitle languages
// and when to burn subtitles. The lists' texts and what a choice means are
// the core's (tracks/TrackEntries, tracks/TrackDefaults).

#include <QDialog>

#include <optional>
#include <utility>

#include "tracks/TrackDefaults.h"
#include "tracks/TrackEntries.h"

class QComboBox;
class QLineEdit;

namespace pelorine::controls {
class GradientButton;
}

namespace pelorine {

class TracksDialog final : public QDialog {
    Q_OBJECT

public:
    explicit TracksDialog(const TrackLists& lists, QWidget* parent = nullptr);

    QComboBox* soundList() const { return sound_; }
    QComboBox* subtitleList() const { return subtitles_; }
    controls::GradientButton* okButton() const { return ok_; }
    // The entries chosen: (sound, subtitles).
    std::pair<int, int> chosen() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QComboBox* sound_ = nullptr;
    QComboBox* subtitles_ = nullptr;
    controls::GradientButton* ok_ = nullptr;
};

class TrackDefaultsDialog final : public QDialog {
    Q_OBJECT

public:
    explicit TrackDefaultsDialog(const TrackPreferences& current, QWidget* parent = nullptr);

    QLineEdit* soundLanguages() const { return sound_; }
    QLineEdit* subtitleLanguages() const { return subtitles_; }
    QComboBox* burnRule() const { return burn_; }
    // A name with blanks or quotes is refused: OK waits for a usable one.
    QLineEdit* codePage() const { return codePage_; }
    controls::GradientButton* okButton() const { return ok_; }
    TrackPreferences chosen() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QLineEdit* sound_ = nullptr;
    QLineEdit* subtitles_ = nullptr;
    QComboBox* burn_ = nullptr;
    QLineEdit* codePage_ = nullptr;
    controls::GradientButton* ok_ = nullptr;
};

std::optional<std::pair<int, int>> runTracksDialog(QWidget* owner, const TrackLists& lists);
std::optional<TrackPreferences> runTrackDefaultsDialog(QWidget* owner,
                                                       const TrackPreferences& current);

}  // namespace pelorine
