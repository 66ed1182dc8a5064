#include "controls/SkinButton.h"

#include <QApplication>
#include <QEnterEvent>

#include <gtest/gtest.h>

#include "controls/SkinPictures.h"
#include "controls/SkinPlacement.h"
#include "controls/TwoStateSkinButton.h"

namespace pelorine::controls {
namespace {

TEST(SkinButtonFaceTest, PicksThePictureOfTheState) {
    const SkinPictureIds ids{138, 149, 137};
    struct Case {
        SkinButtonState state;
        int expected;
    };
    const Case cases[] = {
        {{false, false, false}, 138},  // normal
        {{true, false, false}, 137},   // hover
        {{true, false, true}, 149},    // pushed while hovered
        {{false, false, true}, 149},   // pushed after the mouse left
        {{false, true, false}, 149},   // still focused after a click
        {{true, true, false}, 149},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(skinPictureFor(ids, c.state), c.expected)
            << c.state.hovered << c.state.focused << c.state.down;
    }
}

TEST(SkinButtonFaceTest, MissingIdsFallBackToTheNormalPicture) {
    const SkinPictureIds ids{183, 0, 0};
    EXPECT_EQ(skinPictureFor(ids, {true, false, false}), 183);
    EXPECT_EQ(skinPictureFor(ids, {false, false, true}), 183);
    EXPECT_EQ(skinPictureFor({191, 0, 190}, {false, true, false}), 191);
}

TEST(SkinButtonFaceTest, EnteringWithTheButtonHeldStartsNoHover) {
    EXPECT_TRUE(hoverStartsOnEnter(false, false));
    EXPECT_FALSE(hoverStartsOnEnter(true, false));
    EXPECT_TRUE(hoverStartsOnEnter(true, true));
}

void enter(QWidget& widget) {
    QEnterEvent event(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QApplication::sendEvent(&widget, &event);
}

void leave(QWidget& widget) {
    QEvent event(QEvent::Leave);
    QApplication::sendEvent(&widget, &event);
}

QImage picture(int id) {
    return SkinPictures::load(id)->toImage().convertToFormat(QImage::Format_RGB32);
}

QImage shown(QWidget& widget) {
    return widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

class SkinButtonWidgetTest : public ::testing::Test {
protected:
    void SetUp() override {
        button.resize(62, 64);
        button.setPictures(138, 149, 137);
    }
    SkinButton button;
};

TEST_F(SkinButtonWidgetTest, HoverPushAndLeaveShowTheirPictures) {
    EXPECT_EQ(shown(button), picture(138));

    enter(button);
    EXPECT_TRUE(button.isHovered());
    EXPECT_EQ(shown(button), picture(137));

    button.setDown(true);
    EXPECT_EQ(button.shownPicture(), 149);
    EXPECT_EQ(shown(button), picture(149));
    button.setDown(false);
    EXPECT_EQ(shown(button), picture(137));

    leave(button);
    EXPECT_FALSE(button.isHovered());
    EXPECT_EQ(shown(button), picture(138));
}

TEST_F(SkinButtonWidgetTest, ClicksArriveAsClicked) {
    int clicks = 0;
    QObject::connect(&button, &SkinButton::clicked, [&clicks] { ++clicks; });
    button.click();
    EXPECT_EQ(clicks, 1);
}

TEST_F(SkinButtonWidgetTest, ZeroIdsShowTheNormalPictureInEveryState) {
    button.resize(36, 29);
    button.setPictures(183, 0, 0);
    enter(button);
    EXPECT_EQ(shown(button), picture(183));
    button.setDown(true);
    EXPECT_EQ(shown(button), picture(183));
}

TEST_F(SkinButtonWidgetTest, AMissingPictureIsReportedAndTheRestStillDraws) {
    std::vector<int> missing;
    QObject::connect(&button, &SkinButton::pictureMissing,
                     [&missing](int id) { missing.push_back(id); });
    button.setPictures(138, 9999, 137);
    EXPECT_EQ(shown(button), picture(138));
    ASSERT_FALSE(missing.empty());
    EXPECT_EQ(missing.front(), 9999);
}

TEST(TwoStateSkinButtonTest, OwnerSwitchesBetweenTheTwoSets) {
    TwoStateSkinButton play;
    play.resize(33, 29);
    play.setPictures(181, 0, 180, 228, 229, 0);
    EXPECT_EQ(play.shownPicture(), 181);
    EXPECT_EQ(shown(play), picture(181));

    play.setSecondState(true);
    EXPECT_TRUE(play.isSecondState());
    EXPECT_EQ(shown(play), picture(228));
    enter(play);
    EXPECT_EQ(shown(play), picture(229));

    play.setSecondState(false);
    EXPECT_EQ(shown(play), picture(180));
    play.setDown(true);
    // Its pressed picture is 0: the normal one of the first set.
    EXPECT_EQ(shown(play), picture(181));
}

TEST(SkinPlacementTest, ButtonsGoToTheirRectanglesWithTheirPictures) {
    QWidget window;
    SkinButton add(&window);
    const SkinButtonPlace* place = skinButtonPlace(1007);
    ASSERT_NE(place, nullptr);
    placeSkinButton(add, *place);
    EXPECT_EQ(add.geometry(), QRect(26, 42, 62, 64));
    EXPECT_EQ(add.pictures().normal, 138);
    EXPECT_EQ(add.pictures().pressed, 149);
    EXPECT_EQ(add.pictures().hover, 137);
    EXPECT_EQ(add.sizeHint(), add.size());

    TwoStateSkinButton play(&window);
    placeTwoStateButton(play, kPlayButton);
    EXPECT_EQ(play.geometry(), QRect(527, 191, 33, 29));
    EXPECT_EQ(play.shownPicture(), 181);

    EXPECT_EQ(skinButtonPlace(1018), nullptr);  // Play is the two-state button
    EXPECT_EQ(skinButtonPlace(1017)->hover, 1017);
}

}  // namespace
}  // namespace pelorine::controls
