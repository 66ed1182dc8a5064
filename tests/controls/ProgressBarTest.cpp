#include "controls/ProgressBar.h"

#include <gtest/gtest.h>

namespace pelorine::controls {
namespace {

TEST(ProgressBarLookTest, FilledWidthTruncatesThePositionsShare) {
    struct Case {
        int lower, upper, position, width, expected;
    };
    const Case cases[] = {
        {0, 100, 50, 300, 150}, {0, 100, 33, 300, 99}, {0, 100, 0, 300, 0}, {0, 100, 100, 300, 300},
        {0, 100, 1, 339, 3},    {20, 40, 30, 100, 50}, {0, 100, 99, 7, 6},  {0, 0, 0, 300, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(progressFilledWidth(c.lower, c.upper, c.position, c.width), c.expected)
            << c.lower << ".." << c.upper << " at " << c.position << " over " << c.width;
    }
}

TEST(ProgressBarLookTest, TintsOfTheBaseAndTheShadowMean) {
    const ProgressColours c =
        progressColours(QColor(kProgressBase), QColor(0, 0, 0), QColor(160, 161, 100));
    EXPECT_EQ(c.light3, QColor(0xD4, 0xFF, 0xEE));
    EXPECT_EQ(c.dark2, QColor(0x08, 0x33, 0x88));
    EXPECT_EQ(c.shadow2, QColor(80, 80, 50));
}

class ProgressBarWidgetTest : public ::testing::Test {
protected:
    QImage shown(int value) {
        bar.setValue(value);
        return bar.grab().toImage();
    }
    QColor at(const QImage& image, int x, int y) { return image.pixelColor(x, y); }

    void SetUp() override {
        bar.setRange(0, 100);
        bar.resize(300, 20);
    }
    ProgressBar bar;
    const QColor background{kProgressBackground};
};

TEST_F(ProgressBarWidgetTest, HalfwayFillsHalfTheWidth) {
    const QImage image = shown(50);
    const ProgressColours& c = bar.colours();
    EXPECT_EQ(at(image, 75, 10), c.light3);
    EXPECT_EQ(at(image, 0, 10), c.base);       // left edge stroke
    EXPECT_EQ(at(image, 148, 10), c.dark1);    // c - 2, inner right edge
    EXPECT_EQ(at(image, 149, 10), c.dark2);    // c - 1, outer right edge
    EXPECT_EQ(at(image, 150, 10), c.shadow2);  // first pixel past the fill
    EXPECT_EQ(at(image, 151, 10), c.shadow3);
    EXPECT_EQ(at(image, 152, 10), background);
    EXPECT_EQ(at(image, 299, 10), background);
    EXPECT_EQ(at(image, 75, 16), c.light1);  // b - 4
    EXPECT_EQ(at(image, 75, 19), c.dark2);   // bottom row
}

TEST_F(ProgressBarWidgetTest, ThirtyThreeFillsNinetyNinePixels) {
    const QImage image = shown(33);
    EXPECT_EQ(at(image, 98, 5), bar.colours().dark2);
    // The top row's dark stroke runs on to the fill's end.
    EXPECT_EQ(at(image, 98, 0), bar.colours().dark1);
    EXPECT_EQ(at(image, 99, 5), bar.colours().shadow2);
}

TEST_F(ProgressBarWidgetTest, AtTheLowerBoundOnlyTheBackgroundShows) {
    const QImage image = shown(0);
    for (int x : {0, 1, 2, 150, 299}) {
        for (int y : {0, 10, 19}) {
            EXPECT_EQ(at(image, x, y), background) << x << "," << y;
        }
    }
}

TEST_F(ProgressBarWidgetTest, AtTheUpperBoundTheFillCoversTheWidth) {
    const QImage image = shown(100);
    EXPECT_EQ(at(image, 299, 10), bar.colours().dark2);
    EXPECT_EQ(at(image, 250, 10), bar.colours().light3);
}

TEST_F(ProgressBarWidgetTest, AResetBarShowsEmpty) {
    bar.reset();
    const QImage image = bar.grab().toImage();
    EXPECT_EQ(at(image, 0, 10), background);
}

}  // namespace
}  // namespace pelorine::controls
