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

struct GradientButtonState {
    bool hovered = false;
    bool focused = false;
    bool down = false;
    bool isDefault = false;
    bool enabled = true;

    // Focused, pushed or the dialog's default button.
    bool highlighted() const { return focused || down || isDefault; }
};

inline constexpr int kGradientSteps = 64;
// The face sits inside a frame as thick as the system edge.
inline constexpr int kGradientEdge = 2;
inline constexpr QRgb kGradientTextColour = qRgb(0, 0, 100);
inline constexpr QRgb kGradientFillColour = qRgb(222, 223, 236);

// Colour of gradient step 0..63.
QColor gradientColour(int step, bool hovered, bool highlighted);

// The gradient step of pixel row y (window coordinates) on a face this high;
// the rows below the face's height all use the last step.
int gradientStep(int y, int faceHeight);

struct GradientBorderSet {
    QColor left, right, top, bottom;
    int sideWidth;  // left and right
    int edgeWidth;  // top and bottom
};

GradientBorderSet gradientHoverBorders();
GradientBorderSet gradientFocusBorders();

// The border set to draw, or none (nullopt-like: `draw` false).
struct GradientBorderChoice {
    bool draw = false;
    GradientBorderSet set{};
};
GradientBorderChoice gradientBordersFor(const GradientButtonState& state);

// The top-left of the text, whose measured size is `textSize`, on the face.
QPoint gradientTextOrigin(const QRect& face, QSize textSize, bool down);

// Paints the whole button into `rect` of `painter`, background first.
void paintGradientButton(QPainter& painter, const QRect& rect, const GradientButtonState& state,
                         const QString& text, const QFont& font, const QColor& background);

}  // namespace pelorine::controls
