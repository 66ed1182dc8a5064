#include "controls/ProgressBarLook.h"

#include <cstdlib>
#include <initializer_list>

namespace pelorine::controls {
namespace {

// One pixel.
void dot(QPainter& painter, const QColor& colour, int x, int y) {
    painter.fillRect(QRect(x, y, 1, 1), colour);
}

// A polyline of axis-parallel segments in which each segment leaves out its
// end point, as the desktop's line drawing does: the next segment starts
// there, and the last end point is never drawn.
void stroke(QPainter& painter, const QColor& colour, std::initializer_list<QPoint> points) {
    const QPoint* from = points.begin();
    for (const QPoint* to = from + 1; to != points.end(); from = to, ++to) {
        const int dx = (to->x() > from->x()) - (to->x() < from->x());
        const int dy = (to->y() > from->y()) - (to->y() < from->y());
        if (dx != 0 && dy != 0) {
            continue;  // only straight strokes are drawn here
        }
        if (dx != 0) {
            const int left = dx > 0 ? from->x() : to->x() + 1;
            painter.fillRect(QRect(left, from->y(), std::abs(to->x() - from->x()), 1), colour);
        } else if (dy != 0) {
            const int top = dy > 0 ? from->y() : to->y() + 1;
            painter.fillRect(QRect(from->x(), top, 1, std::abs(to->y() - from->y())), colour);
        }
    }
}

}  // namespace

ProgressColours progressColours(const QColor& base, const QColor& darkShadow,
                                const QColor& buttonShadow) {
    ProgressColours c;
    c.base = QColor(base.rgb());
    c.light1 = lightenStep(base);
    c.light2 = lightenStep(c.light1);
    c.light3 = lightenStep(c.light2);
    c.dark1 = darkenStep(base);
    c.dark2 = darkenStep(c.dark1);
    // Palette colours may carry 16-bit channels; the bar works in 8 bits.
    c.shadow1 = QColor(darkShadow.rgb());
    c.shadow3 = QColor(buttonShadow.rgb());
    c.shadow2 = QColor((darkShadow.red() + buttonShadow.red()) / 2,
                       (darkShadow.green() + buttonShadow.green()) / 2,
                       (darkShadow.blue() + buttonShadow.blue()) / 2);
    return c;
}

int progressFilledWidth(int lower, int upper, int position, int clientWidth) {
    if (upper == lower) {
        return 0;
    }
    return static_cast<int>(static_cast<long long>(position - lower) * clientWidth /
                            (upper - lower));
}

void paintProgressBar(QPainter& painter, const QRect& client, int lower, int upper, int position,
                      const ProgressColours& colours) {
    const int l = client.left();
    const int t = client.top();
    const int b = client.top() + client.height();
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setClipRect(client);
    painter.fillRect(client, QColor(kProgressBackground));

    const int x = progressFilledWidth(lower, upper, position, client.width());
    if (x > l) {
        painter.fillRect(QRect(l, t, x - l, client.height()), colours.light3);
    }
    if (x != l) {
        const int a = l;
        const int c = x;
        stroke(painter, colours.light1, {{a + 2, b - 4}, {c - 2, b - 4}});
        stroke(painter, colours.light1, {{a + 2, t + 2}, {c - 2, t + 2}});
        dot(painter, colours.light1, a + 1, b - 3);
        dot(painter, colours.light1, a + 1, t + 1);

        stroke(painter, colours.light2,
               {{a + 2, b - 5}, {c - 3, b - 5}, {c - 3, t + 3}, {a + 1, t + 3}});
        dot(painter, colours.light2, a + 1, b - 4);
        dot(painter, colours.light2, a + 1, t + 2);

        stroke(painter, colours.base, {{a, b - 1}, {a, t}, {a + 2, t}});
        dot(painter, colours.base, a + 1, b - 2);
        stroke(painter, colours.base, {{a + 2, b - 3}, {c - 2, b - 3}});
        stroke(painter, colours.base, {{a + 2, t + 1}, {c - 1, t + 1}});

        stroke(painter, colours.dark1, {{a + 2, b - 2}, {c - 2, b - 2}, {c - 2, t + 1}});
        stroke(painter, colours.dark1, {{a + 2, t}, {c, t}});
        dot(painter, colours.dark1, a + 1, b - 1);

        stroke(painter, colours.dark2, {{a + 2, b - 1}, {c - 1, b - 1}, {c - 1, t}});
        stroke(painter, colours.shadow2, {{c, t}, {c, b}});
        stroke(painter, colours.shadow3, {{c + 1, t}, {c + 1, b}});
    }
    painter.restore();
}

}  // namespace pelorine::controls
