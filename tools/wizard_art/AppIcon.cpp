#include "AppIcon.h"

#include "Drawing.h"

#include <QDir>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPainterPathStroker>
#include <QRadialGradient>
#include <QSvgGenerator>
#include <QTextStream>

#include <cmath>

#ifndef ZEDEDE_APP_ID
#error "ZEDEDE_APP_ID must be defined by the build"
#endif

namespace {

const QColor TileTop(8, 36, 74);
const QColor TileMiddle(22, 78, 140);
const QColor TileBottom(9, 40, 80);
const QColor TileEdge(4, 22, 48);
const QColor Heading(28, 92, 166);
const QColor TextLine(132, 154, 184);
const QColor SheetEdge(96, 124, 160);

QLinearGradient TileGradient(double ATop, double ABottom)
{
    QLinearGradient g(0, ATop, 0, ABottom);
    g.setColorAt(0, TileTop);
    g.setColorAt(0.55, TileMiddle);
    g.setColorAt(1, TileBottom);
    return g;
}

QLinearGradient PaperGradient(const QRectF &ASheet)
{
    QLinearGradient g(ASheet.topLeft(), ASheet.bottomRight());
    g.setColorAt(0, QColor(255, 255, 255));
    g.setColorAt(1, QColor(222, 231, 243));
    return g;
}

// 16 pixels: tile, sheet with a heading and two lines, a plain gold seal.
void Paint16(QPainter &p)
{
    p.setPen(QPen(TileEdge, 1));
    p.setBrush(TileGradient(0, 16));
    p.drawRoundedRect(QRectF(0.5, 0.5, 15, 15), 3, 3);
    const QRectF sheet(3, 2, 8, 11);
    p.setPen(Qt::NoPen);
    p.setBrush(PaperGradient(sheet));
    p.drawRect(sheet);
    p.setBrush(Heading);
    p.drawRect(QRectF(4, 4, 6, 1));
    p.setBrush(TextLine);
    p.drawRect(QRectF(4, 6, 6, 1));
    p.drawRect(QRectF(4, 8, 4, 1));
    QRadialGradient gold(QPointF(10.2, 10.2), 4);
    gold.setColorAt(0, GoldLight);
    gold.setColorAt(0.5, Gold);
    gold.setColorAt(1, GoldDark);
    p.setBrush(gold);
    p.setPen(QPen(GoldDark.darker(130), 0.8));
    p.drawEllipse(QPointF(11, 11), 3.1, 3.1);
}

// 24 pixels: as at 32, on the whole pixels of this size.
void Paint24(QPainter &p)
{
    p.setPen(QPen(TileEdge, 1));
    p.setBrush(TileGradient(0, 24));
    p.drawRoundedRect(QRectF(0.5, 0.5, 23, 23), 4.5, 4.5);
    const QRectF sheet(5.5, 3.5, 11, 15);
    p.setPen(QPen(SheetEdge, 1));
    p.setBrush(PaperGradient(sheet));
    p.drawRect(sheet);
    p.setPen(Qt::NoPen);
    p.setBrush(Heading);
    p.drawRect(QRectF(7, 5, 8, 2));
    p.setBrush(TextLine);
    p.drawRect(QRectF(7, 9, 8, 1));
    p.drawRect(QRectF(7, 11, 6, 1));
    p.drawRect(QRectF(7, 13, 7, 1));
    DrawSeal(p, QPointF(16, 16), 4.3, 1.35, 0.6);
}

// 32 pixels (also drawn at 48): upright sheet with text lines and the
// seal with short ribbons.
void Paint32(QPainter &p)
{
    p.setPen(QPen(TileEdge, 1));
    p.setBrush(TileGradient(1, 31));
    p.drawRoundedRect(QRectF(1.5, 1.5, 29, 29), 6, 6);
    QRadialGradient glow(QPointF(16, 15), 14);
    glow.setColorAt(0, QColor(120, 190, 255, 90));
    glow.setColorAt(1, QColor(120, 190, 255, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(glow);
    p.drawRoundedRect(QRectF(2, 2, 28, 28), 5.5, 5.5);

    const QRectF sheet(7.5, 4.5, 15, 20);
    p.setBrush(QColor(0, 10, 30, 70));
    p.drawRoundedRect(sheet.translated(1, 1), 1.5, 1.5);
    p.setPen(QPen(SheetEdge, 1));
    p.setBrush(PaperGradient(sheet));
    p.drawRoundedRect(sheet, 1.5, 1.5);
    p.setPen(Qt::NoPen);
    p.setBrush(Heading);
    p.drawRect(QRectF(10, 7, 10, 2));
    p.setBrush(TextLine);
    p.drawRect(QRectF(10, 11, 10, 1));
    p.drawRect(QRectF(10, 14, 8, 1));
    p.drawRect(QRectF(10, 17, 9, 1));
    p.drawRect(QRectF(10, 20, 5, 1));
    DrawSeal(p, QPointF(21.5, 21), 5.6, 1.45, 0.7);
}

// The full design, in a 256-unit square: turned certificate with its inner
// frame, text, signature and seal, and the key lying across its corner.
void Paint256(QPainter &p)
{
    const QRectF tile(12, 12, 232, 232);
    QPainterPath tilePath;
    tilePath.addRoundedRect(tile, 44, 44);
    p.setPen(Qt::NoPen);
    p.setBrush(TileGradient(tile.top(), tile.bottom()));
    p.drawPath(tilePath);

    // Glow and security-paper lines stay inside the tile as shapes of their
    // own (an SVG file written by Qt keeps no clipping).
    QRadialGradient glow(QPointF(128, 118), 140);
    glow.setColorAt(0, QColor(120, 190, 255, 110));
    glow.setColorAt(1, QColor(120, 190, 255, 0));
    p.setBrush(glow);
    p.drawPath(tilePath);
    QPainterPathStroker stroker;
    stroker.setWidth(1.4);
    p.setBrush(QColor(170, 210, 255, 50));
    for (int band = 0; band < 2; ++band) {
        const double y0 = band == 0 ? 30 : 212;
        for (int k = 0; k < 5; ++k) {
            QPainterPath wave;
            for (int x = 8; x <= 248; x += 2) {
                const double y = y0 + k * 5.0
                                 + 8 * std::sin((x + k * 11) / 19.0) * std::cos((x - k * 7) / 41.0);
                if (x == 8)
                    wave.moveTo(x, y);
                else
                    wave.lineTo(x, y);
            }
            p.drawPath(stroker.createStroke(wave).intersected(tilePath));
        }
    }

    // The certificate, slightly turned, with a soft shadow.
    p.save();
    p.translate(124, 118);
    p.rotate(-7);
    const QRectF sheet(-56, -76, 112, 148);
    p.setPen(Qt::NoPen);
    for (int i = 6; i >= 1; --i) {
        p.setBrush(QColor(0, 10, 30, 18));
        p.drawRoundedRect(sheet.translated(5, 7).adjusted(-i, -i, i, i), 5 + i, 5 + i);
    }
    p.setBrush(PaperGradient(sheet));
    p.setPen(QPen(QColor(150, 170, 196), 1.5));
    p.drawRoundedRect(sheet, 5, 5);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(70, 120, 180, 170), 2));
    p.drawRoundedRect(sheet.adjusted(7, 7, -7, -7), 2.5, 2.5);
    p.setPen(Qt::NoPen);
    QLinearGradient head(-34, 0, 34, 0);
    head.setColorAt(0, QColor(24, 82, 150));
    head.setColorAt(1, QColor(44, 122, 196));
    p.setBrush(head);
    p.drawRoundedRect(QRectF(-34, -60, 68, 10), 3, 3);
    p.setBrush(QColor(120, 146, 178));
    const double widths[] = {76, 66, 72, 52, 68};
    for (int i = 0; i < 5; ++i)
        p.drawRoundedRect(QRectF(-40, -38 + i * 12, widths[i], 4.5), 2, 2);
    QPainterPath sig;
    sig.moveTo(-38, 44);
    sig.cubicTo(-31, 30, -24, 52, -16, 39);
    sig.cubicTo(-10, 30, -6, 50, 3, 41);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(30, 60, 120), 2.2, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(sig);
    p.setPen(QPen(QColor(150, 170, 196), 1.2));
    p.drawLine(QPointF(-40, 51), QPointF(8, 51));
    DrawSeal(p, QPointF(32, 42), 25, 1.9, 1.5);
    p.restore();

    // The key lying below the lower left corner of the certificate.
    p.save();
    p.translate(44, 206);
    p.rotate(-10);
    p.save();
    p.translate(4, 7);
    p.setOpacity(0.25);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 20));
    p.drawEllipse(QPointF(0, 0), 17, 17);
    p.drawRoundedRect(QRectF(12, -4, 70, 9), 3, 3);
    p.restore();
    DrawKey(p, 1.3, 1.4);
    p.restore();

    // A light rim inside and a dark edge outside keep the tile apart from
    // light and dark backgrounds alike.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(200, 228, 255, 70), 3));
    p.drawRoundedRect(tile.adjusted(3, 3, -3, -3), 41, 41);
    p.setPen(QPen(TileEdge, 2.5));
    p.drawRoundedRect(tile, 44, 44);
}

QString AppId()
{
    return QStringLiteral(ZEDEDE_APP_ID);
}

} // namespace

QImage DrawAppIcon(int ASize)
{
    QImage img(ASize, ASize, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    if (ASize <= 16) {
        p.scale(ASize / 16.0, ASize / 16.0);
        Paint16(p);
    } else if (ASize <= 24) {
        p.scale(ASize / 24.0, ASize / 24.0);
        Paint24(p);
    } else if (ASize <= 48) {
        p.scale(ASize / 32.0, ASize / 32.0);
        Paint32(p);
    } else {
        p.scale(ASize / 256.0, ASize / 256.0);
        Paint256(p);
    }
    p.end();
    return img;
}

bool WriteAppIcons(const QString &AFolder)
{
    const QDir theme(AFolder);
    bool ok = true;
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        const QString dir = QStringLiteral("%1x%1/apps").arg(size);
        const QString file = theme.filePath(dir + QLatin1Char('/') + AppId() + ".png");
        if (!QDir().mkpath(theme.filePath(dir))
            || !DrawAppIcon(size).convertToFormat(QImage::Format_ARGB32).save(file, "PNG", 9)) {
            QTextStream(stderr) << "cannot write " << file << '\n';
            ok = false;
            continue;
        }
        QTextStream(stdout) << file << '\n';
    }

    const QString svgDir = theme.filePath(QStringLiteral("scalable/apps"));
    const QString svgFile = svgDir + QLatin1Char('/') + AppId() + ".svg";
    if (!QDir().mkpath(svgDir)) {
        QTextStream(stderr) << "cannot write " << svgFile << '\n';
        return false;
    }
    QSvgGenerator svg;
    svg.setFileName(svgFile);
    svg.setSize(QSize(256, 256));
    svg.setViewBox(QRect(0, 0, 256, 256));
    svg.setResolution(96);
    svg.setTitle(QStringLiteral("ZeDede"));
    svg.setDescription(QStringLiteral("Ícono de ZeDede"));
    QPainter p;
    if (!p.begin(&svg)) {
        QTextStream(stderr) << "cannot write " << svgFile << '\n';
        return false;
    }
    p.setRenderHint(QPainter::Antialiasing);
    Paint256(p);
    p.end();
    QTextStream(stdout) << svgFile << '\n';
    return ok;
}
