#include "controls/ColourMath.h"

#include <gtest/gtest.h>

namespace pelorine::controls {
namespace {

TEST(LightenTest, MovesEachChannelTowardsWhiteAndTruncates) {
    // 10 + 0.7 * 245 = 181.5, 100 + 0.7 * 155 = 208.5, 255 stays.
    EXPECT_EQ(lighten(QColor(10, 100, 255), 0.7), QColor(181, 208, 255));
    EXPECT_EQ(lighten(QColor(49, 106, 197), 0.85), QColor(224, 232, 246));
    EXPECT_EQ(lighten(QColor(0, 0, 0), 1.0), QColor(255, 255, 255));
}

TEST(LightenTest, FactorsOutsideTheRangeChangeNothing) {
    const QColor c(12, 34, 56);
    EXPECT_EQ(lighten(c, 0.0), c);
    EXPECT_EQ(lighten(c, -0.5), c);
    EXPECT_EQ(lighten(c, 1.01), c);
}

TEST(ColorRefTest, ReadsBlueGreenRedFromTheHighByteDown) {
    EXPECT_EQ(QColor(fromColorRef(0xEE996E)), QColor(0x6E, 0x99, 0xEE));
    EXPECT_EQ(QColor(fromColorRef(0xFCE0D1)), QColor(0xD1, 0xE0, 0xFC));
}

TEST(StepTest, ProgressTintsOfTheBaseColour) {
    const QColor base(fromColorRef(0xEE996E));
    const QColor light1 = lightenStep(base);
    const QColor light2 = lightenStep(light1);
    EXPECT_EQ(light1, QColor(fromColorRef(0xEECCA1)));
    EXPECT_EQ(light2, QColor(fromColorRef(0xEEFFD4)));
    // A channel that would pass 255 keeps its value rather than saturating.
    EXPECT_EQ(lightenStep(light2), light2);
    const QColor dark1 = darkenStep(base);
    EXPECT_EQ(dark1, QColor(fromColorRef(0xBB663B)));
    EXPECT_EQ(darkenStep(dark1), QColor(fromColorRef(0x883308)));
    // Below 51 a channel stays as it was.
    EXPECT_EQ(darkenStep(QColor(50, 51, 52)), QColor(50, 0, 1));
}

}  // namespace
}  // namespace pelorine::controls
