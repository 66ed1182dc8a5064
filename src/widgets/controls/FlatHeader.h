#pragma once
// The flat column header of the job list: every column on the skin's header
// picture (224), a raised edge, and an optional sort arrow picture (226
// ascending, 225 descending). A column held down with the mouse is drawn moved
// one pixel right and down.

#include <QHeaderView>

#include <map>

namespace pelorine::controls {

inline constexpr int kHeaderPictureId = 224;
inline constexpr int kHeaderDescendingPictureId = 225;
inline constexpr int kHeaderAscendingPictureId = 226;

// A column is drawn pushed while the left button is held over it.
bool headerColumnPressed(bool leftButtonDown, int columnUnderCursor, int column);

class FlatHeader : public QHeaderView {
    Q_OBJECT

public:
    explicit FlatHeader(QWidget* parent = nullptr);

    // Positive: ascending, negative: descending, 0: no arrow.
    void setSortDirection(int logicalIndex, int direction);
    int sortDirection(int logicalIndex) const;

    // The column under the mouse, -1 when none.
    int hotColumn() const { return hot_; }
    bool isLeftButtonDown() const { return leftDown_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void paintColumn(QPainter& painter, QRect rect, int logicalIndex, bool pressed) const;
    // The raised or pressed edge of a column: what is left inside it, moved
    // with a press.
    QRect paintEdge(QPainter& painter, QRect rect, bool pressed) const;
    // The column's icon and text inside `rect`.
    void paintLabel(QPainter& painter, QRect rect, int logicalIndex) const;
    void setHot(int column);

    std::map<int, int> directions_;
    int hot_ = -1;
    bool leftDown_ = false;
};

}  // namespace pelorine::controls
