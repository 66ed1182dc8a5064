#pragma once
// Where the settings grid draws and hits: rows, the name/value divider, the
// in-place editors. Rectangles are Qt's (inclusive right and bottom edges);
// `item` is always one row's full rectangle in the grid's client coordinates.

#include <QLine>
#include <QRect>
#include <array>

namespace pelorine {

inline constexpr int kPropertyRowHeight = 20;
// A press this close to the divider (either side, inclusive) grabs it.
inline constexpr int kDividerGrip = 5;
// A dragged divider stays this far inside the grid's left and right edges.
inline constexpr int kDividerMargin = 10;
// How far below its row a combo's drop-down list may reach.
inline constexpr int kComboDropExtent = 300;
// Edit boxes and the "..." button leave this much of the row's bottom free.
inline constexpr int kEditorBottomInset = 3;
inline constexpr int kChooserButtonMaxWidth = 25;

struct RowPaint {
    QRect nameCell;                   // filled with the name shade
    std::array<QLine, 4> nameEdges;   // left, bottom, right, top
    std::array<QLine, 3> valueEdges;  // bottom, right, top
    QRect nameText;                   // single line, clipped here
    QRect valueText;
};

// Half the row's width: where the divider starts before anyone moves it.
int initialDivider(const QRect& item);
// The name cell runs from the row's left edge through divider - 1; the value
// cell from the divider to the row's right edge. Texts start 3 pixels in from
// each cell and 3 pixels below the row's top.
RowPaint rowPaint(const QRect& item, int divider);

bool isOnDivider(int x, int divider);
// The divider follows the pointer but stays within the grid shrunk by
// kDividerMargin on both sides.
int clampDivider(int x, int gridWidth);

// The row under a pointer at client y, counting from the first shown row; a
// pointer below the last row means the last row, as in a list box. -1 when empty.
int rowAt(int y, int topRow, int count);
QRect rowRect(int row, int topRow, int rowWidth);
// How many whole rows fit in a client area of this height (at least one).
int wholeRowsIn(int height);

struct EditorPlaces {
    QRect combo;   // the value cell; its list may drop kComboDropExtent further
    QRect edit;    // the value cell, kEditorBottomInset shorter
    QRect button;  // right end of the value cell, at most kChooserButtonMaxWidth wide
};
EditorPlaces editorPlaces(const QRect& item, int divider);

}  // namespace pelorine
