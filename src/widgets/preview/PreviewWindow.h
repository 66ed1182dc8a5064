#pragma once
// The preview area: a child with a native window of its own, into which the
// engine draws the picture. It shows the colour key where the picture goes,
// or, while a paused preview is being dragged about, a black "----- PAUSE
// -----" notice.

#include <QWidget>

#include <cstdint>

namespace pelorine::preview {

class PreviewWindow : public QWidget {
    Q_OBJECT

public:
    explicit PreviewWindow(QWidget* parent = nullptr);

    // Non-zero shows the pause notice instead of the colour key; repaints.
    void setShowPause(int value);
    int showPause() const { return showPause_; }

    // The native window the engine draws into (created on first use).
    std::uint64_t nativeWindowId();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int showPause_ = 0;
};

}  // namespace pelorine::preview
