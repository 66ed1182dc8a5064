#pragma once
// The pictures of the skin, compiled into the program as :/skin/<id>.png.

#include <QPixmap>
#include <QString>

#include <optional>

namespace pelorine::controls {

class SkinPictures {
public:
    static QString resourcePath(int id);

    // The picture with this id, or nothing when it is not among the resources.
    static std::optional<QPixmap> load(int id);
};

}  // namespace pelorine::controls
