#pragma once
// "About...": who makes the program, where to read about it and where to write.

#include <QDialog>

class QLabel;

namespace pelorine::controls {
class GradientButton;
}

namespace pelorine {

inline constexpr const char* kAboutNotice =
    "Pelorine \u2014 free software under the GNU GPL, version 2 or later";
inline constexpr const char* kAboutWebsite = "Website: see the help that comes with Pelorine";

class AboutDialog final : public QDialog {
    Q_OBJECT

public:
    explicit AboutDialog(QWidget* parent = nullptr);

    // The notice, the website line and the support address, top to bottom.
    QLabel* line(int index) const { return lines_[index]; }
    controls::GradientButton* okButton() const { return ok_; }

private:
    QLabel* lines_[3] = {};
    controls::GradientButton* ok_ = nullptr;
};

// Runs the About box modally over `owner` until OK is pressed.
void runAboutDialog(QWidget* owner);

}  // namespace pelorine
