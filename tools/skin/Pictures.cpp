#include "Pictures.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainterPath>

#include "Art.h"
#include "Icons.h"
#include "controls/SkinLayout.h"

namespace skin {
namespace {

using pelorine::controls::SkinRect;
namespace layout = pelorine::controls;

QRectF inner(const SkinRect& r) {
    return QRectF(r.left, r.top, r.width(), r.height());
}

// --- The window background -------------------------------------------------

void drawLabel(QPainter& p, int centreY, const QString& text, int pixelSize = 11) {
    drawText(p, QRectF(16, centreY - 8, 64, 16), text, font(pixelSize, true), palette::kText,
             Qt::AlignLeft | Qt::AlignVCenter);
}

void drawSunkenFrame(QPainter& p, const SkinRect& r) {
    // A one-pixel frame just outside the control's own rectangle.
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QColor(132, 156, 196));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRect(r.left - 1, r.top - 1, r.width() + 1, r.height() + 1));
    p.restore();
}

QImage drawBackground() {
    QImage image(layout::kWindowWidth, layout::kWindowHeight, QImage::Format_ARGB32_Premultiplied);
    image.fill(palette::kDialog);
    QPainter p(&image);
    prepare(p);

    // Title strip: light enough for the dark title texts the window draws on it.
    QLinearGradient title(0, 0, 0, layout::kTitleBarHeight);
    title.setColorAt(0, QColor(250, 252, 255));
    title.setColorAt(1, QColor(198, 214, 238));
    p.fillRect(QRect(0, 0, layout::kWindowWidth, layout::kTitleBarHeight), title);
    p.fillRect(QRect(0, layout::kTitleBarHeight - 1, layout::kWindowWidth, 1), palette::kLine);

    // Menu row and toolbar band over the left column.
    QLinearGradient band(0, 22, 0, 108);
    band.setColorAt(0.0, QColor(240, 245, 252));
    band.setColorAt(0.22, QColor(236, 242, 251));
    band.setColorAt(1.0, QColor(210, 223, 242));
    p.fillRect(QRect(0, 22, 512, 86), band);
    p.fillRect(QRect(8, 40, 496, 1), QColor(255, 255, 255, 200));
    p.fillRect(QRect(8, 39, 496, 1), QColor(185, 202, 228));
    p.fillRect(QRect(0, 107, 512, 1), QColor(170, 190, 222));

    // The job list.
    drawSunkenFrame(p, {14, 112, 506, 438});

    // Right column: preview, playback and range controls.
    drawPanel(p, QRectF(514.5, 25.5, 198, 229));
    drawText(p, QRectF(522, 27, 180, 19), QStringLiteral("Preview"), font(11, true), palette::kText,
             Qt::AlignLeft | Qt::AlignVCenter);
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QColor(60, 72, 96));
    p.setBrush(QColor(16, 20, 28));
    p.drawRect(QRect(519, 47, 187, 139));
    p.restore();

    // Job settings grid.
    drawPanel(p, QRectF(514.5, 257.5, 198, 251));
    drawSunkenFrame(p, {518, 267, 708, 506});

    // Shut-down check box.
    drawPanel(p, QRectF(514.5, 511.5, 198, 21));

    // Profile, output folder and progress rows.
    drawPanel(p, QRectF(8.5, 441.5, 504, 92));
    drawLabel(p, 455, QStringLiteral("Profile:"));
    drawLabel(p, 483, QStringLiteral("Output:"));
    drawLabel(p, 513, QStringLiteral("Progress:"), 10);
    drawLabel(p, 523, QStringLiteral("Total:"), 10);
    drawSunkenFrame(p, {84, 475, 414, 491});
    drawSunkenFrame(p, {81, 510, 420, 516});
    drawSunkenFrame(p, {81, 520, 420, 526});

    // The window has no frame of its own.
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QColor(96, 124, 172));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRect(0, 0, layout::kWindowWidth - 1, layout::kWindowHeight - 1));
    return image;
}

// --- Buttons -----------------------------------------------------------------

enum class Kind { Menu, Toolbar, Glyph, Text, TitleGlyph };

struct ButtonArt {
    int controlId;
    Kind kind;
    QString label;
    Icon icon = Icon::Add;
    Glyph glyph = Glyph::Play;
};

const ButtonArt* artFor(int controlId) {
    static const ButtonArt arts[] = {
        {1001, Kind::Menu, QStringLiteral("File")},
        {1002, Kind::Menu, QStringLiteral("Edit")},
        {1003, Kind::Menu, QStringLiteral("Settings")},
        {1006, Kind::Menu, QStringLiteral("Help")},
        {1007, Kind::Toolbar, QStringLiteral("Add"), Icon::Add},
        {1008, Kind::Toolbar, QStringLiteral("Remove"), Icon::Remove},
        {1009, Kind::Toolbar, QStringLiteral("Clear"), Icon::Clear},
        {1010, Kind::Toolbar, QStringLiteral("Convert"), Icon::Convert},
        {1011, Kind::Toolbar, QStringLiteral("Stop"), Icon::StopConversion},
        {1012, Kind::Toolbar, QStringLiteral("DVD"), Icon::Dvd},
        {1013, Kind::Toolbar, QStringLiteral("Website"), Icon::Website},
        {1019, Kind::Glyph, {}, Icon::Add, Glyph::Stop},
        {1020, Kind::Glyph, {}, Icon::Add, Glyph::Previous},
        {1021, Kind::Glyph, {}, Icon::Add, Glyph::Next},
        {1015, Kind::Text, QStringLiteral("Save Profile As")},
        {1016, Kind::Text, QStringLiteral("Browse...")},
        {1017, Kind::Text, QStringLiteral("Cancel")},
        {1000, Kind::TitleGlyph, {}, Icon::Add, Glyph::Close},
        {1014, Kind::TitleGlyph, {}, Icon::Add, Glyph::Minimise},
    };
    for (const ButtonArt& art : arts) {
        if (art.controlId == controlId) {
            return &art;
        }
    }
    return nullptr;
}

QImage drawButton(const QImage& background, const SkinRect& rect, const ButtonArt& art, Face face) {
    // Each face starts from the background under the button, so it blends in.
    QImage image = background.copy(inner(rect).toRect());
    QPainter p(&image);
    prepare(p);
    const qreal w = rect.width();
    const qreal h = rect.height();
    const qreal shift = face == Face::Pressed ? 1.0 : 0.0;
    switch (art.kind) {
        case Kind::Menu: {
            drawToolbarPlate(p, QRectF(0.5, 0.5, w - 1, h - 1), face, 3);
            const QColor colour = face == Face::Hover ? palette::kGlyphHover : palette::kText;
            drawText(p, QRectF(shift, shift - 0.5, w, h), art.label, font(11, face != Face::Normal),
                     colour);
            break;
        }
        case Kind::Toolbar: {
            drawToolbarPlate(p, QRectF(2.5, 1.5, w - 5, h - 3), face, 6);
            drawIcon(p, art.icon, QRectF((w - 32) / 2 + shift, 6 + shift, 32, 32));
            const QColor colour = face == Face::Hover ? palette::kGlyphHover : palette::kText;
            drawText(p, QRectF(shift, 41 + shift, w, 16), art.label,
                     fittingFont(art.label, 12, true, w - 6), colour);
            break;
        }
        case Kind::Glyph: {
            drawPushFace(p, QRectF(1.5, 1.5, w - 3, h - 3), face);
            const QColor colour = face == Face::Hover ? palette::kGlyphHover : palette::kGlyph;
            drawGlyph(p, art.glyph, QRectF(w / 2 - 7 + shift, h / 2 - 6 + shift, 14, 12), colour);
            break;
        }
        case Kind::Text: {
            drawPushFace(p, QRectF(1.5, 1.5, w - 3, h - 3), face);
            const QColor colour = face == Face::Hover ? palette::kGlyphHover : palette::kText;
            // Long labels give up the bold weight before they give up size.
            QFont f = font(11, true);
            if (QFontMetricsF(f).horizontalAdvance(art.label) > w - 8) {
                f = fittingFont(art.label, 11, false, w - 8);
            }
            drawText(p, QRectF(shift, shift - 0.5, w, h), art.label, f, colour);
            break;
        }
        case Kind::TitleGlyph: {
            const bool close = art.glyph == Glyph::Close;
            QColor glyph = palette::kGlyph;
            if (face != Face::Normal) {
                p.setPen(Qt::NoPen);
                p.setBrush(close ? QColor(214, 64, 52) : QColor(96, 146, 222));
                p.drawRoundedRect(QRectF(0.5, 0.5, w - 1, h - 1), 3, 3);
                glyph = Qt::white;
            } else {
                p.setPen(QPen(QColor(140, 164, 204), 1.0));
                p.setBrush(QColor(255, 255, 255, 120));
                p.drawRoundedRect(QRectF(0.5, 0.5, w - 1, h - 1), 3, 3);
            }
            drawGlyph(p, art.glyph, QRectF(w / 2 - 5, h / 2 - 5, 10, 10), glyph);
            break;
        }
    }
    return image;
}

void addButtons(const QImage& background, std::map<int, QImage>& out) {
    for (const auto& place : layout::kSkinButtons) {
        const ButtonArt* art = artFor(place.controlId);
        if (art == nullptr) {
            continue;
        }
        out[place.normal] = drawButton(background, place.rect, *art, Face::Normal);
        out[place.hover] = drawButton(background, place.rect, *art, Face::Hover);
        if (place.pressed != 0) {
            out[place.pressed] = drawButton(background, place.rect, *art, Face::Pressed);
        }
    }
    const auto& play = layout::kPlayButton;
    const ButtonArt playArt{play.controlId, Kind::Glyph, {}, Icon::Add, Glyph::Play};
    const ButtonArt pauseArt{play.controlId, Kind::Glyph, {}, Icon::Add, Glyph::Pause};
    out[play.firstNormal] = drawButton(background, play.rect, playArt, Face::Normal);
    out[play.firstHover] = drawButton(background, play.rect, playArt, Face::Hover);
    out[play.secondNormal] = drawButton(background, play.rect, pauseArt, Face::Normal);
    out[play.secondHover] = drawButton(background, play.rect, pauseArt, Face::Hover);
}

// --- Seek bar, combo arrow, list header ---------------------------------------

QImage drawSeekChannel(const QImage& background, bool active) {
    QImage image = background.copy(528, 222, 169, 11);
    QPainter p(&image);
    prepare(p);
    QLinearGradient fill(0, 3, 0, 8);
    if (active) {
        fill.setColorAt(0, QColor(120, 180, 250));
        fill.setColorAt(1, QColor(36, 104, 208));
        p.setPen(QPen(QColor(30, 80, 170), 1.0));
    } else {
        fill.setColorAt(0, QColor(168, 184, 210));
        fill.setColorAt(1, QColor(226, 234, 246));
        p.setPen(QPen(QColor(126, 148, 186), 1.0));
    }
    p.setBrush(fill);
    p.drawRoundedRect(QRectF(0.5, 3.5, 168, 4), 2, 2);
    return image;
}

QImage drawSeekThumb(bool active) {
    QImage image = transparentImage(5, 10);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);
    const QColor border = active ? QColor(24, 70, 150) : QColor(56, 92, 156);
    const QColor top = active ? QColor(140, 196, 255) : QColor(255, 255, 255);
    const QColor bottom = active ? QColor(50, 120, 220) : QColor(186, 204, 234);
    QLinearGradient fill(0, 0, 0, 10);
    fill.setColorAt(0, top);
    fill.setColorAt(1, bottom);
    p.fillRect(QRect(1, 1, 3, 8), fill);
    p.fillRect(QRect(1, 0, 3, 1), border);
    p.fillRect(QRect(1, 9, 3, 1), border);
    p.fillRect(QRect(0, 1, 1, 8), border);
    p.fillRect(QRect(4, 1, 1, 8), border);
    // The four corners stay transparent: the thumb's key colour is pixel (0, 0).
    return image;
}

QImage drawComboArrow() {
    QImage image(13, 13, QImage::Format_ARGB32_Premultiplied);
    QPainter p(&image);
    QLinearGradient fill(0, 0, 0, 13);
    fill.setColorAt(0, QColor(250, 252, 255));
    fill.setColorAt(1, QColor(206, 220, 242));
    p.fillRect(image.rect(), fill);
    prepare(p);
    p.setPen(QPen(palette::kGlyph, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    QPolygonF chevron{{QPointF(3.5, 5), QPointF(6.5, 8), QPointF(9.5, 5)}};
    p.drawPolyline(chevron);
    return image;
}

QImage drawHeader(int width, int sortDirection) {
    QImage image(width, 17, QImage::Format_ARGB32_Premultiplied);
    QPainter p(&image);
    QLinearGradient fill(0, 0, 0, 17);
    fill.setColorAt(0, QColor(253, 254, 255));
    fill.setColorAt(1, QColor(220, 230, 245));
    p.fillRect(image.rect(), fill);
    p.fillRect(QRect(0, 16, width, 1), QColor(166, 186, 216));
    if (sortDirection != 0) {
        prepare(p);
        p.setPen(Qt::NoPen);
        p.setBrush(palette::kGlyph);
        QPolygonF t;
        if (sortDirection > 0) {
            t << QPointF(4.5, 10.5) << QPointF(8.5, 5.5) << QPointF(12.5, 10.5);
        } else {
            t << QPointF(4.5, 6.5) << QPointF(8.5, 11.5) << QPointF(12.5, 6.5);
        }
        p.drawPolygon(t);
    }
    return image;
}

// --- Menu item pictures and the program icon ----------------------------------

QImage drawMenuPicture(Icon icon) {
    QImage image = transparentImage(layout::kMenuPictureSize, layout::kMenuPictureSize);
    QPainter p(&image);
    // Menus show the top 15 rows only, so the drawing keeps off the last one.
    drawIcon(p, icon, QRectF(0.5, 0, 15, 15));
    return image;
}

// Drawn in a 256 x 256 design square, scaled to `size`.
QImage drawProgramIcon(int size) {
    QImage image = transparentImage(size, size);
    QPainter p(&image);
    prepare(p);
    p.scale(size / 256.0, size / 256.0);
    QLinearGradient fill(0, 8, 0, 248);
    fill.setColorAt(0, QColor(96, 164, 246));
    fill.setColorAt(1, QColor(26, 72, 164));
    p.setPen(QPen(QColor(20, 56, 130), 4));
    p.setBrush(fill);
    p.drawRoundedRect(QRectF(10, 10, 236, 236), 52, 52);

    // A handheld player seen from the front.
    p.setPen(QPen(QColor(14, 18, 28), 3));
    p.setBrush(QColor(36, 42, 56));
    p.drawRoundedRect(QRectF(20, 78, 216, 104), 46, 46);
    QLinearGradient screen(0, 92, 0, 168);
    screen.setColorAt(0, QColor(176, 222, 255));
    screen.setColorAt(1, QColor(70, 140, 220));
    p.setPen(QPen(QColor(10, 12, 20), 2));
    p.setBrush(screen);
    p.drawRect(QRectF(68, 92, 120, 76));
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawPolygon(QPolygonF{{QPointF(114, 108), QPointF(148, 130), QPointF(114, 152)}});
    p.setBrush(QColor(120, 130, 150));
    p.drawRect(QRectF(34, 124, 24, 8));
    p.drawRect(QRectF(42, 116, 8, 24));
    for (const QPointF& c :
         {QPointF(212, 118), QPointF(212, 142), QPointF(200, 130), QPointF(224, 130)}) {
        p.drawEllipse(c, 5, 5);
    }
    // The conversion arrow above it.
    p.setPen(QPen(QColor(255, 176, 40), 12, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(88, 50), QPointF(150, 50));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 176, 40));
    p.drawPolygon(QPolygonF{{QPointF(146, 30), QPointF(176, 50), QPointF(146, 70)}});
    return image;
}

}  // namespace

std::map<int, QImage> drawAllPictures() {
    std::map<int, QImage> out;
    const QImage background = drawBackground();
    out[layout::kBackgroundId] = background;
    out[layout::kIconId] = drawProgramIcon(256);
    addButtons(background, out);
    out[layout::kSeekChannelId] = drawSeekChannel(background, false);
    out[layout::kSeekChannelActiveId] = drawSeekChannel(background, true);
    out[layout::kSeekThumbId] = drawSeekThumb(false);
    out[layout::kSeekThumbActiveId] = drawSeekThumb(true);
    out[layout::kComboArrowId] = drawComboArrow();
    out[layout::kHeaderBackgroundId] = drawHeader(137, 0);
    out[layout::kHeaderDescendingId] = drawHeader(17, -1);
    out[layout::kHeaderAscendingId] = drawHeader(17, 1);

    const std::pair<int, Icon> menuPictures[] = {
        {245, Icon::Contact},
        {246, Icon::NewProject},
        {247, Icon::OpenProject},
        {248, Icon::SaveProject},
        {249, Icon::Add},
        {250, Icon::Remove},
        {251, Icon::Clear},
        {252, Icon::Dvd},
        {253, Icon::Profile},
        {254, Icon::Info},
        {255, Icon::OutputName},
        {256, Icon::OutputPath},
        {257, Icon::Overwrite},
        {258, Icon::Play},
        {259, Icon::StopPlay},
        {260, Icon::Convert},
        {261, Icon::StopConversion},
        {262, Icon::Help},
        {263, Icon::Website},
    };
    for (const auto& [id, icon] : menuPictures) {
        out[id] = drawMenuPicture(icon);
    }
    return out;
}

std::map<int, QImage> drawDesktopIcons() {
    std::map<int, QImage> out;
    for (const int size : kDesktopIconSizes) {
        out[size] = drawProgramIcon(size);
    }
    return out;
}

}  // namespace skin
