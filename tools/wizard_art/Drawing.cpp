#include "Drawing.h"

#include <QLinearGradient>
#include <QPen>
#include <QRadialGradient>
#include <QtMath>

#include <algorithm>
#include <cmath>

QPainterPath Rosette(QPointF c, double rOuter, double rInner, int teeth)
{
    QPainterPath path;
    for (int i = 0; i <= teeth * 2; ++i) {
        const double a = M_PI * i / teeth - M_PI / 2;
        const double r = (i % 2 == 0) ? rOuter : rInner;
        const QPointF p(c.x() + r * std::cos(a), c.y() + r * std::sin(a));
        if (i == 0)
            path.moveTo(p);
        else
            path.lineTo(p);
    }
    path.closeSubpath();
    return path;
}

void DrawSeal(QPainter &p, QPointF c, double r, double ARibbonLength, double AOutline)
{
    if (ARibbonLength > 0) {
        for (int side = -1; side <= 1; side += 2) {
            QPainterPath tail;
            const double w = r * 0.55;
            const QPointF top(c.x() + side * r * 0.35, c.y() + r * 0.2);
            const QPointF bottom(c.x() + side * r * 0.85, c.y() + r * ARibbonLength);
            QPointF dir = bottom - top;
            const double len = std::hypot(dir.x(), dir.y());
            dir /= len;
            const QPointF n(-dir.y() * w / 2, dir.x() * w / 2);
            tail.moveTo(top + n);
            tail.lineTo(bottom + n);
            tail.lineTo(bottom - dir * (w * 0.45));
            tail.lineTo(bottom - n);
            tail.lineTo(top - n);
            tail.closeSubpath();
            QLinearGradient g(top, bottom);
            g.setColorAt(0, RibbonDark);
            g.setColorAt(0.35, Ribbon);
            g.setColorAt(1, RibbonDark);
            p.setBrush(g);
            p.setPen(QPen(RibbonDark.darker(130), AOutline));
            p.drawPath(tail);
        }
    }
    QRadialGradient g(c + QPointF(-r * 0.35, -r * 0.4), r * 1.5);
    g.setColorAt(0, GoldLight);
    g.setColorAt(0.45, Gold);
    g.setColorAt(1, GoldDark);
    p.setBrush(g);
    p.setPen(QPen(GoldDark.darker(120), AOutline));
    p.drawPath(Rosette(c, r, r * 0.86, 16));
    // Inner ring and its centre.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(255, 240, 190, 220), std::max(0.8, r * 0.07)));
    p.drawEllipse(c, r * 0.66, r * 0.66);
    QRadialGradient inner(c + QPointF(r * 0.25, r * 0.3), r * 0.8);
    inner.setColorAt(0, GoldLight);
    inner.setColorAt(1, Gold);
    p.setBrush(inner);
    p.setPen(QPen(GoldDark, std::max(0.6, r * 0.05)));
    p.drawEllipse(c, r * 0.52, r * 0.52);
    // A check mark, the seal of approval.
    QPainterPath check;
    check.moveTo(c + QPointF(-r * 0.26, r * 0.0));
    check.lineTo(c + QPointF(-r * 0.06, r * 0.2));
    check.lineTo(c + QPointF(r * 0.28, -r * 0.2));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(GoldDark.darker(115), std::max(1.0, r * 0.12), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(check);
}

void DrawKey(QPainter &p, double AScale, double AOutline)
{
    const double s = AScale;
    QPainterPath key;
    key.setFillRule(Qt::OddEvenFill);
    // Bow: a ring with a hole.
    key.addEllipse(QPointF(0, 0), 13 * s, 13 * s);
    key.addEllipse(QPointF(-3 * s, 0), 5 * s, 5 * s);
    QPainterPath shaft;
    shaft.addRoundedRect(QRectF(10 * s, -3.2 * s, 52 * s, 6.4 * s), 1.5 * s, 1.5 * s);
    // Bits.
    shaft.addRect(QRectF(46 * s, 2 * s, 5 * s, 9 * s));
    shaft.addRect(QRectF(54 * s, 2 * s, 4 * s, 6.5 * s));
    shaft.addRect(QRectF(58 * s, 2 * s, 4 * s, 10 * s));
    // Collar near the bow.
    shaft.addRoundedRect(QRectF(14 * s, -5 * s, 4 * s, 10 * s), 1 * s, 1 * s);
    QPainterPath all = key.united(shaft);
    all.setFillRule(Qt::OddEvenFill);
    QPainterPath hole;
    hole.addEllipse(QPointF(-3 * s, 0), 5 * s, 5 * s);
    all = all.subtracted(hole);

    QLinearGradient g(QPointF(0, -13 * s), QPointF(0, 13 * s));
    g.setColorAt(0, GoldLight);
    g.setColorAt(0.45, Gold);
    g.setColorAt(1, GoldDark);
    p.setBrush(g);
    p.setPen(QPen(GoldDark.darker(135), AOutline, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(all);
    // Shine along the shaft.
    p.setPen(QPen(QColor(255, 246, 210, 200), std::max(0.6, 1.0 * s), Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(20 * s, -1.6 * s), QPointF(60 * s, -1.6 * s));
}
