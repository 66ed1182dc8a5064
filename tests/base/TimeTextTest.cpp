// The time formats at their edges: past a hundred hours, fractions that must
// be truncated or rounded, each format its own way.

#include "base/TimeText.h"

#include <gtest/gtest.h>

#include <string>

namespace pelorine {
namespace {

struct TimeCase {
    double seconds;
    std::string clock;    // timeText
    std::string whole;    // wholeTimeText
    std::string left;     // durationText
    std::string stopped;  // stoppedTimeText
};

TEST(TimeText, EachFormatTruncatesOrRoundsItsOwnWay) {
    const TimeCase cases[] = {
        {0.5, "00:00:00.50", "00:00:00", "0:01", "00m00s"},
        {59.999, "00:00:59.99", "00:00:59", "1:00", "00m59s"},
        {3599.5, "00:59:59.50", "00:59:59", "1:00:00", "59m59s"},
        {360000.5, "100:00:00.50", "100:00:00", "100:00:01", "100h00m00s"},
    };
    for (const TimeCase& c : cases) {
        EXPECT_EQ(timeText(c.seconds), c.clock) << c.seconds;
        EXPECT_EQ(wholeTimeText(c.seconds), c.whole) << c.seconds;
        EXPECT_EQ(durationText(c.seconds), c.left) << c.seconds;
        EXPECT_EQ(stoppedTimeText(c.seconds), c.stopped) << c.seconds;
    }
}

TEST(TimeText, WholeTimeIsTheClockWithoutItsHundredths) {
    for (const double seconds : {0.0, 0.99, 61.25, 3725.5, 86399.99, 1e300}) {
        const std::string clock = timeText(seconds);
        EXPECT_EQ(wholeTimeText(seconds), clock.substr(0, clock.size() - 3)) << seconds;
    }
}

}  // namespace
}  // namespace pelorine
