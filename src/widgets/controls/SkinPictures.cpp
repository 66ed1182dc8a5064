#include "controls/SkinPictures.h"

// The resource file belongs to this static library; without an explicit
// initialisation the linker may drop it from the program.
static void initSkinResources() {
    Q_INIT_RESOURCE(skin);
}

namespace pelorine::controls {

QString SkinPictures::resourcePath(int id) {
    return QStringLiteral(":/skin/%1.png").arg(id);
}

std::optional<QPixmap> SkinPictures::load(int id) {
    static const bool initialised = [] {
        initSkinResources();
        return true;
    }();
    (void)initialised;
    QPixmap picture;
    if (id <= 0 || !picture.load(resourcePath(id))) {
        return std::nullopt;
    }
    return picture;
}

}  // namespace pelorine::controls
