#include "Painter.h"

#include <QDirIterator>
#include <QFileInfo>
#include <QHash>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QSvgRenderer>
#include <QtMath>

#include <stdexcept>

namespace {

// Tango palette: light, mid, dark of each hue.
struct TPal
{
    QColor L, M, D;
};

TPal Pal(const QString &AName)
{
    static const QHash<QString, TPal> pals = {
        {"yellow", {QColor("#fce94f"), QColor("#edd400"), QColor("#c4a000")}},
        {"orange", {QColor("#fcaf3e"), QColor("#f57900"), QColor("#ce5c00")}},
        {"brown", {QColor("#e9b96e"), QColor("#c17d11"), QColor("#8f5902")}},
        {"green", {QColor("#8ae234"), QColor("#73d216"), QColor("#4e9a06")}},
        {"blue", {QColor("#729fcf"), QColor("#3465a4"), QColor("#204a87")}},
        {"plum", {QColor("#ad7fa8"), QColor("#75507b"), QColor("#5c3566")}},
        {"red", {QColor("#ef2929"), QColor("#cc0000"), QColor("#a40000")}},
        {"white", {QColor("#ffffff"), QColor("#eeeeec"), QColor("#888a85")}},
        {"gray", {QColor("#d3d7cf"), QColor("#babdb6"), QColor("#555753")}},
        {"dark", {QColor("#888a85"), QColor("#555753"), QColor("#2e3436")}},
    };
    return pals.value(AName, pals.value("blue"));
}

// Drawing context in a 32 x 32 unit square; O is one device pixel in units
// (at least one unit), the width of every outline.
struct TCtx
{
    QPainter &P;
    int Size;
    double O;

    QPen Pen(const QColor &AColor, double AWidth = 1.0) const
    {
        QPen pen(AColor, AWidth * O);
        pen.setJoinStyle(Qt::RoundJoin);
        pen.setCapStyle(Qt::RoundCap);
        return pen;
    }
    void Fill(const QPainterPath &APath, const TPal &APal, bool AVertical = true) const
    {
        const QRectF r = APath.boundingRect();
        QLinearGradient g(r.topLeft(), AVertical ? r.bottomLeft() : r.topRight());
        g.setColorAt(0, APal.L);
        g.setColorAt(1, APal.M);
        P.setBrush(g);
        P.setPen(Pen(APal.D));
        P.drawPath(APath);
    }
    void Rect(const QRectF &AR, const TPal &APal, double ARadius = 2) const
    {
        QPainterPath path;
        path.addRoundedRect(AR, ARadius, ARadius);
        Fill(path, APal);
    }
    void Ellipse(const QRectF &AR, const TPal &APal) const
    {
        QPainterPath path;
        path.addEllipse(AR);
        Fill(path, APal);
    }
    void Line(double X1, double Y1, double X2, double Y2, const QColor &AColor, double AWidth = 1.0) const
    {
        P.setPen(Pen(AColor, AWidth));
        P.drawLine(QPointF(X1, Y1), QPointF(X2, Y2));
    }
    void Poly(const QVector<QPointF> &APoints, const TPal &APal) const
    {
        QPainterPath path;
        path.addPolygon(QPolygonF(APoints));
        path.closeSubpath();
        Fill(path, APal);
    }
    void Text(const QRectF &AR, const QString &AText, const QColor &AColor, double APixel, bool ABold = true) const
    {
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPixelSize(qMax(1, qRound(APixel)));
        font.setBold(ABold);
        P.setFont(font);
        P.setPen(AColor);
        P.drawText(AR, Qt::AlignCenter, AText);
    }
    // Small sizes show fewer details.
    bool Small() const { return Size <= 16; }
};

void Tick(const TCtx &c, const QRectF &r, const QColor &color)
{
    QPainterPath path;
    path.moveTo(r.left() + r.width() * 0.12, r.top() + r.height() * 0.55);
    path.lineTo(r.left() + r.width() * 0.40, r.top() + r.height() * 0.82);
    path.lineTo(r.left() + r.width() * 0.88, r.top() + r.height() * 0.18);
    c.P.setBrush(Qt::NoBrush);
    c.P.setPen(c.Pen(Pal("dark").D, c.Small() ? 5.5 : 6));
    c.P.drawPath(path);
    c.P.setPen(c.Pen(color, c.Small() ? 3.5 : 4));
    c.P.drawPath(path);
}

void Cross(const TCtx &c, const QRectF &r, const QColor &color, double width = 4)
{
    c.P.setBrush(Qt::NoBrush);
    for (int pass = 0; pass < 2; ++pass) {
        c.P.setPen(c.Pen(pass == 0 ? Pal("red").D : color, pass == 0 ? width + 2 : width));
        c.P.drawLine(r.topLeft(), r.bottomRight());
        c.P.drawLine(r.topRight(), r.bottomLeft());
    }
}

void Sheet(const TCtx &c, const QRectF &r)
{
    QPainterPath path;
    const double f = r.width() * 0.3;
    path.moveTo(r.topLeft());
    path.lineTo(r.right() - f, r.top());
    path.lineTo(r.right(), r.top() + f);
    path.lineTo(r.bottomRight());
    path.lineTo(r.bottomLeft());
    path.closeSubpath();
    c.Fill(path, {QColor("#ffffff"), QColor("#e6e6e3"), QColor("#888a85")});
    c.Line(r.right() - f, r.top(), r.right() - f, r.top() + f, QColor("#888a85"));
    c.Line(r.right() - f, r.top() + f, r.right(), r.top() + f, QColor("#888a85"));
}

void TextLines(const TCtx &c, const QRectF &r, int n, const QColor &color = QColor("#888a85"))
{
    const double step = r.height() / n;
    for (int i = 0; i < n; ++i) {
        const double y = r.top() + step * (i + 0.5);
        const double right = i == n - 1 ? r.left() + r.width() * 0.6 : r.right();
        c.Line(r.left(), y, right, y, color, c.Small() ? 1 : 1.5);
    }
}

void Person(const TCtx &c, const QRectF &r, const TPal &pal)
{
    const double w = r.width(), h = r.height();
    QPainterPath body;
    body.moveTo(r.left() + w * 0.08, r.bottom());
    body.cubicTo(r.left() + w * 0.08, r.top() + h * 0.55, r.left() + w * 0.3, r.top() + h * 0.52,
                 r.center().x(), r.top() + h * 0.52);
    body.cubicTo(r.right() - w * 0.3, r.top() + h * 0.52, r.right() - w * 0.08, r.top() + h * 0.55,
                 r.right() - w * 0.08, r.bottom());
    body.closeSubpath();
    c.Fill(body, pal);
    c.Ellipse(QRectF(r.center().x() - w * 0.22, r.top() + h * 0.02, w * 0.44, h * 0.46),
              {QColor("#fcd9b6"), QColor("#e9b96e"), QColor("#8f5902")});
}

void Coin(const TCtx &c, const QRectF &r)
{
    c.Ellipse(r, Pal("yellow"));
    c.P.setBrush(Qt::NoBrush);
    c.P.setPen(c.Pen(Pal("yellow").D));
    c.P.drawEllipse(r.adjusted(r.width() * 0.14, r.height() * 0.14, -r.width() * 0.14, -r.height() * 0.14));
    c.Text(r, QStringLiteral("$"), Pal("brown").D, r.height() * 0.62);
}

void Receipt(const TCtx &c, const QRectF &r)
{
    QPainterPath path;
    path.moveTo(r.topLeft());
    path.lineTo(r.topRight());
    const int teeth = 4;
    const double tw = r.width() / teeth;
    path.lineTo(r.right(), r.bottom());
    for (int i = teeth - 1; i >= 0; --i) {
        path.lineTo(r.left() + tw * (i + 0.5), r.bottom() - tw * 0.5);
        path.lineTo(r.left() + tw * i, r.bottom());
    }
    path.closeSubpath();
    c.Fill(path, {QColor("#ffffff"), QColor("#eeeeec"), QColor("#888a85")});
    TextLines(c, r.adjusted(r.width() * 0.18, r.height() * 0.12, -r.width() * 0.18, -r.height() * 0.3),
              c.Small() ? 3 : 4);
}

void Table(const TCtx &c, const QRectF &r, bool round)
{
    const TPal wood = Pal("brown");
    const QRectF top = r.adjusted(r.width() * 0.2, r.height() * 0.2, -r.width() * 0.2, -r.height() * 0.2);
    // chairs
    const double cs = r.width() * 0.2;
    const QPointF centres[] = {{top.center().x(), r.top() + cs * 0.5}, {top.center().x(), r.bottom() - cs * 0.5},
                               {r.left() + cs * 0.5, top.center().y()}, {r.right() - cs * 0.5, top.center().y()}};
    for (const QPointF &p : centres)
        c.Rect(QRectF(p.x() - cs * 0.5, p.y() - cs * 0.5, cs, cs), Pal("gray"), cs * 0.25);
    if (round)
        c.Ellipse(top, wood);
    else
        c.Rect(top, wood, 1.5);
}

void Database(const TCtx &c, const QRectF &r, const TPal &pal)
{
    const double eh = r.height() * 0.28;
    QPainterPath body;
    body.moveTo(r.left(), r.top() + eh / 2);
    body.lineTo(r.left(), r.bottom() - eh / 2);
    body.arcTo(QRectF(r.left(), r.bottom() - eh, r.width(), eh), 180, 180);
    body.lineTo(r.right(), r.top() + eh / 2);
    body.arcTo(QRectF(r.left(), r.top(), r.width(), eh), 0, -180);
    c.Fill(body, pal, false);
    c.P.setBrush(pal.L.lighter(115));
    c.P.setPen(c.Pen(pal.D));
    c.P.drawEllipse(QRectF(r.left(), r.top(), r.width(), eh));
    if (!c.Small()) {
        c.P.setBrush(Qt::NoBrush);
        c.P.drawArc(QRectF(r.left(), r.top() + r.height() * 0.3, r.width(), eh), 180 * 16, 180 * 16);
        c.P.drawArc(QRectF(r.left(), r.top() + r.height() * 0.52, r.width(), eh), 180 * 16, 180 * 16);
    }
}

void Book(const TCtx &c, const QRectF &r, const TPal &pal)
{
    c.Rect(r, pal, 1.5);
    c.Rect(QRectF(r.left() + r.width() * 0.22, r.bottom() - r.height() * 0.14, r.width() * 0.74, r.height() * 0.1),
           Pal("white"), 0.5);
    c.Line(r.left() + r.width() * 0.2, r.top() + 1, r.left() + r.width() * 0.2, r.bottom() - 1, pal.D);
    c.Rect(QRectF(r.left() + r.width() * 0.38, r.top() + r.height() * 0.18, r.width() * 0.44, r.height() * 0.16),
           {pal.L.lighter(140), pal.L, pal.D}, 0.5);
}

void Star(const TCtx &c, const QRectF &r, const TPal &pal)
{
    QVector<QPointF> pts;
    for (int i = 0; i < 10; ++i) {
        const double a = -M_PI / 2 + i * M_PI / 5;
        const double rad = (i % 2 ? 0.42 : 1.0) * r.width() / 2;
        pts << QPointF(r.center().x() + rad * qCos(a), r.center().y() + 0.04 * r.height() + rad * qSin(a));
    }
    c.Poly(pts, pal);
}

void Clock(const TCtx &c, const QRectF &r)
{
    c.Ellipse(r, {QColor("#ffffff"), QColor("#d3d7cf"), QColor("#555753")});
    c.P.setBrush(Qt::NoBrush);
    c.P.setPen(c.Pen(Pal("blue").M));
    c.P.drawEllipse(r.adjusted(r.width() * 0.08, r.height() * 0.08, -r.width() * 0.08, -r.height() * 0.08));
    const QPointF m = r.center();
    c.Line(m.x(), m.y(), m.x(), r.top() + r.height() * 0.2, Pal("dark").D, 1.5);
    c.Line(m.x(), m.y(), m.x() + r.width() * 0.24, m.y() + r.height() * 0.08, Pal("dark").D, 1.5);
}

void Arrow(const TCtx &c, const QRectF &r, double angleDeg, const TPal &pal)
{
    // A thick arrow pointing right, rotated.
    c.P.save();
    c.P.translate(r.center());
    c.P.rotate(angleDeg);
    const double w = r.width() / 2, h = r.height() / 2;
    c.Poly({{-w, -h * 0.35}, {0, -h * 0.35}, {0, -h}, {w, 0}, {0, h}, {0, h * 0.35}, {-w, h * 0.35}}, pal);
    c.P.restore();
}

void Chain(const TCtx &c, const QRectF &r, bool broken)
{
    c.P.save();
    c.P.translate(r.center());
    c.P.rotate(-45);
    const double w = r.width() * 0.5, h = r.height() * 0.26;
    c.P.setBrush(Qt::NoBrush);
    const double gap = broken ? w * 0.25 : 0;
    for (int i = 0; i < 2; ++i) {
        const QRectF link(i == 0 ? -w - gap : -w * 0.15 + gap, -h / 2, w * 1.15, h);
        c.P.setPen(c.Pen(Pal("dark").D, 4.2));
        c.P.drawRoundedRect(link, h / 2, h / 2);
        c.P.setPen(c.Pen(i == 0 ? Pal("gray").L : Pal("gray").M, 2.2));
        c.P.drawRoundedRect(link, h / 2, h / 2);
    }
    c.P.restore();
    if (broken) {
        c.Line(r.center().x() - r.width() * 0.1, r.top() + r.height() * 0.1, r.center().x() - r.width() * 0.18,
               r.top() + r.height() * 0.28, Pal("red").M, 1.5);
        c.Line(r.center().x() + r.width() * 0.1, r.bottom() - r.height() * 0.1, r.center().x() + r.width() * 0.18,
               r.bottom() - r.height() * 0.28, Pal("red").M, 1.5);
    }
}

void Grid(const TCtx &c, const QRectF &r, const QString &kind)
{
    c.Rect(r, {QColor("#ffffff"), QColor("#eeeeec"), QColor("#555753")}, 0.5);
    const int cols = 3, rows = 4;
    const double cw = r.width() / cols, rh = r.height() / rows;
    if (kind == "row")
        c.P.fillRect(QRectF(r.left(), r.top() + rh * 2, r.width(), rh), Pal("blue").L);
    if (kind == "col")
        c.P.fillRect(QRectF(r.left() + cw, r.top(), cw, r.height()), Pal("blue").L);
    c.P.fillRect(QRectF(r.left(), r.top(), r.width(), rh), Pal("gray").L);
    for (int i = 1; i < cols; ++i)
        c.Line(r.left() + cw * i, r.top(), r.left() + cw * i, r.bottom(), QColor("#888a85"), 0.8);
    for (int i = 1; i < rows; ++i)
        c.Line(r.left(), r.top() + rh * i, r.right(), r.top() + rh * i, QColor("#888a85"), 0.8);
    c.P.setBrush(Qt::NoBrush);
    c.P.setPen(c.Pen(QColor("#555753")));
    c.P.drawRoundedRect(r, 0.5, 0.5);
}

void Symbol(const TCtx &c, const QRectF &r, const QString &kind, const TPal &pal)
{
    if (kind == "!") {
        QPainterPath tri;
        tri.moveTo(r.center().x(), r.top() + 1);
        tri.lineTo(r.right(), r.bottom() - 1);
        tri.lineTo(r.left(), r.bottom() - 1);
        tri.closeSubpath();
        c.Fill(tri, pal);
        c.Text(r.adjusted(0, r.height() * 0.22, 0, 0), QStringLiteral("!"), Pal("dark").D, r.height() * 0.62);
        return;
    }
    c.Ellipse(r.adjusted(1, 1, -1, -1), pal);
    const QRectF in = r.adjusted(r.width() * 0.26, r.height() * 0.26, -r.width() * 0.26, -r.height() * 0.26);
    if (kind == "tick")
        Tick(c, in, QColor("#ffffff"));
    else if (kind == "x")
        Cross(c, in, QColor("#ffffff"), 3.5);
    else if (kind == "-")
        c.Line(in.left(), in.center().y(), in.right(), in.center().y(), QColor("#ffffff"), c.Small() ? 4 : 5);
    else
        c.Text(r, kind, QColor("#ffffff"), r.height() * 0.66);
}

void Check(const TCtx &c, const QRectF &r, const QString &kind)
{
    const bool grayed = kind.endsWith("grayed");
    const bool checked = kind.startsWith("checked") || kind == "all";
    auto box = [&](const QRectF &b, bool ch) {
        c.Rect(b, grayed ? TPal{QColor("#d3d7cf"), QColor("#babdb6"), QColor("#888a85")}
                         : TPal{QColor("#ffffff"), QColor("#eeeeec"), QColor("#555753")},
               1);
        if (ch)
            Tick(c, b.adjusted(b.width() * 0.1, b.height() * 0.1, -b.width() * 0.1, -b.height() * 0.1),
                 grayed ? QColor("#888a85") : Pal("green").D);
    };
    if (kind == "all" || kind == "allun") {
        const double s = r.width() * 0.62;
        box(QRectF(r.right() - s, r.top(), s, s), kind == "all");
        box(QRectF(r.left(), r.bottom() - s, s, s), kind == "all");
    } else {
        box(r.adjusted(r.width() * 0.12, r.height() * 0.12, -r.width() * 0.12, -r.height() * 0.12), checked);
    }
}

void Align(const TCtx &c, const QRectF &r, const QString &kind)
{
    const bool vertical = kind == "top" || kind == "vcenter" || kind == "bottom";
    const QColor guide = Pal("red").M;
    const TPal a = Pal("blue"), b = Pal("orange");
    const double w = r.width(), h = r.height();
    if (vertical) {
        // Two boxes side by side aligned on a horizontal guide.
        const double y = kind == "top" ? r.top() + h * 0.12 : kind == "bottom" ? r.bottom() - h * 0.12 : r.center().y();
        const double h1 = h * 0.62, h2 = h * 0.38;
        auto place = [&](double height) {
            return kind == "top" ? y : kind == "bottom" ? y - height : y - height / 2;
        };
        c.Rect(QRectF(r.left() + w * 0.12, place(h1), w * 0.32, h1), a, 1);
        c.Rect(QRectF(r.left() + w * 0.56, place(h2), w * 0.32, h2), b, 1);
        c.Line(r.left(), y, r.right(), y, guide, 1.2);
    } else {
        const double x = kind == "left" ? r.left() + w * 0.12 : kind == "right" ? r.right() - w * 0.12 : r.center().x();
        const double w1 = w * 0.62, w2 = w * 0.38;
        auto place = [&](double width) {
            return kind == "left" ? x : kind == "right" ? x - width : x - width / 2;
        };
        c.Rect(QRectF(place(w1), r.top() + h * 0.12, w1, h * 0.32), a, 1);
        c.Rect(QRectF(place(w2), r.top() + h * 0.56, w2, h * 0.32), b, 1);
        c.Line(x, r.top(), x, r.bottom(), guide, 1.2);
    }
}

void Semaphore(const TCtx &c, const QRectF &r, int lit)
{
    const QRectF body(r.center().x() - r.width() * 0.25, r.top() + 0.5, r.width() * 0.5, r.height() - 1);
    c.Rect(body, Pal("dark"), 3);
    const char *hues[] = {"red", "yellow", "green"};
    const double d = body.height() / 3.3;
    for (int i = 0; i < 3; ++i) {
        const QRectF lamp(body.center().x() - d * 0.42, body.top() + d * 0.2 + i * d * 1.02, d * 0.84, d * 0.84);
        const TPal p = Pal(hues[i]);
        if (lit == i + 1) {
            QRadialGradient g(lamp.center() - QPointF(d * 0.1, d * 0.1), d * 0.5);
            g.setColorAt(0, QColor("#ffffff"));
            g.setColorAt(0.3, p.L);
            g.setColorAt(1, p.M);
            c.P.setBrush(g);
        } else {
            c.P.setBrush(p.D.darker(180));
        }
        c.P.setPen(c.Pen(QColor("#2e3436")));
        c.P.drawEllipse(lamp);
    }
}

void Bell(const TCtx &c, const QRectF &r, bool withDot)
{
    const double w = r.width(), h = r.height();
    QPainterPath bell;
    bell.moveTo(r.left() + w * 0.1, r.top() + h * 0.78);
    bell.cubicTo(r.left() + w * 0.25, r.top() + h * 0.65, r.left() + w * 0.18, r.top() + h * 0.12,
                 r.center().x(), r.top() + h * 0.12);
    bell.cubicTo(r.right() - w * 0.18, r.top() + h * 0.12, r.right() - w * 0.25, r.top() + h * 0.65,
                 r.right() - w * 0.1, r.top() + h * 0.78);
    bell.closeSubpath();
    c.Ellipse(QRectF(r.center().x() - w * 0.1, r.top() + h * 0.72, w * 0.2, h * 0.2), Pal("brown"));
    c.Fill(bell, Pal("yellow"));
    if (withDot)
        c.Ellipse(QRectF(r.right() - w * 0.42, r.top(), w * 0.42, h * 0.42), Pal("red"));
}

void Marker(const TCtx &c, const QRectF &r, const TPal &pal)
{
    const double w = r.width(), h = r.height();
    QPainterPath pin;
    pin.moveTo(r.center().x(), r.bottom());
    pin.cubicTo(r.left() + w * 0.3, r.top() + h * 0.62, r.left() + w * 0.15, r.top() + h * 0.5,
                r.left() + w * 0.15, r.top() + h * 0.34);
    pin.arcTo(QRectF(r.left() + w * 0.15, r.top(), w * 0.7, h * 0.68), 180, -180);
    pin.cubicTo(r.right() - w * 0.15, r.top() + h * 0.5, r.right() - w * 0.3, r.top() + h * 0.62,
                r.center().x(), r.bottom());
    c.Fill(pin, pal);
    c.P.setBrush(QColor("#ffffff"));
    c.P.setPen(c.Pen(pal.D));
    c.P.drawEllipse(QPointF(r.center().x(), r.top() + h * 0.34), w * 0.13, h * 0.13);
}

void Lock(const TCtx &c, const QRectF &r, bool locked)
{
    const double w = r.width(), h = r.height();
    c.P.setBrush(Qt::NoBrush);
    QPainterPath shackle;
    const double sx = r.left() + w * 0.28, sw = w * 0.44;
    shackle.moveTo(sx, r.top() + h * 0.5);
    shackle.lineTo(sx, r.top() + h * 0.3);
    shackle.arcTo(QRectF(sx, r.top() + h * 0.06, sw, h * 0.46), 180, -180);
    shackle.lineTo(sx + sw, locked ? r.top() + h * 0.5 : r.top() + h * 0.34);
    if (!locked)
        shackle.translate(w * 0.22, -h * 0.06);
    c.P.setPen(c.Pen(Pal("dark").D, c.Small() ? 4.5 : 5));
    c.P.drawPath(shackle);
    c.P.setPen(c.Pen(Pal("gray").L, c.Small() ? 2.5 : 3));
    c.P.drawPath(shackle);
    c.Rect(QRectF(r.left() + w * 0.16, r.top() + h * 0.46, w * 0.68, h * 0.5), Pal("yellow"), 2);
    c.P.setBrush(Pal("dark").D);
    c.P.setPen(Qt::NoPen);
    c.P.drawEllipse(QPointF(r.center().x(), r.top() + h * 0.68), w * 0.07, h * 0.07);
}

void Key(const TCtx &c, const QRectF &r)
{
    c.P.save();
    c.P.translate(r.center());
    c.P.rotate(-40);
    const double w = r.width(), h = r.height();
    QPainterPath key;
    key.addEllipse(QRectF(-w * 0.5, -h * 0.2, w * 0.4, h * 0.4));
    QPainterPath blade;
    blade.addRect(QRectF(-w * 0.12, -h * 0.07, w * 0.6, h * 0.14));
    blade.addRect(QRectF(w * 0.28, 0, w * 0.08, h * 0.2));
    blade.addRect(QRectF(w * 0.4, 0, w * 0.08, h * 0.16));
    key = key.united(blade);
    QPainterPath hole;
    hole.addEllipse(QRectF(-w * 0.4, -h * 0.07, w * 0.14, h * 0.14));
    c.Fill(key.subtracted(hole), Pal("yellow"));
    c.P.restore();
}

void Building(const TCtx &c, const QRectF &r, bool bank)
{
    const double w = r.width(), h = r.height();
    if (bank) {
        c.Poly({{r.left(), r.top() + h * 0.32}, {r.center().x(), r.top()}, {r.right(), r.top() + h * 0.32}},
               Pal("gray"));
        for (int i = 0; i < 4; ++i)
            c.Rect(QRectF(r.left() + w * (0.1 + i * 0.22), r.top() + h * 0.36, w * 0.12, h * 0.46),
                   {QColor("#ffffff"), QColor("#d3d7cf"), QColor("#555753")}, 0.3);
        c.Rect(QRectF(r.left(), r.bottom() - h * 0.16, w, h * 0.16), Pal("gray"), 0.3);
        return;
    }
    c.Rect(QRectF(r.left() + w * 0.12, r.top(), w * 0.5, h), Pal("gray"), 0.5);
    c.Rect(QRectF(r.left() + w * 0.62, r.top() + h * 0.4, w * 0.3, h * 0.6), Pal("gray"), 0.5);
    const int rows = c.Small() ? 3 : 5;
    for (int y = 0; y < rows; ++y)
        for (int x = 0; x < 2; ++x)
            c.P.fillRect(QRectF(r.left() + w * (0.2 + x * 0.22), r.top() + h * (0.08 + y * 0.8 / rows),
                                w * 0.13, h * 0.5 / rows),
                         Pal("blue").L);
    for (int y = 0; y < (c.Small() ? 2 : 3); ++y)
        c.P.fillRect(QRectF(r.left() + w * 0.7, r.top() + h * (0.5 + y * 0.16), w * 0.14, h * 0.08), Pal("blue").L);
}

void Chart(const TCtx &c, const QRectF &r, const QString &kind)
{
    const double w = r.width(), h = r.height();
    const QColor axis = Pal("dark").D;
    if (kind == "pie") {
        const QRectF pie = r.adjusted(w * 0.06, h * 0.06, -w * 0.06, -h * 0.06);
        const char *hues[] = {"blue", "orange", "green", "red"};
        const int spans[] = {140, 90, 80, 50};
        int start = 90;
        for (int i = 0; i < 4; ++i) {
            QPainterPath slice;
            slice.moveTo(pie.center());
            slice.arcTo(pie, start, spans[i]);
            slice.closeSubpath();
            if (i == 0)
                slice.translate(-w * 0.04, -h * 0.03);
            c.Fill(slice, Pal(hues[i]));
            start += spans[i];
        }
        return;
    }
    const QRectF plot = r.adjusted(w * 0.08, h * 0.06, -w * 0.04, -h * 0.08);
    const double vals[] = {0.45, 0.7, 0.55, 0.9};
    if (kind == "column" || kind == "bar") {
        const char *hues[] = {"blue", "orange", "green", "red"};
        for (int i = 0; i < 4; ++i) {
            if (kind == "column") {
                const double bw = plot.width() / 4;
                c.Rect(QRectF(plot.left() + bw * i + bw * 0.15, plot.bottom() - plot.height() * vals[i],
                              bw * 0.7, plot.height() * vals[i]),
                       Pal(hues[i]), 0.5);
            } else {
                const double bh = plot.height() / 4;
                c.Rect(QRectF(plot.left(), plot.top() + bh * i + bh * 0.15, plot.width() * vals[i], bh * 0.7),
                       Pal(hues[i]), 0.5);
            }
        }
    } else {
        const double ys[] = {0.3, 0.62, 0.45, 0.85, 0.7};
        QPolygonF line;
        for (int i = 0; i < 5; ++i)
            line << QPointF(plot.left() + plot.width() * i / 4.0, plot.bottom() - plot.height() * ys[i]);
        if (kind == "area") {
            QPolygonF area = line;
            area << plot.bottomRight() << plot.bottomLeft();
            QPainterPath path;
            path.addPolygon(area);
            path.closeSubpath();
            c.Fill(path, Pal("blue"));
        } else {
            c.P.setBrush(Qt::NoBrush);
            c.P.setPen(c.Pen(Pal("blue").M, c.Small() ? 2.5 : 2.5));
            c.P.drawPolyline(line);
            if (kind == "marker")
                for (const QPointF &p : line)
                    c.Rect(QRectF(p.x() - w * 0.06, p.y() - h * 0.06, w * 0.12, h * 0.12), Pal("orange"), 0.3);
        }
    }
    c.Line(plot.left(), plot.top(), plot.left(), plot.bottom(), axis);
    c.Line(plot.left(), plot.bottom(), plot.right(), plot.bottom(), axis);
}

void Starburst(const TCtx &c, const QRectF &r, const QString &text)
{
    QVector<QPointF> pts;
    const int n = 12;
    for (int i = 0; i < n * 2; ++i) {
        const double a = i * M_PI / n;
        const double rad = (i % 2 ? 0.78 : 1.0) * r.width() / 2;
        pts << QPointF(r.center().x() + rad * qCos(a), r.center().y() + rad * qSin(a));
    }
    c.Poly(pts, Pal("red"));
    c.Text(r, text, QColor("#ffffff"), r.height() * 0.5);
}

void Card(const TCtx &c, const QRectF &r)
{
    c.Rect(r, Pal("blue"), r.height() * 0.12);
    c.P.fillRect(QRectF(r.left() + 0.5 * c.O, r.top() + r.height() * 0.2, r.width() - c.O, r.height() * 0.2),
                 Pal("dark").D);
    c.Rect(QRectF(r.left() + r.width() * 0.12, r.top() + r.height() * 0.55, r.width() * 0.2, r.height() * 0.22),
           Pal("yellow"), 0.5);
}

void Pos(const TCtx &c, const QRectF &r)
{
    const double w = r.width(), h = r.height();
    c.Rect(QRectF(r.left() + w * 0.15, r.top() + h * 0.08, w * 0.7, h * 0.9), Pal("dark"), 3);
    c.Rect(QRectF(r.left() + w * 0.24, r.top() + h * 0.16, w * 0.52, h * 0.24), {QColor("#e6f2d9"), QColor("#8ae234"), QColor("#2e3436")}, 0.5);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x)
            c.P.fillRect(QRectF(r.left() + w * (0.25 + x * 0.18), r.top() + h * (0.5 + y * 0.14), w * 0.12, h * 0.09),
                         x == 2 && y == 2 ? Pal("green").M : Pal("gray").L);
    Card(c, QRectF(r.left() + w * 0.02, r.top() - h * 0.02, w * 0.5, h * 0.3).translated(w * 0.44, -h * 0.0));
}

void Cheque(const TCtx &c, const QRectF &r)
{
    const QRectF b(r.left(), r.top() + r.height() * 0.2, r.width(), r.height() * 0.6);
    c.Rect(b, {QColor("#e6f2d9"), QColor("#c4e0a5"), QColor("#4e9a06")}, 1);
    c.Line(b.left() + b.width() * 0.1, b.top() + b.height() * 0.35, b.right() - b.width() * 0.35,
           b.top() + b.height() * 0.35, Pal("green").D, 1);
    c.Line(b.left() + b.width() * 0.1, b.top() + b.height() * 0.7, b.right() - b.width() * 0.1,
           b.top() + b.height() * 0.7, Pal("green").D, 1);
    if (!c.Small())
        c.Text(QRectF(b.right() - b.width() * 0.32, b.top(), b.width() * 0.3, b.height() * 0.55), QStringLiteral("$"),
               Pal("green").D, b.height() * 0.4);
}

void Banknote(const TCtx &c, const QRectF &r)
{
    const QRectF b(r.left(), r.top() + r.height() * 0.22, r.width(), r.height() * 0.56);
    c.Rect(b, Pal("green"), 0.8);
    c.P.setBrush(Pal("green").L.lighter(130));
    c.P.setPen(c.Pen(Pal("green").D));
    c.P.drawEllipse(b.center(), b.height() * 0.3, b.height() * 0.3);
    c.Text(b, QStringLiteral("$"), Pal("green").D, b.height() * 0.5);
}

void Pencil(const TCtx &c, const QRectF &r)
{
    c.P.save();
    c.P.translate(r.center());
    c.P.rotate(-45);
    const double l = r.width() * 0.62, t = r.width() * 0.14;
    c.Poly({{-l, -t}, {l * 0.6, -t}, {l * 0.6, t}, {-l, t}}, Pal("yellow"));
    c.Poly({{l * 0.6, -t}, {l, 0}, {l * 0.6, t}}, {QColor("#fcd9b6"), QColor("#e9b96e"), QColor("#8f5902")});
    c.Poly({{-l, -t}, {-l * 0.75, -t}, {-l * 0.75, t}, {-l, t}}, Pal("red"));
    c.P.restore();
}

void Pin(const TCtx &c, const QRectF &r)
{
    const double w = r.width(), h = r.height();
    c.Line(r.center().x(), r.top() + h * 0.55, r.center().x() - w * 0.05, r.bottom(), Pal("dark").M, 1.5);
    c.Rect(QRectF(r.center().x() - w * 0.14, r.top() + h * 0.12, w * 0.28, h * 0.34), Pal("red"), 1);
    c.Rect(QRectF(r.center().x() - w * 0.32, r.top() + h * 0.44, w * 0.64, h * 0.14), Pal("red"), 1);
    c.Rect(QRectF(r.center().x() - w * 0.24, r.top(), w * 0.48, h * 0.14), Pal("red"), 1);
}

void Swap(const TCtx &c, const QRectF &r)
{
    Arrow(c, QRectF(r.left(), r.top() + r.height() * 0.05, r.width() * 0.9, r.height() * 0.45), 0, Pal("green"));
    Arrow(c, QRectF(r.left() + r.width() * 0.1, r.top() + r.height() * 0.5, r.width() * 0.9, r.height() * 0.45), 180,
          Pal("blue"));
}

void Equal(const TCtx &c, const QRectF &r)
{
    const double h = r.height();
    c.Rect(QRectF(r.left() + r.width() * 0.1, r.top() + h * 0.25, r.width() * 0.8, h * 0.18), Pal("blue"), 1);
    c.Rect(QRectF(r.left() + r.width() * 0.1, r.top() + h * 0.57, r.width() * 0.8, h * 0.18), Pal("blue"), 1);
}

void Compare(const TCtx &c, const QRectF &r)
{
    const double w = r.width(), h = r.height();
    Sheet(c, QRectF(r.left(), r.top(), w * 0.46, h * 0.8));
    Sheet(c, QRectF(r.left() + w * 0.54, r.top() + h * 0.2, w * 0.46, h * 0.8));
    TextLines(c, QRectF(r.left() + w * 0.08, r.top() + h * 0.2, w * 0.28, h * 0.5), c.Small() ? 2 : 4);
    TextLines(c, QRectF(r.left() + w * 0.62, r.top() + h * 0.4, w * 0.28, h * 0.5), c.Small() ? 2 : 4);
}

void Funnel(const TCtx &c, const QRectF &r)
{
    const double w = r.width(), h = r.height();
    c.Poly({{r.left() + w * 0.05, r.top() + h * 0.1}, {r.right() - w * 0.05, r.top() + h * 0.1},
            {r.left() + w * 0.6, r.top() + h * 0.55}, {r.left() + w * 0.6, r.bottom() - h * 0.05},
            {r.left() + w * 0.4, r.bottom() - h * 0.18}, {r.left() + w * 0.4, r.top() + h * 0.55}},
           Pal("blue"));
}

void Sort(const TCtx &c, const QRectF &r)
{
    const double w = r.width(), h = r.height();
    c.Text(QRectF(r.left(), r.top(), w * 0.6, h * 0.5), QStringLiteral("A"), Pal("blue").D, h * 0.48);
    c.Text(QRectF(r.left(), r.top() + h * 0.5, w * 0.6, h * 0.5), QStringLiteral("Z"), Pal("blue").D, h * 0.48);
    Arrow(c, QRectF(r.left() + w * 0.55, r.top() + h * 0.1, w * 0.42, h * 0.8), 90, Pal("green"));
}

void MoveRow(const TCtx &c, const QRectF &r, const QString &dir)
{
    const double w = r.width(), h = r.height();
    for (int i = 0; i < 4; ++i) {
        const bool hi = (dir == "up" && i == 2) || (dir == "down" && i == 1) || (dir == "top" && i == 3) ||
                        (dir == "bottom" && i == 0);
        c.Rect(QRectF(r.left(), r.top() + h * (0.04 + i * 0.24), w * 0.5, h * 0.18),
               hi ? Pal("blue") : TPal{QColor("#ffffff"), QColor("#eeeeec"), QColor("#888a85")}, 0.5);
    }
    const bool upward = dir == "up" || dir == "top";
    Arrow(c, QRectF(r.left() + w * 0.56, r.top() + h * 0.12, w * 0.42, h * 0.76), upward ? -90 : 90, Pal("green"));
    if (dir == "top" || dir == "bottom") {
        const double y = upward ? r.top() + h * 0.06 : r.bottom() - h * 0.06;
        c.Line(r.left() + w * 0.58, y, r.right() - w * 0.02, y, Pal("green").D, 2);
    }
}

void Tree(const TCtx &c, const QRectF &r)
{
    const double w = r.width(), h = r.height();
    const QColor line = Pal("dark").M;
    c.Line(r.left() + w * 0.15, r.top() + h * 0.2, r.left() + w * 0.15, r.top() + h * 0.82, line);
    c.Line(r.left() + w * 0.15, r.top() + h * 0.5, r.left() + w * 0.45, r.top() + h * 0.5, line);
    c.Line(r.left() + w * 0.15, r.top() + h * 0.82, r.left() + w * 0.45, r.top() + h * 0.82, line);
    c.Rect(QRectF(r.left(), r.top(), w * 0.34, h * 0.26), Pal("yellow"), 1);
    c.Rect(QRectF(r.left() + w * 0.4, r.top() + h * 0.38, w * 0.34, h * 0.24), Pal("blue"), 1);
    c.Rect(QRectF(r.left() + w * 0.4, r.top() + h * 0.7, w * 0.34, h * 0.24), Pal("green"), 1);
}

void PlusMinusBox(const TCtx &c, const QRectF &r, bool plus)
{
    const QRectF b = r.adjusted(r.width() * 0.12, r.height() * 0.12, -r.width() * 0.12, -r.height() * 0.12);
    c.Rect(b, {QColor("#ffffff"), QColor("#d3d7cf"), QColor("#555753")}, 1);
    const double m = b.width() * 0.24;
    c.Line(b.left() + m, b.center().y(), b.right() - m, b.center().y(), Pal("blue").D, c.Small() ? 2 : 3);
    if (plus)
        c.Line(b.center().x(), b.top() + m, b.center().x(), b.bottom() - m, Pal("blue").D, c.Small() ? 2 : 3);
}

void Phone(const TCtx &c, const QRectF &r)
{
    const double w = r.width(), h = r.height();
    c.Rect(QRectF(r.left() + w * 0.05, r.top() + h * 0.45, w * 0.9, h * 0.5), Pal("dark"), 3);
    c.Rect(QRectF(r.left(), r.top() + h * 0.1, w, h * 0.22), Pal("dark"), 3);
    c.Rect(QRectF(r.left() + w * 0.35, r.top() + h * 0.3, w * 0.3, h * 0.2), Pal("dark"), 0.5);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            c.P.fillRect(QRectF(r.left() + w * (0.24 + x * 0.2), r.top() + h * (0.56 + y * 0.18), w * 0.12, h * 0.1),
                         Pal("gray").L);
}

void Numpad(const TCtx &c, const QRectF &r)
{
    c.Rect(r, Pal("gray"), 2);
    const double kw = r.width() / 3, kh = r.height() / 3;
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x) {
            const QRectF k(r.left() + kw * x + kw * 0.12, r.top() + kh * y + kh * 0.12, kw * 0.76, kh * 0.76);
            c.Rect(k, {QColor("#ffffff"), QColor("#eeeeec"), QColor("#555753")}, 0.8);
            if (!c.Small())
                c.Text(k, QString::number(7 - y * 3 + x), Pal("dark").D, kh * 0.55);
        }
}

void Palette(const TCtx &c, const QRectF &r)
{
    const double w = r.width(), h = r.height();
    QPainterPath pal;
    pal.addEllipse(QRectF(r.left(), r.top() + h * 0.1, w, h * 0.8));
    QPainterPath hole;
    hole.addEllipse(QRectF(r.left() + w * 0.58, r.top() + h * 0.55, w * 0.18, h * 0.16));
    c.Fill(pal.subtracted(hole), Pal("brown"));
    const char *hues[] = {"red", "yellow", "green", "blue"};
    const QPointF at[] = {{0.25, 0.35}, {0.47, 0.24}, {0.7, 0.33}, {0.27, 0.6}};
    for (int i = 0; i < 4; ++i)
        c.Ellipse(QRectF(r.left() + w * at[i].x() - w * 0.1, r.top() + h * at[i].y() - h * 0.1, w * 0.2, h * 0.2),
                  Pal(hues[i]));
}

void Barcode(const TCtx &c, const QRectF &r)
{
    c.Rect(r.adjusted(0, r.height() * 0.15, 0, -r.height() * 0.15), {QColor("#ffffff"), QColor("#ffffff"), QColor("#555753")}, 0.5);
    const int widths[] = {2, 1, 1, 2, 1, 3, 1, 1, 2, 1, 2};
    double x = r.left() + r.width() * 0.12;
    const double unit = r.width() * 0.76 / 22;
    for (int i = 0; i < 11; ++i) {
        if (i % 2 == 0)
            c.P.fillRect(QRectF(x, r.top() + r.height() * 0.24, widths[i] * unit, r.height() * 0.52), Pal("dark").D);
        x += widths[i] * unit;
    }
}

void Shape(const TCtx &c, const QRectF &r, const QString &kind)
{
    const QRectF b = r.adjusted(r.width() * 0.08, r.height() * 0.08, -r.width() * 0.08, -r.height() * 0.08);
    if (kind == "line") {
        c.Line(b.left(), b.bottom(), b.right(), b.top(), Pal("dark").D, 3);
        c.Line(b.left(), b.bottom(), b.right(), b.top(), Pal("blue").L, 1.5);
    } else if (kind == "rect") {
        c.Rect(b.adjusted(0, b.height() * 0.15, 0, -b.height() * 0.15), Pal("blue"), 0.5);
    } else if (kind == "text") {
        c.Text(b, QStringLiteral("A"), Pal("blue").D, b.height() * 0.95);
    } else {
        c.Rect(b.adjusted(0, b.height() * 0.1, 0, -b.height() * 0.1), Pal("white"), 2);
        c.Text(b, QStringLiteral("{x}"), Pal("plum").D, b.height() * (c.Small() ? 0.5 : 0.45));
    }
}

void Menu(const TCtx &c, const QRectF &r)
{
    for (int i = 0; i < 3; ++i)
        c.Rect(QRectF(r.left() + r.width() * 0.1, r.top() + r.height() * (0.16 + i * 0.27), r.width() * 0.8,
                      r.height() * 0.16),
               Pal("dark"), 1);
}

void List(const TCtx &c, const QRectF &r)
{
    c.Rect(r.adjusted(r.width() * 0.1, 0, -r.width() * 0.1, 0), {QColor("#ffffff"), QColor("#eeeeec"), QColor("#888a85")}, 1);
    const int n = c.Small() ? 3 : 5;
    for (int i = 0; i < n; ++i) {
        const double y = r.top() + r.height() * (i + 0.6) / (n + 0.2);
        c.P.fillRect(QRectF(r.left() + r.width() * 0.2, y - r.height() * 0.04, r.width() * 0.1, r.height() * 0.08),
                     Pal("blue").M);
        c.Line(r.left() + r.width() * 0.38, y, r.right() - r.width() * 0.2, y, QColor("#888a85"));
    }
}

void Form(const TCtx &c, const QRectF &r)
{
    c.Rect(r.adjusted(r.width() * 0.06, 0, -r.width() * 0.06, 0), Pal("white"), 1);
    const int n = c.Small() ? 3 : 4;
    for (int i = 0; i < n; ++i) {
        const double y = r.top() + r.height() * (0.1 + i * 0.8 / n);
        c.P.fillRect(QRectF(r.left() + r.width() * 0.14, y + r.height() * 0.05, r.width() * 0.2, r.height() * 0.06),
                     QColor("#888a85"));
        c.Rect(QRectF(r.left() + r.width() * 0.4, y, r.width() * 0.46, r.height() * 0.15),
               {QColor("#ffffff"), QColor("#ffffff"), Pal("blue").M}, 0.3);
    }
}

void Gauge(const TCtx &c, const QRectF &r)
{
    const QRectF g = r.adjusted(0, r.height() * 0.1, 0, r.height() * 0.3);
    QPainterPath arc;
    arc.moveTo(g.center());
    arc.arcTo(g, 0, 180);
    arc.closeSubpath();
    c.Fill(arc, Pal("dark"));
    const char *hues[] = {"green", "yellow", "red"};
    for (int i = 0; i < 3; ++i) {
        c.P.setPen(c.Pen(Pal(hues[i]).M, c.Small() ? 3 : 4));
        c.P.setBrush(Qt::NoBrush);
        c.P.drawArc(g.adjusted(g.width() * 0.14, g.height() * 0.14, -g.width() * 0.14, -g.height() * 0.14),
                    (180 - i * 60) * 16, -60 * 16);
    }
    c.Line(g.center().x(), g.center().y(), g.center().x() + g.width() * 0.22, g.center().y() - g.height() * 0.3,
           QColor("#ffffff"), 2);
}

void Register(const TCtx &c, const QRectF &r)
{
    const double w = r.width(), h = r.height();
    c.Rect(QRectF(r.left() + w * 0.3, r.top() + h * 0.05, w * 0.4, h * 0.25), Pal("dark"), 1);
    c.P.fillRect(QRectF(r.left() + w * 0.36, r.top() + h * 0.1, w * 0.28, h * 0.12), Pal("green").L);
    c.Poly({{r.left() + w * 0.12, r.top() + h * 0.3}, {r.right() - w * 0.12, r.top() + h * 0.3},
            {r.right(), r.top() + h * 0.72}, {r.left(), r.top() + h * 0.72}},
           Pal("gray"));
    c.Rect(QRectF(r.left(), r.top() + h * 0.72, w, h * 0.26), Pal("dark"), 1);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x)
            c.P.fillRect(QRectF(r.left() + w * (0.2 + x * 0.16), r.top() + h * (0.4 + y * 0.15), w * 0.1, h * 0.08),
                         QColor("#ffffff"));
}

void Cart(const TCtx &c, const QRectF &r)
{
    const double w = r.width(), h = r.height();
    c.Poly({{r.left() + w * 0.18, r.top() + h * 0.22}, {r.right(), r.top() + h * 0.22},
            {r.right() - w * 0.12, r.top() + h * 0.62}, {r.left() + w * 0.28, r.top() + h * 0.62}},
           Pal("blue"));
    c.Line(r.left(), r.top() + h * 0.1, r.left() + w * 0.16, r.top() + h * 0.1, Pal("dark").D, 2);
    c.Line(r.left() + w * 0.16, r.top() + h * 0.1, r.left() + w * 0.3, r.top() + h * 0.74, Pal("dark").D, 2);
    c.Line(r.left() + w * 0.3, r.top() + h * 0.74, r.right() - w * 0.1, r.top() + h * 0.74, Pal("dark").D, 2);
    c.Ellipse(QRectF(r.left() + w * 0.28, r.bottom() - h * 0.2, w * 0.18, h * 0.18), Pal("dark"));
    c.Ellipse(QRectF(r.right() - w * 0.3, r.bottom() - h * 0.2, w * 0.18, h * 0.18), Pal("dark"));
}

void Truck(const TCtx &c, const QRectF &r)
{
    const double w = r.width(), h = r.height();
    c.Rect(QRectF(r.left(), r.top() + h * 0.2, w * 0.62, h * 0.52), Pal("orange"), 1);
    c.Poly({{r.left() + w * 0.64, r.top() + h * 0.36}, {r.right() - w * 0.12, r.top() + h * 0.36},
            {r.right(), r.top() + h * 0.54}, {r.right(), r.top() + h * 0.72}, {r.left() + w * 0.64, r.top() + h * 0.72}},
           Pal("blue"));
    c.Ellipse(QRectF(r.left() + w * 0.1, r.bottom() - h * 0.32, w * 0.24, h * 0.24), Pal("dark"));
    c.Ellipse(QRectF(r.right() - w * 0.32, r.bottom() - h * 0.32, w * 0.24, h * 0.24), Pal("dark"));
}

void Wand(const TCtx &c, const QRectF &r)
{
    const double w = r.width(), h = r.height();
    c.P.save();
    c.P.translate(r.left() + w * 0.42, r.top() + h * 0.58);
    c.P.rotate(-45);
    c.Rect(QRectF(-w * 0.5, -h * 0.07, w * 0.8, h * 0.14), Pal("dark"), 1);
    c.Rect(QRectF(w * 0.16, -h * 0.07, w * 0.14, h * 0.14), {QColor("#ffffff"), QColor("#eeeeec"), QColor("#555753")}, 0.5);
    c.P.restore();
    Star(c, QRectF(r.right() - w * 0.42, r.top(), w * 0.42, h * 0.42), Pal("yellow"));
    if (!c.Small()) {
        Star(c, QRectF(r.left() + w * 0.22, r.top() + h * 0.06, w * 0.2, h * 0.2), Pal("yellow"));
        Star(c, QRectF(r.right() - w * 0.24, r.top() + h * 0.5, w * 0.2, h * 0.2), Pal("yellow"));
    }
}

void Eye(const TCtx &c, const QRectF &r)
{
    const double w = r.width(), h = r.height();
    QPainterPath eye;
    eye.moveTo(r.left(), r.center().y());
    eye.quadTo(r.center().x(), r.top() + h * 0.05, r.right(), r.center().y());
    eye.quadTo(r.center().x(), r.bottom() - h * 0.05, r.left(), r.center().y());
    c.Fill(eye, Pal("white"));
    c.Ellipse(QRectF(r.center().x() - w * 0.2, r.center().y() - h * 0.2, w * 0.4, h * 0.4), Pal("blue"));
    c.P.setBrush(Pal("dark").D);
    c.P.setPen(Qt::NoPen);
    c.P.drawEllipse(r.center(), w * 0.08, h * 0.08);
}

void TableMap(const TCtx &c, const QRectF &r)
{
    c.Rect(r.adjusted(0, r.height() * 0.05, 0, -r.height() * 0.05), {QColor("#fdf6e3"), QColor("#e9dcc0"), QColor("#8f5902")}, 1.5);
    const double w = r.width(), h = r.height();
    c.Ellipse(QRectF(r.left() + w * 0.1, r.top() + h * 0.16, w * 0.3, h * 0.3), Pal("brown"));
    c.Rect(QRectF(r.left() + w * 0.55, r.top() + h * 0.16, w * 0.34, h * 0.28), Pal("brown"), 1);
    c.Rect(QRectF(r.left() + w * 0.12, r.top() + h * 0.58, w * 0.3, h * 0.26), Pal("brown"), 1);
    c.Ellipse(QRectF(r.left() + w * 0.57, r.top() + h * 0.55, w * 0.3, h * 0.3), Pal("brown"));
}

void Tag(const TCtx &c, const QRectF &r, const QString &text, const TPal &pal)
{
    const double w = r.width(), h = r.height();
    c.Poly({{r.left(), r.top() + h * 0.5}, {r.left() + w * 0.3, r.top() + h * 0.18}, {r.right(), r.top() + h * 0.18},
            {r.right(), r.bottom() - h * 0.18}, {r.left() + w * 0.3, r.bottom() - h * 0.18}},
           pal);
    c.P.setBrush(QColor("#ffffff"));
    c.P.setPen(c.Pen(pal.D));
    c.P.drawEllipse(QPointF(r.left() + w * 0.22, r.center().y()), w * 0.06, h * 0.06);
    c.Text(QRectF(r.left() + w * 0.3, r.top(), w * 0.7, h), text, QColor("#ffffff"), h * 0.42);
}

void Doc(const TCtx &c, const QRectF &r, const QString &label, const TPal &pal)
{
    const QRectF s(r.left() + r.width() * 0.14, r.top(), r.width() * 0.72, r.height());
    Sheet(c, s);
    TextLines(c, QRectF(s.left() + s.width() * 0.18, s.top() + s.height() * 0.2, s.width() * 0.6, s.height() * 0.25),
              c.Small() ? 1 : 3);
    const QRectF band(r.left(), r.top() + r.height() * 0.52, r.width(), r.height() * 0.32);
    c.Rect(band, pal, 1);
    if (c.Size >= 16)
        c.Text(band, label, QColor("#ffffff"), band.height() * 0.8);
}

void Mark(const TCtx &c, const QRectF &r, int n)
{
    // Neutral product marks: a coloured rounded square with a figure.
    const char *hues[] = {"blue", "green", "orange", "plum", "red"};
    const TPal pal = Pal(hues[n % 5]);
    const QRectF b = r.adjusted(1, 1, -1, -1);
    c.Rect(b, pal, b.width() * 0.22);
    const QRectF in = b.adjusted(b.width() * 0.24, b.height() * 0.24, -b.width() * 0.24, -b.height() * 0.24);
    c.P.setBrush(QColor(255, 255, 255, 235));
    c.P.setPen(Qt::NoPen);
    switch (n) {
    case 0: c.P.drawEllipse(in); break;
    case 1: c.P.drawPolygon(QPolygonF({in.bottomLeft(), QPointF(in.center().x(), in.top()), in.bottomRight()})); break;
    case 2: c.P.drawRect(in.adjusted(in.width() * 0.1, in.height() * 0.1, -in.width() * 0.1, -in.height() * 0.1)); break;
    case 3: c.P.drawPolygon(QPolygonF({QPointF(in.center().x(), in.top()), QPointF(in.right(), in.center().y()),
                                       QPointF(in.center().x(), in.bottom()), QPointF(in.left(), in.center().y())})); break;
    default: {
        QPainterPath ring;
        ring.addEllipse(in);
        ring.addEllipse(in.adjusted(in.width() * 0.3, in.height() * 0.3, -in.width() * 0.3, -in.height() * 0.3));
        ring.setFillRule(Qt::OddEvenFill);
        c.P.drawPath(ring);
    }
    }
}

void Plot(const TCtx &c, const QRectF &r)
{
    const double w = r.width(), h = r.height();
    c.Rect(r, {QColor("#ffffff"), QColor("#ffffff"), QColor("#888a85")}, 0.5);
    c.Line(r.left() + w * 0.12, r.center().y(), r.right() - w * 0.06, r.center().y(), Pal("dark").M);
    c.Line(r.left() + w * 0.2, r.top() + h * 0.08, r.left() + w * 0.2, r.bottom() - h * 0.08, Pal("dark").M);
    QPainterPath wave;
    for (int i = 0; i <= 24; ++i) {
        const double x = r.left() + w * 0.08 + w * 0.84 * i / 24.0;
        const double y = r.center().y() - h * 0.3 * qSin(i * M_PI / 8);
        if (i == 0)
            wave.moveTo(x, y);
        else
            wave.lineTo(x, y);
    }
    c.P.setBrush(Qt::NoBrush);
    c.P.setPen(c.Pen(Pal("red").M, 2));
    c.P.drawPath(wave);
}

void Waiter(const TCtx &c, const QRectF &r)
{
    Person(c, r, Pal("dark"));
    const double w = r.width(), h = r.height();
    c.P.fillRect(QRectF(r.center().x() - w * 0.06, r.top() + h * 0.55, w * 0.12, h * 0.45), QColor("#ffffff"));
    c.Poly({{r.center().x() - w * 0.16, r.top() + h * 0.53}, {r.center().x(), r.top() + h * 0.6},
            {r.center().x() + w * 0.16, r.top() + h * 0.53}, {r.center().x() + w * 0.16, r.top() + h * 0.67},
            {r.center().x(), r.top() + h * 0.6}, {r.center().x() - w * 0.16, r.top() + h * 0.67}},
           Pal("red"));
}

} // namespace

void DrawPrimitive(QPainter &APainter, const QString &AName, const QStringList &AArgs, int ASize)
{
    APainter.save();
    APainter.setRenderHint(QPainter::Antialiasing);
    APainter.setRenderHint(QPainter::TextAntialiasing);
    APainter.scale(ASize / 32.0, ASize / 32.0);
    const TCtx c{APainter, ASize, qMax(1.0, 32.0 / ASize)};
    // Leave room for the outline inside the square.
    const double m = c.O * 0.5 + 0.5;
    const QRectF r(m, m, 32 - 2 * m, 32 - 2 * m);
    const QString a0 = AArgs.value(0), a1 = AArgs.value(1);
    const QString &n = AName;
    if (n == "blank") {
    } else if (n == "dot") {
        const TPal p = Pal(a0);
        QRadialGradient g(r.center() - QPointF(5, 5), 18);
        g.setColorAt(0, p.L.lighter(130));
        g.setColorAt(1, p.M);
        c.P.setBrush(g);
        c.P.setPen(c.Pen(p.D));
        c.P.drawEllipse(r.adjusted(3, 3, -3, -3));
    } else if (n == "marker") Marker(c, r, Pal(a0));
    else if (n == "semaphore") Semaphore(c, r, a0.toInt());
    else if (n == "bell") Bell(c, r, a0 == "1");
    else if (n == "check") Check(c, r, a0);
    else if (n == "align") Align(c, r, a0);
    else if (n == "table") Table(c, r, a0 == "circle");
    else if (n == "tablemap") TableMap(c, r);
    else if (n == "key") Key(c, r);
    else if (n == "building") Building(c, r, false);
    else if (n == "bank") Building(c, r, true);
    else if (n == "coin") Coin(c, r.adjusted(2, 2, -2, -2));
    else if (n == "text") {
        const TPal p = Pal(a1.isEmpty() ? "blue" : a1);
        c.Rect(r.adjusted(1, 3, -1, -3), p, 4);
        c.Text(r.adjusted(1, 3, -1, -3), a0, QColor("#ffffff"), (r.height() - 6) * (a0.size() > 2 ? 0.5 : 0.72));
    } else if (n == "symbol") Symbol(c, r, a0, Pal(a1));
    else if (n == "doc") Doc(c, r, a0, Pal(a1));
    else if (n == "chart") Chart(c, r, a0);
    else if (n == "plot") Plot(c, r.adjusted(1, 3, -1, -3));
    else if (n == "grid") Grid(c, r.adjusted(1, 3, -1, -3), a0);
    else if (n == "numpad") Numpad(c, r);
    else if (n == "tag") Tag(c, r, a0, Pal(a1.isEmpty() ? "orange" : a1));
    else if (n == "card") Card(c, r.adjusted(0, 6, 0, -6));
    else if (n == "pos") Pos(c, r);
    else if (n == "cheque") Cheque(c, r);
    else if (n == "banknote") Banknote(c, r);
    else if (n == "receipt") Receipt(c, r.adjusted(5, 0, -5, 0));
    else if (n == "lock") Lock(c, r, a0 != "0");
    else if (n == "person") Person(c, r.adjusted(3, 0, -3, 0), Pal(a0));
    else if (n == "waiter") Waiter(c, r.adjusted(3, 0, -3, 0));
    else if (n == "tree") Tree(c, r);
    else if (n == "plusbox") PlusMinusBox(c, r, true);
    else if (n == "minusbox") PlusMinusBox(c, r, false);
    else if (n == "tick") Tick(c, r.adjusted(2, 3, -2, -3), Pal("green").M);
    else if (n == "cross") Cross(c, r.adjusted(6, 6, -6, -6), Pal("red").L);
    else if (n == "star") Star(c, r, Pal("yellow"));
    else if (n == "equal") Equal(c, r);
    else if (n == "compare") Compare(c, r);
    else if (n == "palette") Palette(c, r);
    else if (n == "barcode") Barcode(c, r);
    else if (n == "shape") Shape(c, r, a0);
    else if (n == "phone") Phone(c, r);
    else if (n == "clock") Clock(c, r.adjusted(1, 1, -1, -1));
    else if (n == "funnel") Funnel(c, r);
    else if (n == "sort") Sort(c, r);
    else if (n == "moverow") MoveRow(c, r, a0);
    else if (n == "pin") Pin(c, r);
    else if (n == "swap") Swap(c, r);
    else if (n == "book") Book(c, r.adjusted(4, 1, -4, -1), Pal(a0));
    else if (n == "link") Chain(c, r, false);
    else if (n == "unlink") Chain(c, r, true);
    else if (n == "menu") Menu(c, r);
    else if (n == "list") List(c, r);
    else if (n == "form") Form(c, r);
    else if (n == "gauge") Gauge(c, r);
    else if (n == "register") Register(c, r);
    else if (n == "cart") Cart(c, r);
    else if (n == "truck") Truck(c, r);
    else if (n == "db") Database(c, r.adjusted(4, 1, -4, -1), Pal(a0));
    else if (n == "wand") Wand(c, r);
    else if (n == "starburst") Starburst(c, r, a0.isEmpty() ? QStringLiteral("%") : a0);
    else if (n == "eye") Eye(c, r);
    else if (n == "pencil") Pencil(c, r);
    else if (n == "mark") Mark(c, r, a0.toInt());
    else if (n == "play") c.Poly({{r.left() + 6, r.top() + 3}, {r.right() - 3, r.center().y()}, {r.left() + 6, r.bottom() - 3}}, Pal("green"));
    else if (n == "stop") c.Rect(r.adjusted(5, 5, -5, -5), Pal("red"), 2);
    else {
        APainter.restore();
        throw std::runtime_error(("unknown drawing #" + AName).toStdString());
    }
    APainter.restore();
}

TPictureSource::TPictureSource(const QString &AThemeDir)
    : FThemeDir(AThemeDir)
{
}

QImage TPictureSource::ThemeIcon(const QString &AName, int ASize) const
{
    static QHash<QString, QString> found;
    const QString key = AName + QLatin1Char('/') + QString::number(ASize);
    if (!found.contains(key)) {
        QString path;
        for (const QString &dir : {QStringLiteral("%1x%1").arg(ASize), QStringLiteral("scalable")}) {
            const QString ext = dir == QLatin1String("scalable") ? QStringLiteral(".svg") : QStringLiteral(".png");
            QDirIterator it(FThemeDir + QLatin1Char('/') + dir, {AName + ext}, QDir::Files, QDirIterator::Subdirectories);
            if (it.hasNext()) {
                path = it.next();
                break;
            }
        }
        found.insert(key, path);
    }
    const QString path = found.value(key);
    if (path.isEmpty())
        throw std::runtime_error(("no theme icon " + AName).toStdString());
    QImage image(ASize, ASize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    if (path.endsWith(QLatin1String(".svg"))) {
        QSvgRenderer svg(path);
        svg.render(&painter, QRectF(0, 0, ASize, ASize));
    } else {
        painter.drawImage(0, 0, QImage(path));
    }
    return image;
}

void TPictureSource::Layer(QPainter &APainter, const QString &ALayer, int ASize) const
{
    QString recipe = ALayer.trimmed();
    bool grey = false;
    if (recipe.endsWith(QLatin1String("!g"))) {
        grey = true;
        recipe.chop(2);
    }
    QString place;
    const int at = recipe.indexOf(QLatin1Char('@'));
    if (at >= 0) {
        place = recipe.mid(at + 1);
        recipe = recipe.left(at);
    }
    int size = ASize;
    QPoint origin(0, 0);
    if (!place.isEmpty()) {
        size = place == QLatin1String("c") ? qRound(ASize * 0.75) : qMax(6, qRound(ASize * 0.58));
        const int far = ASize - size;
        if (place == QLatin1String("br")) origin = {far, far};
        else if (place == QLatin1String("bl")) origin = {0, far};
        else if (place == QLatin1String("tr")) origin = {far, 0};
        else if (place == QLatin1String("tl")) origin = {0, 0};
        else if (place == QLatin1String("c")) origin = {far / 2, far / 2};
        else throw std::runtime_error(("unknown placement " + place).toStdString());
    }
    QImage layer(size, size, QImage::Format_ARGB32_Premultiplied);
    layer.fill(Qt::transparent);
    if (recipe.startsWith(QLatin1Char('#'))) {
        QStringList parts = recipe.mid(1).split(QLatin1Char(':'));
        const QString name = parts.takeFirst();
        QPainter painter(&layer);
        DrawPrimitive(painter, name, parts, size);
    } else {
        layer = ThemeIcon(recipe, size);
    }
    if (grey) {
        for (int y = 0; y < layer.height(); ++y) {
            QRgb *line = reinterpret_cast<QRgb *>(layer.scanLine(y));
            for (int x = 0; x < layer.width(); ++x) {
                // Pale grey, alpha kept so that the Bmp variant keeps its shape.
                const int a = qAlpha(line[x]);
                const int g = qGray(qUnpremultiply(line[x])) / 3 + 150;
                line[x] = qPremultiply(qRgba(g, g, g, a));
            }
        }
    }
    APainter.drawImage(origin, layer);
}

QImage TPictureSource::Render(const QString &ARecipe, int AWidth, int AHeight) const
{
    QImage image(AWidth, AHeight, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    const int size = qMin(AWidth, AHeight);
    painter.translate((AWidth - size) / 2, (AHeight - size) / 2);
    for (const QString &layer : ARecipe.split(QStringLiteral(" + ")))
        Layer(painter, layer, size);
    return image;
}
