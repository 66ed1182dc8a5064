// Every picture the window asks for must be in the program, at its size.

#include "controls/SkinPictures.h"

#include <gtest/gtest.h>

#include "controls/SkinLayout.h"

namespace pelorine::controls {
namespace {

TEST(SkinPicturesTest, EveryPictureIdExistsAtItsSize) {
    const auto all = allSkinPictures();
    ASSERT_GE(all.size(), 80u);
    for (const SkinPictureSize& wanted : all) {
        SCOPED_TRACE(wanted.id);
        const auto picture = SkinPictures::load(wanted.id);
        ASSERT_TRUE(picture.has_value());
        EXPECT_EQ(picture->size(), QSize(wanted.width, wanted.height));
    }
}

TEST(SkinPicturesTest, ButtonPicturesMatchTheirButtons) {
    // A few sizes from the window's table, as a check on the table itself.
    EXPECT_EQ(SkinPictures::load(138)->size(), QSize(62, 64));   // Add
    EXPECT_EQ(SkinPictures::load(1017)->size(), QSize(76, 24));  // Cancel, hover
    EXPECT_EQ(SkinPictures::load(181)->size(), QSize(33, 29));   // Play
    EXPECT_EQ(SkinPictures::load(129)->size(), QSize(720, 540));
    EXPECT_EQ(SkinPictures::load(131)->size(), QSize(169, 11));
    EXPECT_EQ(SkinPictures::load(133)->size(), QSize(5, 10));
}

TEST(SkinPicturesTest, StatesOfAButtonLookDifferent) {
    for (const SkinButtonPlace& b : kSkinButtons) {
        SCOPED_TRACE(b.controlId);
        const QImage normal = SkinPictures::load(b.normal)->toImage();
        EXPECT_NE(normal, SkinPictures::load(b.hover)->toImage());
        if (b.pressed != 0) {
            EXPECT_NE(normal, SkinPictures::load(b.pressed)->toImage());
        }
    }
}

TEST(SkinPicturesTest, UnknownIdsAreReportedMissing) {
    EXPECT_FALSE(SkinPictures::load(0).has_value());
    EXPECT_FALSE(SkinPictures::load(9999).has_value());
}

TEST(SkinPicturesTest, SeekThumbKeyColourIsTransparent) {
    for (int id : {kSeekThumbId, kSeekThumbActiveId}) {
        const QImage thumb = SkinPictures::load(id)->toImage();
        EXPECT_EQ(qAlpha(thumb.pixel(0, 0)), 0);
        EXPECT_EQ(qAlpha(thumb.pixel(2, 5)), 255);
    }
}

}  // namespace
}  // namespace pelorine::controls
