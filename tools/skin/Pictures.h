#pragma once
// Every picture of the skin, drawn in memory and keyed by its id.

#include <QImage>

#include <map>

namespace skin {

std::map<int, QImage> drawAllPictures();

}  // namespace skin
