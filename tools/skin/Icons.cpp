#include "Icons.h"

#include <QConicalGradient>
#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>

#include "Art.h"

namespace skin {
namespace {

QLinearGradient vertical(qreal top, qreal bottom, const QColor& a, const QColor& b) {
    QLinearGradient g(0, top, 0, bottom);
    g.setColorAt(0, a);
    g.setColorAt(1, b);
    return g;
}

void filmStrip(QPainter& p) {
    p.setPen(QPen(QColor(40, 50, 70), 1.2));
    p.setBrush(vertical(4, 28, QColor(92, 108, 136), QColor(52, 62, 84)));
    p.drawRoundedRect(QRectF(5, 4, 19, 24), 2.5, 2.5);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(235, 240, 248));
    for (int i = 0; i < 5; ++i) {
        p.drawRect(QRectF(6.5, 6 + i * 4.5, 2, 2.4));
        p.drawRect(QRectF(20.5, 6 + i * 4.5, 2, 2.4));
    }
    p.setBrush(vertical(7, 25, QColor(150, 205, 255), QColor(70, 140, 225)));
    p.drawRect(QRectF(10, 7, 9, 8));
    p.drawRect(QRectF(10, 17, 9, 8));
}

void badge(QPainter& p, const QColor& colour, bool plus) {
    p.setPen(QPen(Qt::white, 1.5));
    QRadialGradient g(QPointF(21, 19), 10);
    g.setColorAt(0, colour.lighter(135));
    g.setColorAt(1, colour);
    p.setBrush(g);
    p.drawEllipse(QPointF(23, 22), 7.5, 7.5);
    p.setPen(QPen(Qt::white, 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(19, 22), QPointF(27, 22));
    if (plus) {
        p.drawLine(QPointF(23, 18), QPointF(23, 26));
    }
}

void page(QPainter& p, const QRectF& r) {
    QPainterPath path;
    const qreal fold = r.width() * 0.32;
    path.moveTo(r.left(), r.top());
    path.lineTo(r.right() - fold, r.top());
    path.lineTo(r.right(), r.top() + fold);
    path.lineTo(r.right(), r.bottom());
    path.lineTo(r.left(), r.bottom());
    path.closeSubpath();
    p.setPen(QPen(QColor(98, 118, 150), 1.4));
    p.setBrush(vertical(r.top(), r.bottom(), Qt::white, QColor(224, 232, 244)));
    p.drawPath(path);
    QPainterPath corner;
    corner.moveTo(r.right() - fold, r.top());
    corner.lineTo(r.right() - fold, r.top() + fold);
    corner.lineTo(r.right(), r.top() + fold);
    p.setBrush(QColor(200, 212, 232));
    p.drawPath(corner);
}

void folder(QPainter& p) {
    p.setPen(QPen(QColor(160, 110, 20), 1.3));
    p.setBrush(vertical(6, 27, QColor(250, 206, 96), QColor(226, 160, 40)));
    QPainterPath back;
    back.moveTo(3, 8);
    back.lineTo(12, 8);
    back.lineTo(14, 11);
    back.lineTo(28, 11);
    back.lineTo(28, 27);
    back.lineTo(3, 27);
    back.closeSubpath();
    p.drawPath(back);
    p.setBrush(vertical(14, 27, QColor(255, 226, 136), QColor(240, 184, 60)));
    QPainterPath front;
    front.moveTo(3, 27);
    front.lineTo(7, 15);
    front.lineTo(31, 15);
    front.lineTo(28, 27);
    front.closeSubpath();
    p.drawPath(front);
}

void arrowArc(QPainter& p, qreal startDeg, const QColor& colour) {
    const QRectF ring(6, 6, 20, 20);
    p.setPen(QPen(colour, 4, Qt::SolidLine, Qt::FlatCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(ring, int(startDeg * 16), int(140 * 16));
    // Arrow head at the arc's end, pointing along the turn.
    const qreal end = (startDeg + 140) * M_PI / 180.0;
    const QPointF tip(16 + 10 * std::cos(end), 16 - 10 * std::sin(end));
    const QPointF along(-std::sin(end), -std::cos(end));
    const QPointF out(std::cos(end), -std::sin(end));
    QPolygonF head;
    head << tip + along * 6 << tip + out * 5.5 << tip - out * 5.5;
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPolygon(head);
}

void circleWithSign(QPainter& p, const QString& sign, const QColor& colour) {
    QRadialGradient g(QPointF(12, 10), 18);
    g.setColorAt(0, colour.lighter(150));
    g.setColorAt(1, colour);
    p.setPen(QPen(colour.darker(140), 1.2));
    p.setBrush(g);
    p.drawEllipse(QRectF(3, 3, 26, 26));
    QFont f = font(20, true);
    drawText(p, QRectF(3, 3, 26, 26), sign, f, Qt::white);
}

void globe(QPainter& p) {
    QRadialGradient g(QPointF(12, 11), 18);
    g.setColorAt(0, QColor(130, 200, 255));
    g.setColorAt(1, QColor(28, 96, 190));
    p.setPen(QPen(QColor(20, 70, 150), 1.2));
    p.setBrush(g);
    const QRectF ball(3, 3, 26, 26);
    p.drawEllipse(ball);
    p.setPen(QPen(QColor(255, 255, 255, 210), 1.3));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRectF(10, 3, 12, 26));
    p.drawLine(QPointF(16, 3), QPointF(16, 29));
    p.drawLine(QPointF(3, 16), QPointF(29, 16));
    p.drawArc(QRectF(5, -3, 22, 14), 200 * 16, 140 * 16);
    p.drawArc(QRectF(5, 21, 22, 14), 20 * 16, 140 * 16);
}

void disc(QPainter& p) {
    QConicalGradient g(QPointF(16, 16), 30);
    g.setColorAt(0.0, QColor(235, 238, 245));
    g.setColorAt(0.15, QColor(190, 225, 255));
    g.setColorAt(0.3, QColor(245, 215, 250));
    g.setColorAt(0.5, QColor(200, 206, 220));
    g.setColorAt(0.65, QColor(255, 245, 200));
    g.setColorAt(0.8, QColor(190, 240, 220));
    g.setColorAt(1.0, QColor(235, 238, 245));
    p.setPen(QPen(QColor(110, 120, 140), 1.2));
    p.setBrush(g);
    p.drawEllipse(QRectF(3, 3, 26, 26));
    p.setBrush(QColor(215, 220, 230));
    p.drawEllipse(QPointF(16, 16), 5.5, 5.5);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(16, 16), 2.5, 2.5);
}

void envelope(QPainter& p) {
    p.setPen(QPen(QColor(98, 118, 150), 1.4));
    p.setBrush(vertical(7, 26, Qt::white, QColor(222, 230, 244)));
    p.drawRect(QRectF(3, 7, 26, 19));
    p.setBrush(Qt::NoBrush);
    QPainterPath flap;
    flap.moveTo(3, 7);
    flap.lineTo(16, 18);
    flap.lineTo(29, 7);
    p.drawPath(flap);
}

void pencil(QPainter& p) {
    p.save();
    p.translate(20, 16);
    p.rotate(45);
    p.setPen(QPen(QColor(120, 80, 20), 1.0));
    p.setBrush(vertical(-3, 3, QColor(255, 214, 90), QColor(236, 160, 30)));
    p.drawRect(QRectF(-9, -3, 14, 6));
    p.setBrush(QColor(240, 120, 120));
    p.drawRect(QRectF(-12, -3, 3, 6));
    QPolygonF tip;
    tip << QPointF(5, -3) << QPointF(11, 0) << QPointF(5, 3);
    p.setBrush(QColor(245, 222, 180));
    p.drawPolygon(tip);
    p.restore();
}

void sliders(QPainter& p) {
    p.setPen(QPen(QColor(70, 90, 130), 2, Qt::SolidLine, Qt::RoundCap));
    const qreal ys[] = {13, 18.5, 24};
    const qreal knobs[] = {17, 11, 15};
    for (int i = 0; i < 3; ++i) {
        p.drawLine(QPointF(8, ys[i]), QPointF(21, ys[i]));
    }
    p.setPen(QPen(QColor(20, 70, 150), 1));
    p.setBrush(palette::kAccent);
    for (int i = 0; i < 3; ++i) {
        p.drawRoundedRect(QRectF(knobs[i] - 2, ys[i] - 2.5, 4, 5), 1, 1);
    }
}

void trash(QPainter& p) {
    p.setPen(QPen(QColor(60, 80, 115), 1.3));
    p.setBrush(vertical(10, 29, QColor(200, 214, 236), QColor(120, 142, 182)));
    QPainterPath body;
    body.moveTo(8, 10);
    body.lineTo(24, 10);
    body.lineTo(22.5, 29);
    body.lineTo(9.5, 29);
    body.closeSubpath();
    p.drawPath(body);
    p.setPen(QPen(QColor(70, 90, 130), 1.4));
    for (qreal x : {12.5, 16.0, 19.5}) {
        p.drawLine(QPointF(x, 13), QPointF(x, 26));
    }
    p.setPen(QPen(QColor(60, 80, 115), 1.3));
    p.setBrush(vertical(5, 10, QColor(220, 230, 246), QColor(150, 170, 205)));
    p.drawRoundedRect(QRectF(5, 6.5, 22, 3.5), 1.5, 1.5);
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(12.5, 3, 7, 3.5), 1, 1);
}

void stopSign(QPainter& p, const QColor& colour) {
    QPolygonF octagon;
    for (int i = 0; i < 8; ++i) {
        const qreal a = (22.5 + 45 * i) * M_PI / 180.0;
        octagon << QPointF(16 + 13.5 * std::cos(a), 16 + 13.5 * std::sin(a));
    }
    p.setPen(QPen(colour.darker(150), 1.2));
    p.setBrush(vertical(3, 29, colour.lighter(140), colour));
    p.drawPolygon(octagon);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(11, 11, 10, 10), 1.5, 1.5);
}

}  // namespace

void drawIcon(QPainter& p, Icon icon, const QRectF& box) {
    p.save();
    prepare(p);
    p.translate(box.topLeft());
    p.scale(box.width() / 32.0, box.height() / 32.0);
    switch (icon) {
        case Icon::Add:
            filmStrip(p);
            badge(p, QColor(46, 160, 64), true);
            break;
        case Icon::Remove:
            filmStrip(p);
            badge(p, QColor(214, 58, 46), false);
            break;
        case Icon::Clear:
            trash(p);
            break;
        case Icon::Convert:
            arrowArc(p, 20, QColor(240, 140, 24));
            arrowArc(p, 200, palette::kAccent);
            break;
        case Icon::StopConversion:
            stopSign(p, QColor(214, 50, 40));
            break;
        case Icon::Dvd:
            disc(p);
            break;
        case Icon::Website:
            globe(p);
            break;
        case Icon::NewProject:
            page(p, QRectF(6, 3, 20, 26));
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(250, 190, 30));
            {
                QPolygonF star;
                for (int i = 0; i < 10; ++i) {
                    const qreal r = (i % 2 == 0) ? 7 : 3;
                    const qreal a = (-90 + 36 * i) * M_PI / 180.0;
                    star << QPointF(23 + r * std::cos(a), 23 + r * std::sin(a));
                }
                p.setPen(QPen(QColor(190, 130, 10), 1));
                p.drawPolygon(star);
            }
            break;
        case Icon::OpenProject:
            folder(p);
            break;
        case Icon::SaveProject:
            p.setPen(QPen(QColor(20, 50, 110), 1.3));
            p.setBrush(vertical(3, 29, QColor(80, 140, 225), QColor(34, 82, 170)));
            p.drawRoundedRect(QRectF(3, 3, 26, 26), 3, 3);
            p.setBrush(Qt::white);
            p.drawRect(QRectF(8, 3, 16, 10));
            p.setBrush(QColor(190, 200, 215));
            p.drawRect(QRectF(9, 19, 14, 10));
            p.setBrush(QColor(60, 70, 90));
            p.drawRect(QRectF(12, 21, 3, 6));
            break;
        case Icon::Profile:
            page(p, QRectF(5, 3, 22, 27));
            sliders(p);
            break;
        case Icon::Info:
            circleWithSign(p, QStringLiteral("i"), QColor(40, 110, 210));
            break;
        case Icon::OutputName:
            page(p, QRectF(4, 3, 20, 26));
            p.setPen(QPen(QColor(120, 140, 175), 1.6));
            for (qreal y : {11.0, 16.0, 21.0}) {
                p.drawLine(QPointF(8, y), QPointF(16, y));
            }
            pencil(p);
            break;
        case Icon::OutputPath:
            folder(p);
            p.setPen(QPen(QColor(30, 140, 50), 3.2, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(10, 21), QPointF(21, 21));
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(30, 140, 50));
            p.drawPolygon(QPolygonF{{QPointF(19, 15.5), QPointF(27, 21), QPointF(19, 26.5)}});
            break;
        case Icon::Overwrite:
            page(p, QRectF(3, 3, 17, 22));
            page(p, QRectF(12, 8, 17, 22));
            p.setPen(QPen(QColor(230, 120, 20), 2.6, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(16, 16), QPointF(25, 25));
            p.drawLine(QPointF(25, 16), QPointF(16, 25));
            break;
        case Icon::Help:
            circleWithSign(p, QStringLiteral("?"), QColor(40, 110, 210));
            break;
        case Icon::Contact:
            envelope(p);
            break;
        case Icon::Play: {
            QPolygonF tri{{QPointF(8, 4), QPointF(28, 16), QPointF(8, 28)}};
            p.setPen(QPen(QColor(20, 110, 40), 1.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            p.setBrush(vertical(4, 28, QColor(120, 215, 120), QColor(36, 150, 60)));
            p.drawPolygon(tri);
            break;
        }
        case Icon::StopPlay:
            p.setPen(QPen(QColor(40, 60, 110), 1.4));
            p.setBrush(vertical(5, 27, QColor(140, 170, 225), QColor(60, 95, 170)));
            p.drawRoundedRect(QRectF(6, 6, 20, 20), 3, 3);
            break;
    }
    p.restore();
}

void drawGlyph(QPainter& p, Glyph glyph, const QRectF& box, const QColor& colour) {
    p.save();
    prepare(p);
    const QPointF c = box.center();
    const qreal s = std::min(box.width(), box.height()) / 2.0;
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    auto triangle = [&](qreal left, qreal half, bool right) {
        const qreal w = half * 1.6;
        QPolygonF t;
        if (right) {
            t << QPointF(left, c.y() - half) << QPointF(left + w, c.y())
              << QPointF(left, c.y() + half);
        } else {
            t << QPointF(left + w, c.y() - half) << QPointF(left, c.y())
              << QPointF(left + w, c.y() + half);
        }
        p.drawPolygon(t);
    };
    switch (glyph) {
        case Glyph::Play:
            triangle(c.x() - s * 0.6, s * 0.85, true);
            break;
        case Glyph::Pause:
            p.drawRect(QRectF(c.x() - s * 0.7, c.y() - s * 0.8, s * 0.5, s * 1.6));
            p.drawRect(QRectF(c.x() + s * 0.2, c.y() - s * 0.8, s * 0.5, s * 1.6));
            break;
        case Glyph::Stop:
            p.drawRoundedRect(QRectF(c.x() - s * 0.7, c.y() - s * 0.7, s * 1.4, s * 1.4), 1.5, 1.5);
            break;
        case Glyph::Previous:
            p.drawRect(QRectF(c.x() - s * 1.05, c.y() - s * 0.7, s * 0.3, s * 1.4));
            triangle(c.x() - s * 0.75, s * 0.7, false);
            triangle(c.x() + s * 0.1, s * 0.7, false);
            break;
        case Glyph::Next:
            triangle(c.x() - s * 1.05, s * 0.7, true);
            triangle(c.x() - s * 0.2, s * 0.7, true);
            p.drawRect(QRectF(c.x() + s * 0.75, c.y() - s * 0.7, s * 0.3, s * 1.4));
            break;
        case Glyph::Close:
            p.setPen(QPen(colour, 1.8, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(c + QPointF(-s * 0.55, -s * 0.55), c + QPointF(s * 0.55, s * 0.55));
            p.drawLine(c + QPointF(-s * 0.55, s * 0.55), c + QPointF(s * 0.55, -s * 0.55));
            break;
        case Glyph::Minimise:
            p.drawRect(QRectF(c.x() - s * 0.6, c.y() + s * 0.3, s * 1.2, 2));
            break;
    }
    p.restore();
}

}  // namespace skin
