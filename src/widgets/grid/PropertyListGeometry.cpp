#include "grid/PropertyListGeometry.h"

#include <algorithm>

namespace pelorine {

int initialDivider(const QRect& item) {
    return item.width() / 2;
}

RowPaint rowPaint(const QRect& item, int divider) {
    const int left = item.left();
    const int top = item.top();
    const int right = item.right();
    const int bottom = item.bottom();
    const int nameRight = divider - 1;
    RowPaint paint;
    paint.nameCell = QRect(QPoint(left, top), QPoint(nameRight, bottom));
    paint.nameEdges = {QLine(left, top, left, bottom), QLine(left, bottom, nameRight, bottom),
                       QLine(nameRight, bottom, nameRight, top), QLine(nameRight, top, left, top)};
    paint.valueEdges = {QLine(divider, bottom, right, bottom), QLine(right, bottom, right, top),
                        QLine(right, top, divider, top)};
    // The text boxes keep the row's exclusive-edge arithmetic: the name stops
    // 4 pixels before the divider, both reach 3 pixels below the row.
    const int textTop = top + 3;
    const int textBottom = bottom + 1 + 3 - 1;
    paint.nameText = QRect(QPoint(left + 3, textTop), QPoint(divider - 4 - 1, textBottom));
    paint.valueText = QRect(QPoint(divider + 3, textTop), QPoint(right + 1 + 3 - 1, textBottom));
    return paint;
}

bool isOnDivider(int x, int divider) {
    return x >= divider - kDividerGrip && x <= divider + kDividerGrip;
}

int clampDivider(int x, int gridWidth) {
    const int low = kDividerMargin;
    const int high = std::max(low, gridWidth - 1 - kDividerMargin);
    return std::clamp(x, low, high);
}

int rowAt(int y, int topRow, int count) {
    if (count <= 0) {
        return -1;
    }
    const int row = topRow + (y < 0 ? -1 : y / kPropertyRowHeight);
    return std::clamp(row, 0, count - 1);
}

QRect rowRect(int row, int topRow, int rowWidth) {
    return QRect(0, (row - topRow) * kPropertyRowHeight, rowWidth, kPropertyRowHeight);
}

int wholeRowsIn(int height) {
    return std::max(1, height / kPropertyRowHeight);
}

EditorPlaces editorPlaces(const QRect& item, int divider) {
    QRect cell = item;
    cell.setLeft(divider);
    EditorPlaces places;
    places.combo = cell;
    places.edit = cell.adjusted(0, 0, 0, -kEditorBottomInset);
    const int buttonWidth = std::min(kChooserButtonMaxWidth, cell.width());
    places.button = QRect(cell.right() - buttonWidth + 1, cell.top(), buttonWidth,
                          cell.height() - kEditorBottomInset);
    return places;
}

}  // namespace pelorine
