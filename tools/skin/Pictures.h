#pragma once
// Every picture of the skin, drawn in memory and keyed by its id.

#include <QImage>

#include <map>

namespace skin {

std::map<int, QImage> drawAllPictures();

// The program icon for the desktop's icon theme, keyed by its size in pixels
// (the hicolor theme's fixed sizes).
inline constexpr int kDesktopIconSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};
std::map<int, QImage> drawDesktopIcons();

}  // namespace skin
