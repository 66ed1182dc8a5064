// Where the grid draws and what a pointer hits.

#include "grid/PropertyListGeometry.h"

#include <gtest/gtest.h>

namespace pelorine {
namespace {

TEST(Divider, StartsAtHalfTheRowWidth) {
    EXPECT_EQ(initialDivider(QRect(0, 0, 173, 20)), 86);
    EXPECT_EQ(initialDivider(QRect(0, 40, 190, 20)), 95);
}

TEST(Divider, GripReachesFivePixelsEitherSide) {
    EXPECT_TRUE(isOnDivider(90, 90));
    EXPECT_TRUE(isOnDivider(85, 90));
    EXPECT_TRUE(isOnDivider(95, 90));
    EXPECT_FALSE(isOnDivider(84, 90));
    EXPECT_FALSE(isOnDivider(96, 90));
}

TEST(Divider, DraggingStaysTenPixelsInsideTheGrid) {
    EXPECT_EQ(clampDivider(60, 190), 60);
    EXPECT_EQ(clampDivider(10, 190), 10);
    EXPECT_EQ(clampDivider(9, 190), 10);
    EXPECT_EQ(clampDivider(-40, 190), 10);
    EXPECT_EQ(clampDivider(179, 190), 179);
    EXPECT_EQ(clampDivider(180, 190), 179);
    EXPECT_EQ(clampDivider(15, 12), 10);  // a grid too narrow for both margins
}

TEST(RowHits, PointerBelowTheRowsMeansTheLastRow) {
    EXPECT_EQ(rowAt(0, 0, 5), 0);
    EXPECT_EQ(rowAt(19, 0, 5), 0);
    EXPECT_EQ(rowAt(20, 0, 5), 1);
    EXPECT_EQ(rowAt(20, 3, 16), 4);
    EXPECT_EQ(rowAt(230, 0, 5), 4);
    EXPECT_EQ(rowAt(-1, 3, 16), 2);
    EXPECT_EQ(rowAt(10, 0, 0), -1);
}

TEST(RowHits, RowsAreTwentyPixelsFromTheFirstShownRow) {
    EXPECT_EQ(rowRect(0, 0, 173), QRect(0, 0, 173, 20));
    EXPECT_EQ(rowRect(5, 3, 173), QRect(0, 40, 173, 20));
    EXPECT_EQ(wholeRowsIn(239), 11);
    EXPECT_EQ(wholeRowsIn(10), 1);
}

TEST(RowPainting, CellsEdgesAndTextBoxes) {
    const RowPaint paint = rowPaint(QRect(0, 40, 170, 20), 85);
    EXPECT_EQ(paint.nameCell, QRect(QPoint(0, 40), QPoint(84, 59)));
    // The name cell is outlined all round, the value cell on all but its left.
    EXPECT_EQ(paint.nameEdges[0], QLine(0, 40, 0, 59));
    EXPECT_EQ(paint.nameEdges[1], QLine(0, 59, 84, 59));
    EXPECT_EQ(paint.nameEdges[2], QLine(84, 59, 84, 40));
    EXPECT_EQ(paint.nameEdges[3], QLine(84, 40, 0, 40));
    EXPECT_EQ(paint.valueEdges[0], QLine(85, 59, 169, 59));
    EXPECT_EQ(paint.valueEdges[1], QLine(169, 59, 169, 40));
    EXPECT_EQ(paint.valueEdges[2], QLine(169, 40, 85, 40));
    EXPECT_EQ(paint.nameText, QRect(QPoint(3, 43), QPoint(80, 62)));
    EXPECT_EQ(paint.valueText, QRect(QPoint(88, 43), QPoint(172, 62)));
}

TEST(EditorPlacing, EditorsCoverTheValueCell) {
    const EditorPlaces places = editorPlaces(QRect(0, 40, 170, 20), 85);
    EXPECT_EQ(places.combo, QRect(85, 40, 85, 20));
    EXPECT_EQ(places.edit, QRect(85, 40, 85, 17));
    EXPECT_EQ(places.button, QRect(145, 40, 25, 17));
    // A value cell narrower than the button gives the button all of it.
    EXPECT_EQ(editorPlaces(QRect(0, 0, 170, 20), 160).button, QRect(160, 0, 10, 17));
}

}  // namespace
}  // namespace pelorine
