// The status line: the line's text within the terminal's width, and when a
// line is written at all.

#include "cli/StatusLine.h"

#include <gtest/gtest.h>

namespace pelorine::cli {
namespace {

TEST(StatusText, PlaceNamePercentSpeedAndTimeLeft) {
    JobStatus status{2, 5, "holiday.avi", 42, 1.84, 83.4};
    EXPECT_EQ(statusText(status, 80), "[2/5] holiday.avi  42%  1.8x real time  1:23 left");
    status.speed.reset();
    status.secondsLeft.reset();
    EXPECT_EQ(statusText(status, 80), "[2/5] holiday.avi  42%");
}

TEST(StatusText, ALongNameIsShortenedInTheMiddleWithinTheWidth) {
    const JobStatus status{1, 1,   "a-very-long-name-of-a-holiday-video-ending-in-part-7.avi",
                           5, 1.0, 10.0};
    const std::string text = statusText(status, 50);
    EXPECT_EQ(text.size(), 50u);
    EXPECT_EQ(text, "[1/1] a-ver...7.avi  5%  1.0x real time  0:10 left");
    // UTF-8 names are never cut inside a character.
    const JobStatus umlauts{1, 1, "äöüäöüäöüäöüäöüäöüäöüäöüäöü.avi", 5, {}, {}};
    for (std::size_t width = 10; width < 60; ++width) {
        const std::string cut = statusText(umlauts, width);
        EXPECT_LE(cut.size(), width);
        for (std::size_t i = 0; i + 1 < cut.size(); ++i) {
            const bool lead = static_cast<unsigned char>(cut[i]) == 0xC3;
            EXPECT_TRUE(!lead || (static_cast<unsigned char>(cut[i + 1]) & 0xC0) == 0x80);
        }
        EXPECT_NE(static_cast<unsigned char>(cut.back()), 0xC3);
    }
}

TEST(StatusPrinter, OnATerminalTheLineIsRedrawnInPlace) {
    StatusPrinter printer(true, 40);
    EXPECT_EQ(printer.update({1, 2, "a.avi", 10, {}, {}}), "\r[1/2] a.avi  10%\x1b[K");
    EXPECT_EQ(printer.update({1, 2, "a.avi", 10, {}, {}}), "") << "nothing changed";
    EXPECT_EQ(printer.update({1, 2, "a.avi", 11, {}, {}}), "\r[1/2] a.avi  11%\x1b[K");
    EXPECT_EQ(printer.clear(), "\r\x1b[K");
    EXPECT_EQ(printer.clear(), "");
}

TEST(StatusPrinter, ElsewhereAPlainLineAtEachTenth) {
    StatusPrinter printer(false);
    std::string written;
    for (int percent = 0; percent <= 100; ++percent) {
        written += printer.update({1, 2, "a.avi", percent, {}, {}});
    }
    written += printer.update({2, 2, "b.avi", 0, {}, {}});
    EXPECT_EQ(written.substr(0, 33), "[1/2] a.avi  0%\n[1/2] a.avi  10%\n");
    EXPECT_EQ(std::count(written.begin(), written.end(), '\n'), 12);
    EXPECT_EQ(printer.clear(), "");
}

TEST(StatusText, SeveralJobsAtOnceShowEachPlaceAndTheTotalOnOneLine) {
    BatchStatus status{5, {{1, 42}, {3, 7}}, 20, 190.0};
    EXPECT_EQ(statusText(status, 80), "[1/5] 42%  [3/5] 7%  total 20%  3:10 left");
    // Jobs that do not fit are left out; the total stays.
    EXPECT_EQ(statusText(status, 31), "[1/5] 42%  total 20%  3:10 left");
    EXPECT_EQ(statusText(status, 20), "total 20%  3:10 left");
    status.secondsLeft.reset();
    status.jobs.clear();
    EXPECT_EQ(statusText(status, 80), "total 20%");
}

TEST(StatusPrinter, SeveralJobsAtOnceRedrawOrWriteAtEachTenthOfTheBatch) {
    StatusPrinter terminal(true, 40);
    EXPECT_EQ(terminal.update(BatchStatus{2, {{1, 10}, {2, 30}}, 20, {}}),
              "\r[1/2] 10%  [2/2] 30%  total 20%\x1b[K");
    EXPECT_EQ(terminal.update(BatchStatus{2, {{1, 10}, {2, 30}}, 20, {}}), "");
    StatusPrinter plain(false);
    std::string written;
    for (int percent = 0; percent <= 100; ++percent) {
        written += plain.update(BatchStatus{2, {{1, percent}, {2, percent / 2}}, percent, {}});
    }
    EXPECT_EQ(std::count(written.begin(), written.end(), '\n'), 11);
    EXPECT_EQ(written.substr(0, 60),
              "[1/2] 0%  [2/2] 0%  total 0%\n[1/2] 10%  [2/2] 5%  total 10%\n");
}

}  // namespace
}  // namespace pelorine::cli
