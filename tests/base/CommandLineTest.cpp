#include "base/CommandLine.h"

#include <gtest/gtest.h>

#include "base/Text.h"
#include "platform/Desktop.h"

namespace pelorine::platform {
namespace {

using Args = std::vector<std::string>;

TEST(SplitCommandLine, FollowsTheWindowsRules) {
    const std::pair<std::string, Args> cases[] = {
        {"", {}},
        {"   \t ", {}},
        {"a b\tc", {"a", "b", "c"}},
        {"  a   b  ", {"a", "b"}},
        {R"("a b" c)", {"a b", "c"}},
        {R"(x"a b"y)", {"xa by"}},
        {R"("")", {""}},
        {R"(a\b\c)", {R"(a\b\c)"}},
        {R"("C:\App\\")", {R"(C:\App\)"}},
        {R"(\"a)", {"\"a"}},
        {R"(\\"a b")", {R"(\a b)"}},
        {R"(\\\"a)", {R"(\"a)"}},
        {R"("a""b")", {"a\"b"}},
        {R"("unterminated quote)", {"unterminated quote"}},
        {R"(trailing\)", {R"(trailing\)"}},
    };
    for (const auto& [line, expected] : cases) {
        EXPECT_EQ(splitCommandLine(line), expected) << line;
    }
}

TEST(QuoteArgument, PlainPathsKeepTheirBytesBetweenQuotes) {
    EXPECT_EQ(quoteArgument(R"(D:\out\a.mp4)"), R"("D:\out\a.mp4")");
    EXPECT_EQ(quoteArgument("/home/me/My Videos/a b.avi"), "\"/home/me/My Videos/a b.avi\"");
    EXPECT_EQ(quoteArgument(R"(C:\App\)"), R"("C:\App\\")");
    EXPECT_EQ(quoteArgument(R"(say "hi")"), R"("say \"hi\"")");
    EXPECT_EQ(quoteArgument(R"(a\"b)"), R"("a\\\"b")");
    EXPECT_EQ(quoteArgumentIfNeeded("/usr/bin/zelvic"), "/usr/bin/zelvic");
    EXPECT_EQ(quoteArgumentIfNeeded("/opt/my apps/zelvic"), "\"/opt/my apps/zelvic\"");
    EXPECT_EQ(quoteArgumentIfNeeded(""), "\"\"");
}

TEST(Text, LeadingIntReadsLikeAtoi) {
    const std::pair<const char*, int> cases[] = {
        {"1", 1},
        {"  42abc", 42},
        {"-7", -7},
        {"+3", 3},
        {"abc", 0},
        {"", 0},
        {"3.9", 3},
        {"- 4", 0},
        {"99999999999", 2147483647},
        {"-99999999999", -2147483647 - 1},
    };
    for (const auto& [input, expected] : cases) {
        EXPECT_EQ(text::leadingInt(input), expected) << input;
    }
}

TEST(Text, LeadingDigitsReadsNoSignAndNoBlanks) {
    const std::pair<const char*, int> cases[] = {
        {"320x", 320},
        {"-320", 0},
        {"+5", 0},
        {" 272", 0},
        {"\t272", 0},
        {"", 0},
        {"99999999999", 2147483647},
    };
    for (const auto& [input, expected] : cases) {
        EXPECT_EQ(text::leadingDigits(input), expected) << input;
    }
}

TEST(Text, FixedSixIgnoresTheLocale) {
    std::setlocale(LC_ALL, "de_DE.UTF-8");  // may not exist; harmless then
    EXPECT_EQ(text::fixed6(12.5), "12.500000");
    EXPECT_EQ(text::fixed6(0), "0.000000");
    EXPECT_EQ(text::fixed6(60.1234567), "60.123457");
    std::setlocale(LC_ALL, "C");
}

}  // namespace
}  // namespace pelorine::platform

namespace pelorine::platform {
namespace {

TEST(HandlerCommand, PutsTheLinkWhereThePlaceholderWasAndDropsTheRest) {
    EXPECT_EQ(handlerCommand("firefox-esr %u", "https://a.b/c d"),
              "firefox-esr \"https://a.b/c d\"");
    EXPECT_EQ(handlerCommand("/opt/web/browser \"%U\" --new-window", "file:///x.html"),
              "/opt/web/browser \"file:///x.html\"");
    EXPECT_EQ(handlerCommand("viewer --flag", "x"), "viewer --flag \"x\"");
    EXPECT_EQ(openLinkErrorText(31),
              "There is no application associated\nwith the given filename extension.");
    EXPECT_EQ(openLinkErrorText(99), "Unknown Error (99) occurred.");
}

}  // namespace
}  // namespace pelorine::platform
