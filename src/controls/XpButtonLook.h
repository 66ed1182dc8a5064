#pragma once
// How the gradient text button looks: a 64-step vertical gradient face, a
// black outer frame, coloured borders while hovered or focused, and dark blue
// text that moves one pixel right and down while the button is pushed.

#include <QColor>
#include <QFont>
#include <QPainter>
#include <QRect>
#include <QString>

namespace pelorine::controls {

struct XpButtonState {
    bool hovered = false;
    bool focused = false;
    bool down = false;
    bool isDefault = false;
    bool enabled = true;

    // Focused, pushed or the dialog's default button.
    bool highlighted() const { return focused || down || isDefault; }
};

inline constexpr int kXpGradientSteps = 64;
// The face sits inside a frame as thick as the system edge.
inline constexpr int kXpEdge = 2;
inline constexpr QRgb kXpTextColour = qRgb(0, 0, 100);
inline constexpr QRgb kXpFillColour = qRgb(222, 223, 236);

// Colour of gradient step 0..63.
QColor xpGradientColour(int step, bool hovered, bool highlighted);

// The gradient step of pixel row y (window coordinates) on a face this high;
// the rows below the face's height all use the last step.
int xpGradientStep(int y, int faceHeight);

struct XpBorderSet {
    QColor left, right, top, bottom;
    int sideWidth;  // left and right
    int edgeWidth;  // top and bottom
};

XpBorderSet xpHoverBorders();
XpBorderSet xpFocusBorders();

// The border set to draw, or none (nullopt-like: `draw` false).
struct XpBorderChoice {
    bool draw = false;
    XpBorderSet set{};
};
XpBorderChoice xpBordersFor(const XpButtonState& state);

// The top-left of the text, whose measured size is `textSize`, on the face.
QPoint xpTextOrigin(const QRect& face, QSize textSize, bool down);

// Paints the whole button into `rect` of `painter`, background first.
void paintXpButton(QPainter& painter, const QRect& rect, const XpButtonState& state,
                   const QString& text, const QFont& font, const QColor& background);

}  // namespace pelorine::controls
