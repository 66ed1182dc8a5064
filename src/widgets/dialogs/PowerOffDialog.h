#pragma once
// The countdown before the computer is switched off at the end of a batch:
// what went wrong in the batch, if anything, the seconds left, "Switch off
// now" and "Cancel". It ends by itself when the count reaches 0, as if
// "Switch off now" had been pressed.

#include <QDialog>
#include <QTimer>

class QLabel;
class QPlainTextEdit;

namespace pelorine::controls {
class GradientButton;
}

namespace pelorine {

class PowerOffDialog final : public QDialog {
    Q_OBJECT

public:
    // Counts down from `seconds`, one a second once shown, under `summary`
    // (none when empty).
    explicit PowerOffDialog(int seconds, const QString& summary = {}, QWidget* parent = nullptr);

    int secondsLeft() const { return left_; }
    QString text() const;
    // The batch's summary, or nullptr when there is none.
    QPlainTextEdit* summary() const { return summary_; }
    controls::GradientButton* nowButton() const { return now_; }
    controls::GradientButton* cancelButton() const { return cancel_; }

    // One second has passed (the timer's; tests call it themselves).
    void tick();

private:
    int left_;
    QTimer timer_;
    QLabel* label_ = nullptr;
    QPlainTextEdit* summary_ = nullptr;
    controls::GradientButton* now_ = nullptr;
    controls::GradientButton* cancel_ = nullptr;
};

// Runs the countdown modally over `owner`: true when it ran out or the user
// chose to switch off now, false after Cancel (or closing the dialog).
bool runPowerOffDialog(QWidget* owner, int seconds, const QString& summary = {});

}  // namespace pelorine
