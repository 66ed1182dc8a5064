#pragma once
// "Video information": a painted sheet of one Job's source, destination and
// clip, with an OK button.

#include <QColor>
#include <QDialog>

#include <vector>

#include "app/SmallDialogText.h"

namespace pelorine::controls {
class GradientButton;
}

namespace pelorine {

class VideoInformationDialog final : public QDialog {
    Q_OBJECT

public:
    // The sheet's background and the frame inside the white margin.
    static constexpr int kMargin = 10;
    static constexpr QRgb kSheetColour = 0xffe6f0ff;  // RGB(230, 240, 255)

    explicit VideoInformationDialog(const VideoInformation& information, QWidget* parent = nullptr);

    const std::vector<InformationLine>& lines() const { return lines_; }
    controls::GradientButton* okButton() const { return ok_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::vector<InformationLine> lines_;
    controls::GradientButton* ok_ = nullptr;
};

// Runs the sheet of `information` modally over `owner` until OK is pressed.
void runVideoInformationDialog(QWidget* owner, const VideoInformation& information);

}  // namespace pelorine
