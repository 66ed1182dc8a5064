// The encoding shared by project and profile files: integers, doubles and the
// three string prefixes, at their boundaries.

#include "project/RecordCoding.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace pelorine {
namespace {

using Bytes = std::vector<std::uint8_t>;
using ::testing::ElementsAreArray;

Bytes textBytes(const std::string& text) {
    RecordWriter writer;
    writer.text(text);
    return writer.take();
}

Bytes head(const Bytes& bytes, std::size_t count) {
    return Bytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(count));
}

TEST(RecordCoding, NumbersAreLittleEndian) {
    RecordWriter writer;
    writer.int32(1);
    writer.int32(-2);
    writer.real(3725.5);  // 0x40AD1B0000000000
    writer.real(-0.0);
    EXPECT_THAT(writer.bytes(),
                ElementsAreArray(Bytes{0x01, 0x00, 0x00, 0x00, 0xFE, 0xFF, 0xFF, 0xFF,  //
                                       0x00, 0x00, 0x00, 0x00, 0x00, 0x1B, 0xAD, 0x40,  //
                                       0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x80}));
    RecordReader reader(writer.bytes());
    std::int32_t one = 0, minusTwo = 0;
    double length = 0.0, negativeZero = 1.0;
    ASSERT_TRUE(reader.int32(one) && reader.int32(minusTwo) && reader.real(length) &&
                reader.real(negativeZero));
    EXPECT_EQ(one, 1);
    EXPECT_EQ(minusTwo, -2);
    EXPECT_EQ(length, 3725.5);
    EXPECT_TRUE(std::signbit(negativeZero));
    EXPECT_TRUE(reader.atEnd());
}

// Each length with the prefix the format gives it.
TEST(RecordCoding, StringPrefixesAtTheirBoundaries) {
    const struct {
        std::size_t length;
        Bytes prefix;
    } cases[] = {
        {0, {0x00}},
        {1, {0x01}},
        {254, {0xFE}},
        {255, {0xFF, 0xFF, 0x00}},
        {300, {0xFF, 0x2C, 0x01}},
        {0xFFFD, {0xFF, 0xFD, 0xFF}},
        {0xFFFE, {0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00}},
        {0xFFFF, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00}},
        {0x10000, {0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x01, 0x00}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.length);
        const std::string text(c.length, 'a');
        const Bytes bytes = textBytes(text);
        ASSERT_EQ(bytes.size(), c.prefix.size() + c.length);
        EXPECT_THAT(head(bytes, c.prefix.size()), ElementsAreArray(c.prefix));
        RecordReader reader(bytes);
        std::string_view read;
        ASSERT_TRUE(reader.text(read));
        EXPECT_EQ(read, text);
        EXPECT_TRUE(reader.atEnd());
    }
}

TEST(RecordCoding, TextIsKeptByteForByte) {
    const std::string text = "/home/zoë/Vidéos/\xff\xfe odd \"bytes\"";
    const Bytes bytes = textBytes(text);
    RecordReader reader(bytes);
    std::string_view read;
    ASSERT_TRUE(reader.text(read));
    EXPECT_EQ(read, text);
}

// A long prefix with a short length is read as its length says.
TEST(RecordCoding, LongerPrefixesThanNeededAreRead) {
    const Bytes bytes = {0xFF, 0x02, 0x00, 'h', 'i', 0xFF, 0xFF, 0xFF, 0x01, 0x00, 0x00, 0x00, '!'};
    RecordReader reader(bytes);
    std::string_view first, second;
    ASSERT_TRUE(reader.text(first) && reader.text(second));
    EXPECT_EQ(first, "hi");
    EXPECT_EQ(second, "!");
}

TEST(RecordCoding, ReadsThatDoNotFitConsumeNothing) {
    const struct {
        const char* what;
        Bytes bytes;
        ReadFailure failure;
    } cases[] = {
        {"no prefix", {}, ReadFailure::CutShort},
        {"short text", {0x05, 'a', 'b'}, ReadFailure::CutShort},
        {"16-bit length cut", {0xFF, 0x10}, ReadFailure::CutShort},
        {"16-bit length runs past the end", {0xFF, 0x00, 0x01, 'a'}, ReadFailure::CutShort},
        {"32-bit length cut", {0xFF, 0xFF, 0xFF, 0x01, 0x00}, ReadFailure::CutShort},
        {"4 GiB promised", {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 'a'}, ReadFailure::CutShort},
        {"16-bit text marker", {0xFF, 0xFE, 0xFF, 0x01, 'a', 0x00}, ReadFailure::WideText},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        RecordReader reader(c.bytes);
        std::string_view read = "kept";
        EXPECT_FALSE(reader.text(read));
        EXPECT_EQ(read, "kept");
        EXPECT_EQ(reader.offset(), 0u);
        EXPECT_EQ(reader.failure(), c.failure);
    }
    const Bytes three = {1, 2, 3};
    RecordReader reader(three);
    std::int32_t number = 7;
    double real = 7.0;
    EXPECT_FALSE(reader.int32(number));
    EXPECT_FALSE(reader.real(real));
    EXPECT_EQ(number, 7);
    EXPECT_EQ(real, 7.0);
    EXPECT_EQ(reader.offset(), 0u);
}

}  // namespace
}  // namespace pelorine
