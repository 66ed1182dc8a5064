#pragma once
// "Set Output File Name": asks for a new file name for one Job's output.

#include <QDialog>

#include <optional>
#include <string>

class QLineEdit;

namespace pelorine::controls {
class GradientButton;
}

namespace pelorine {

class OutputNameDialog final : public QDialog {
    Q_OBJECT

public:
    static constexpr int kNameEditId = 1055;

    explicit OutputNameDialog(QWidget* parent = nullptr);

    // The text of the edit as it was when OK was pressed; empty before. OK
    // refuses, with a message, a name outputNameProblem finds fault with; any
    // other text is taken, the empty one included.
    const std::string& name() const { return name_; }

    QLineEdit* nameEdit() const { return edit_; }
    controls::GradientButton* okButton() const { return ok_; }
    controls::GradientButton* cancelButton() const { return cancel_; }

private:
    std::string name_;
    QLineEdit* edit_ = nullptr;
    controls::GradientButton* ok_ = nullptr;
    controls::GradientButton* cancel_ = nullptr;
};

// Runs the dialog modally over `owner`. The name typed when the user pressed
// OK; nothing after Cancel. Make the new output path with outputPathWithName.
std::optional<std::string> runOutputNameDialog(QWidget* owner);

}  // namespace pelorine
