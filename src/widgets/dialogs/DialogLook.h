#pragma once
// The look shared by the small dialogs: their colours, their font and the
// conversion of the layout's dialog units into pixels.
//
// The layouts are given in dialog units of the 10-point "System" face, whose
// base units are 8 x 16 pixels: one unit is 2 pixels across and 2 pixels down.
// At that scale the painted lines of the video information sheet (20 pixels
// apart, the last at y 280) end just above its OK button (y 302), and the
// longest radio text of the overwrite dialog fits its 274-pixel button.

#include <QColor>
#include <QRect>

class QDialog;
class QString;

namespace pelorine::controls {
class GradientButton;
}

namespace pelorine::dialogs {

inline constexpr int kPixelsPerUnitX = 2;
inline constexpr int kPixelsPerUnitY = 2;

// The background of every dialog; the text is black.
inline const QColor kDialogBackground(213, 224, 240);

// A rectangle in dialog units, in pixels.
QRect fromDialogUnits(int x, int y, int width, int height);

// Makes `dialog` a modal dialog of `width` x `height` dialog units with
// `caption`, a title bar with a close button and nothing else, the dialog
// colours and the dialog font.
void applyDialogLook(QDialog& dialog, const QString& caption, int width, int height);

// An OK or Cancel button of `dialog` at a rectangle in dialog units.
controls::GradientButton* makeDialogButton(QDialog& dialog, const QString& text, int x, int y,
                                           int width, int height);

}  // namespace pelorine::dialogs
