// Drawing sub-pictures into pictures, on frames made here.

#include <gtest/gtest.h>

#include <vector>

#include "front/SubtitleBurner.h"
#include "subtitles/TextRenderer.h"

namespace zelvic::test {
namespace {

FramePtr greyFrame(int width, int height) {
    FramePtr frame = makeFrame();
    frame->format = AV_PIX_FMT_YUV420P;
    frame->width = width;
    frame->height = height;
    av_frame_get_buffer(frame.get(), 0);
    for (int plane = 0; plane < 3; ++plane) {
        const int rows = plane == 0 ? height : height / 2;
        for (int row = 0; row < rows; ++row) {
            std::fill_n(frame->data[plane] + row * frame->linesize[plane],
                        plane == 0 ? width : width / 2, plane == 0 ? 60 : 128);
        }
    }
    return frame;
}

int at(const AVFrame* frame, int plane, int x, int y) {
    return frame->data[plane][y * frame->linesize[plane] + x];
}

TEST(SubtitleBurner, PaletteEntriesBecomeTheColoursTheyName) {
    EXPECT_EQ(paletteEntryRgb(0x108080), "000000");  // video black
    EXPECT_EQ(paletteEntryRgb(0xEB8080), "ffffff");  // video white
    EXPECT_EQ(paletteEntryRgb(0xD29210), "ffff00");  // yellow, as the test disc has it
}

TEST(SubtitleBurner, OpaquePixelsReplaceTransparentOnesKeepAndHalfMixes) {
    FramePtr frame = greyFrame(16, 16);
    // A 4x4 bitmap at (2, 2): left half opaque white-ish yellow, right half
    // transparent, bottom row half transparent.
    const int w = 4, h = 4;
    std::vector<std::uint8_t> luma(w * h, 210), blue(w * h, 16), red(w * h, 146), alpha(w * h);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            alpha[y * w + x] = y == 3 ? 128 : (x < 2 ? 255 : 0);
        }
    }
    blendInto(frame.get(), 2, 2, w, h, luma.data(), blue.data(), red.data(), alpha.data());
    EXPECT_EQ(at(frame.get(), 0, 2, 2), 210);
    EXPECT_EQ(at(frame.get(), 0, 3, 4), 210);
    EXPECT_EQ(at(frame.get(), 0, 4, 2), 60) << "transparent";
    EXPECT_NEAR(at(frame.get(), 0, 4, 5), (60 + 210) / 2, 1) << "half";
    EXPECT_EQ(at(frame.get(), 0, 1, 2), 60) << "outside the bitmap";
    EXPECT_EQ(at(frame.get(), 0, 2, 6), 60);
    EXPECT_EQ(at(frame.get(), 1, 1, 1), 16) << "chroma of the opaque 2x2 block";
    EXPECT_EQ(at(frame.get(), 2, 1, 1), 146);
    EXPECT_EQ(at(frame.get(), 1, 2, 1), 128) << "chroma of the transparent block";
}

TEST(SubtitleBurner, BitmapsReachingPastThePictureAreCutNotOverrun) {
    FramePtr frame = greyFrame(8, 8);
    const int w = 6, h = 6;
    std::vector<std::uint8_t> luma(w * h, 200), blue(w * h, 90), red(w * h, 90), alpha(w * h, 255);
    blendInto(frame.get(), 5, 5, w, h, luma.data(), blue.data(), red.data(), alpha.data());
    blendInto(frame.get(), -3, -3, w, h, luma.data(), blue.data(), red.data(), alpha.data());
    EXPECT_EQ(at(frame.get(), 0, 7, 7), 200);
    EXPECT_EQ(at(frame.get(), 0, 0, 0), 200);
    EXPECT_EQ(at(frame.get(), 0, 4, 4), 60);
    EXPECT_EQ(at(frame.get(), 1, 3, 3), 90);
}

// libass's coverage masks, one colour each.
TEST(SubtitleBurner, TextMasksAreLaidInTheirColourAndOpacity) {
    FramePtr frame = greyFrame(8, 4);
    // Opaque white in the first column of a 4x2 mask at (6, 2) whose right
    // half lies outside the picture; then half transparent red (AA = 0x80).
    const std::uint8_t edge[] = {255, 0, 0, 255, 255, 0, 0, 255};
    blendMask(frame.get(), 6, 2, 4, 2, 4, edge, 0xFFFFFF00);
    EXPECT_EQ(frame->data[0][2 * frame->linesize[0] + 6], 235);
    EXPECT_EQ(frame->data[0][2 * frame->linesize[0] + 7], 60);
    const std::uint8_t full[] = {255, 255, 255, 255};
    blendMask(frame.get(), 0, 0, 2, 2, 2, full, 0xFF000080);
    EXPECT_NEAR(frame->data[0][0], (60 + 82) / 2, 1);
    EXPECT_EQ(frame->data[0][2], 60);
    EXPECT_NEAR(frame->data[2][0], (128 + 240) / 2, 1);
    EXPECT_EQ(frame->data[2][1], 128);
}

}  // namespace
}  // namespace zelvic::test
