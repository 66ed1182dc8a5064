#pragma once
// The drawing vocabulary every picture of the skin shares: one palette, one
// font family, and the three faces of a button.

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QRectF>
#include <QString>

namespace skin {

enum class Face { Normal, Pressed, Hover };

namespace palette {
inline const QColor kDialog{213, 224, 240};
inline const QColor kText{20, 40, 85};
inline const QColor kPanel{226, 234, 247};
inline const QColor kPanelBorder{160, 182, 216};
inline const QColor kLine{150, 172, 210};
inline const QColor kAccent{52, 120, 215};
inline const QColor kGlyph{40, 68, 125};
inline const QColor kGlyphHover{22, 95, 200};
}  // namespace palette

// Liberation Sans at a pixel size, so every machine draws the same pictures.
QFont font(int pixelSize, bool bold = false);

// An ARGB image of the given size, fully transparent.
QImage transparentImage(int width, int height);

// A painter with antialiasing on for shapes and text.
void prepare(QPainter& painter);

void drawText(QPainter& painter, const QRectF& box, const QString& text, const QFont& font,
              const QColor& colour, int flags = Qt::AlignCenter);

// Largest font no bigger than `pixelSize` whose text fits `width`.
QFont fittingFont(const QString& text, int pixelSize, bool bold, qreal width);

// The light rounded plate of a hovered or pressed toolbar button.
void drawToolbarPlate(QPainter& painter, const QRectF& box, Face face, qreal radius);

// The raised face of a small push button (playback, Browse, Cancel ...).
void drawPushFace(QPainter& painter, const QRectF& box, Face face);

void drawPanel(QPainter& painter, const QRectF& box);

}  // namespace skin
