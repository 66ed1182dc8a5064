#pragma once
// "Output File Overwrite": the choice of what a conversion does with an output
// file that already exists (1 overwrite, 2 ask, 3 skip).

#include <QDialog>

#include <optional>

class QRadioButton;

namespace pelorine::controls {
class GradientButton;
}

namespace pelorine {

class OverwriteDialog final : public QDialog {
    Q_OBJECT

public:
    static constexpr int kOverwriteId = 1051;
    static constexpr int kRemindId = 1052;
    static constexpr int kIgnoreId = 1053;

    // Shows `policy`, the stored setting: 1, 2 or 3 sets the matching radio
    // button, any other value (a damaged settings file reads as 0) none.
    explicit OverwriteDialog(int policy, QWidget* parent = nullptr);

    // The stored policy, or the one of the radio button clicked last. OK keeps
    // it for the caller; Cancel leaves the setting as it was.
    int policy() const { return policy_; }

    // The radio button with id 1051, 1052 or 1053; null for other ids.
    QRadioButton* radio(int id) const;
    controls::GradientButton* okButton() const { return ok_; }
    controls::GradientButton* cancelButton() const { return cancel_; }

private:
    void chooseRadio(int id);

    int policy_ = -1;
    QRadioButton* radios_[3] = {};
    controls::GradientButton* ok_ = nullptr;
    controls::GradientButton* cancel_ = nullptr;
};

// Runs the dialog modally over `owner`, showing `policy`. The policy to store
// when the user pressed OK; nothing after Cancel.
std::optional<int> runOverwriteDialog(QWidget* owner, int policy);

}  // namespace pelorine
