#pragma once
// "DVD Disc": the drive (or a DVD folder or image), the title, a chapter
// range, a sub-picture, an audio stream and an audio channel. The dialog
// paints its labels on its tinted background and shows the lists; every
// decision is DvdDialogModel's.

#include <QDialog>

#include <array>
#include <memory>
#include <optional>

#include "dvd/DvdDialogModel.h"

class QComboBox;

namespace pelorine::controls {
class GradientButton;
}

namespace pelorine {

class DvdDialog final : public QDialog, public DvdDialogView {
    Q_OBJECT

public:
    // Control ids of the lists, from the drive list to the audio channel list.
    static constexpr int kFirstListId = 1037;

    DvdDialog(DiscReader& reader, std::vector<std::string> drives, QWidget* parent = nullptr);
    ~DvdDialog() override;

    DvdDialogModel& model() { return *model_; }
    QComboBox* list(DvdList which) const { return lists_[static_cast<std::size_t>(which)]; }
    controls::GradientButton* okButton() const { return ok_; }
    controls::GradientButton* cancelButton() const { return cancel_; }
    const QString& hint() const { return hint_; }

    // DvdDialogView
    void setEntries(DvdList which, const std::vector<std::string>& entries) override;
    void select(DvdList which, int index) override;
    int selection(DvdList which) const override;
    void showHint(const std::string& text) override;
    void setBusy(bool busy) override;
    void message(const std::string& text) override;
    std::optional<std::string> chooseFolder() override;
    std::optional<std::string> chooseImage() override;
    void close(bool ok) override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::array<QComboBox*, kDvdListCount> lists_{};
    controls::GradientButton* ok_ = nullptr;
    controls::GradientButton* cancel_ = nullptr;
    QString hint_;
    std::unique_ptr<DvdDialogModel> model_;
};

// Runs the dialog modally over `owner`; the disc is read once it shows. The
// choice after OK, nothing after Cancel.
std::optional<DvdChoice> runDvdDialog(QWidget* owner, DiscReader& reader,
                                      std::vector<std::string> drives);

}  // namespace pelorine
