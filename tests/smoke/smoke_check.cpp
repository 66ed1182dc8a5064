// Checks the real window on the X screen: grabs the screen and compares the
// skin buttons and the background at their rectangles with the pictures the
// program carries.
//   smoke_check WINDOW_X WINDOW_Y [SHOT.png]
// Prints each mismatch; exit status 0 when everything sits where it belongs.

#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>

#include <cstdio>

#include "controls/SkinLayout.h"
#include "controls/SkinPictures.h"

namespace {

using namespace pelorine::controls;

// Whether `picture` appears in `screen` with its top-left corner at `at`.
bool shownAt(const QImage& screen, const QImage& picture, QPoint at) {
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            if (screen.pixel(at.x() + x, at.y() + y) != picture.pixel(x, y)) {
                return false;
            }
        }
    }
    return true;
}

QImage pictureOf(int id) {
    const auto picture = SkinPictures::load(id);
    return picture ? picture->toImage().convertToFormat(QImage::Format_RGB32) : QImage();
}

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication application(argc, argv);
    if (argc < 3 || QGuiApplication::primaryScreen() == nullptr) {
        std::fputs("usage: smoke_check WINDOW_X WINDOW_Y [SHOT.png]\n", stderr);
        return 2;
    }
    const QPoint window(std::atoi(argv[1]), std::atoi(argv[2]));
    const QImage screen = QGuiApplication::primaryScreen()->grabWindow(0).toImage().convertToFormat(
        QImage::Format_RGB32);
    if (argc > 3) {
        screen.save(argv[3]);
    }
    int mismatches = 0;
    for (const SkinButtonPlace& button : kSkinButtons) {
        if (!shownAt(screen, pictureOf(button.normal),
                     window + QPoint(button.rect.left, button.rect.top))) {
            std::printf("button %d is not at (%d, %d)\n", button.controlId, button.rect.left,
                        button.rect.top);
            ++mismatches;
        }
    }
    // A piece of the background that nothing covers: the right of the title strip.
    const QImage background = pictureOf(kBackgroundId);
    const QRect plain(560, 4, 80, 14);
    if (!shownAt(screen, background.copy(plain), window + plain.topLeft())) {
        std::puts("the background is not at the window's origin");
        ++mismatches;
    }
    return mismatches == 0 ? 0 : 1;
}
