#pragma once
// The icons of the skin, each drawn in a 32 x 32 design square and scaled into
// any box: the toolbar shows them at 32 pixels, the menus at 15.

#include <QPainter>
#include <QRectF>

namespace skin {

enum class Icon {
    Add,
    Remove,
    Clear,
    Convert,
    StopConversion,
    Dvd,
    Website,
    NewProject,
    OpenProject,
    SaveProject,
    Profile,
    Info,
    OutputName,
    OutputPath,
    Overwrite,
    Help,
    Contact,
    Play,
    StopPlay,
};

void drawIcon(QPainter& painter, Icon icon, const QRectF& box);

// Playback glyphs, flat in one colour, centred in `box`.
enum class Glyph { Play, Pause, Stop, Previous, Next, Close, Minimise };
void drawGlyph(QPainter& painter, Glyph glyph, const QRectF& box, const QColor& colour);

}  // namespace skin
