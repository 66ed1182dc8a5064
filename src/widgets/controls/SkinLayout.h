#pragma once
// Where the main window's skin buttons sit and which pictures they show. The
// skin generator draws every picture at the size of its button from this very
// table, so a button moved here is redrawn to fit at the next regeneration.

#include <array>
#include <vector>

#include "app/Commands.h"

namespace pelorine::controls {

// A rectangle in the window's client pixels; right and bottom are exclusive.
struct SkinRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    constexpr int width() const { return right - left; }
    constexpr int height() const { return bottom - top; }
};

// One skin button: picture ids for normal, pressed and hover; 0 shows the normal one.
struct SkinButtonPlace {
    int controlId;
    SkinRect rect;
    int normal;
    int pressed;
    int hover;
};

inline constexpr std::array<SkinButtonPlace, 19> kSkinButtons{{
    {command::kFileMenu, {13, 24, 40, 38}, 135, 139, 136},
    {command::kEditMenu, {48, 24, 77, 38}, 141, 142, 140},
    {command::kSettingsMenu, {84, 24, 134, 38}, 151, 152, 150},
    {command::kHelpMenu, {237, 24, 268, 38}, 160, 161, 159},
    {command::kAdd, {26, 42, 88, 106}, 138, 149, 137},
    {command::kDelete, {88, 42, 154, 106}, 163, 164, 162},
    {command::kClear, {154, 42, 219, 106}, 166, 169, 168},
    {command::kConvert, {219, 42, 284, 106}, 170, 167, 165},
    {command::kStop, {284, 42, 349, 106}, 172, 173, 171},
    {command::kDvd, {349, 42, 415, 106}, 175, 176, 174},
    {command::kWebsite, {415, 42, 481, 106}, 177, 178, 179},
    {command::kStopPlay, {560, 191, 596, 220}, 183, 0, 182},
    {command::kPlayPrevious, {596, 191, 633, 220}, 185, 0, 184},
    {command::kPlayNext, {633, 191, 670, 220}, 187, 0, 186},
    {command::kSaveProfileAs, {426, 445, 501, 470}, 189, 0, 188},
    {command::kBrowse, {426, 470, 501, 496}, 191, 0, 190},
    {command::kCancel, {435, 506, 511, 530}, 193, 0, 1017},
    {command::kExit, {696, 2, 713, 18}, 195, 0, 194},
    {command::kMinimise, {656, 3, 675, 18}, 197, 0, 196},
}};

// The Play button: its first state offers to play, its second to pause.
struct TwoStateButtonPlace {
    int controlId;
    SkinRect rect;
    int firstNormal;
    int firstPressed;
    int firstHover;
    int secondNormal;
    int secondHover;
    int secondPressed;
};

inline constexpr TwoStateButtonPlace kPlayButton{
    command::kPlay, {527, 191, 560, 220}, 181, 0, 180, 228, 229, 0};

// Every picture of the skin that is not a button face, with its size.
struct SkinPictureSize {
    int id;
    int width;
    int height;
};

inline constexpr int kIconId = 128;
inline constexpr int kBackgroundId = 129;
inline constexpr int kWindowWidth = 720;
inline constexpr int kWindowHeight = 540;
inline constexpr int kTitleBarHeight = 22;

inline constexpr int kSeekChannelId = 131;
inline constexpr int kSeekChannelActiveId = 132;
inline constexpr int kSeekThumbId = 133;
inline constexpr int kSeekThumbActiveId = 130;
inline constexpr int kComboArrowId = 134;
inline constexpr int kHeaderBackgroundId = 224;
inline constexpr int kHeaderDescendingId = 225;
inline constexpr int kHeaderAscendingId = 226;

// Menu item pictures are 16 x 16; menus show their top 15 rows.
inline constexpr int kFirstMenuPictureId = 245;
inline constexpr int kLastMenuPictureId = 263;
inline constexpr int kMenuPictureSize = 16;

inline constexpr std::array<SkinPictureSize, 10> kFixedPictures{{
    {kIconId, 256, 256},
    {kBackgroundId, kWindowWidth, kWindowHeight},
    {kSeekChannelId, 169, 11},
    {kSeekChannelActiveId, 169, 11},
    {kSeekThumbId, 5, 10},
    {kSeekThumbActiveId, 5, 10},
    {kComboArrowId, 13, 13},
    {kHeaderBackgroundId, 137, 17},
    {kHeaderDescendingId, 17, 17},
    {kHeaderAscendingId, 17, 17},
}};

// Every picture id the window needs, with its size: the fixed pictures, the
// button faces (each as large as its button) and the menu item pictures.
inline std::vector<SkinPictureSize> allSkinPictures() {
    std::vector<SkinPictureSize> all(kFixedPictures.begin(), kFixedPictures.end());
    for (const SkinButtonPlace& b : kSkinButtons) {
        for (int id : {b.normal, b.pressed, b.hover}) {
            if (id != 0) {
                all.push_back({id, b.rect.width(), b.rect.height()});
            }
        }
    }
    const TwoStateButtonPlace& p = kPlayButton;
    for (int id : {p.firstNormal, p.firstPressed, p.firstHover, p.secondNormal, p.secondHover,
                   p.secondPressed}) {
        if (id != 0) {
            all.push_back({id, p.rect.width(), p.rect.height()});
        }
    }
    for (int id = kFirstMenuPictureId; id <= kLastMenuPictureId; ++id) {
        all.push_back({id, kMenuPictureSize, kMenuPictureSize});
    }
    return all;
}

}  // namespace pelorine::controls
