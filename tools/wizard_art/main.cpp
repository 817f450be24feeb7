// Draws the wizard's pictures with antialiased vector painting and stores
// them as indexed 8-bit PNGs (at most 256 colours, alpha kept in the palette):
//   IMG_COMPARATIVA_V.png  167 x 485  tall picture of the welcome page
//   IMG_COMPARATIVA_H.png   39 x 42   header picture of the other pages
//   info13.png              13 x 13   information glyph of the hint panels
// and each again at twice the size ("<name>@2x.png"), which the window shows
// at scale factors above 1. With a second folder argument, enlarged previews
// are written there too.
//   wizard_art --icons <folder>  writes the program's icon instead (AppIcon.h).

#include "AppIcon.h"
#include "Drawing.h"

#include <QColor>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHash>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QTextStream>
#include <QtMath>

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace {

// --- colour reduction -------------------------------------------------------

struct TColorCount {
    std::array<int, 4> C; // a, r, g, b
    int Count;
};

struct TBox {
    std::vector<TColorCount> Colors;
    long long Weight() const
    {
        long long w = 0;
        for (const auto &c : Colors)
            w += c.Count;
        return w;
    }
    int Range(int &AAxis) const
    {
        int best = -1;
        for (int axis = 0; axis < 4; ++axis) {
            int lo = 255, hi = 0;
            for (const auto &c : Colors) {
                lo = std::min(lo, c.C[axis]);
                hi = std::max(hi, c.C[axis]);
            }
            // Alpha edges matter as much as colour.
            const int range = (hi - lo) * (axis == 0 ? 2 : 1);
            if (range > best) {
                best = range;
                AAxis = axis;
            }
        }
        return best;
    }
};

// Median cut over the image's colours, weighted by how often they occur.
QVector<QRgb> MedianCutPalette(const QImage &AImage, int AColors)
{
    QHash<QRgb, int> counts;
    for (int y = 0; y < AImage.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(AImage.constScanLine(y));
        for (int x = 0; x < AImage.width(); ++x) {
            QRgb p = line[x];
            if (qAlpha(p) == 0)
                p = 0;
            ++counts[p];
        }
    }
    // Work in colour order so that every run gives the same palette.
    QList<QRgb> keys = counts.keys();
    std::sort(keys.begin(), keys.end());
    QVector<QRgb> palette;
    if (keys.size() <= AColors) {
        for (QRgb k : keys)
            palette << k;
        return palette;
    }
    std::vector<TBox> boxes(1);
    for (QRgb k : keys)
        boxes[0].Colors.push_back({{qAlpha(k), qRed(k), qGreen(k), qBlue(k)}, counts.value(k)});
    while (int(boxes.size()) < AColors) {
        int pick = -1;
        double score = -1;
        int pickAxis = 0;
        for (int i = 0; i < int(boxes.size()); ++i) {
            if (boxes[i].Colors.size() < 2)
                continue;
            int axis = 0;
            const int range = boxes[i].Range(axis);
            const double s = double(range) * std::sqrt(double(boxes[i].Weight()));
            if (s > score) {
                score = s;
                pick = i;
                pickAxis = axis;
            }
        }
        if (pick < 0)
            break;
        auto &colors = boxes[pick].Colors;
        std::stable_sort(colors.begin(), colors.end(), [pickAxis](const TColorCount &a, const TColorCount &b) {
            return a.C[pickAxis] < b.C[pickAxis];
        });
        const long long half = boxes[pick].Weight() / 2;
        long long run = 0;
        size_t cut = 1;
        for (size_t i = 0; i < colors.size() - 1; ++i) {
            run += colors[i].Count;
            cut = i + 1;
            if (run >= half)
                break;
        }
        TBox upper;
        upper.Colors.assign(colors.begin() + long(cut), colors.end());
        colors.resize(cut);
        boxes.push_back(std::move(upper));
    }
    for (const TBox &box : boxes) {
        double sum[4] = {0, 0, 0, 0};
        const double w = double(box.Weight());
        for (const auto &c : box.Colors)
            for (int k = 0; k < 4; ++k)
                sum[k] += double(c.C[k]) * c.Count;
        palette << qRgba(qRound(sum[1] / w), qRound(sum[2] / w), qRound(sum[3] / w), qRound(sum[0] / w));
    }
    return palette;
}

int Nearest(const QVector<QRgb> &APalette, int a, int r, int g, int b)
{
    int best = 0;
    long long bestDist = -1;
    for (int i = 0; i < APalette.size(); ++i) {
        const QRgb p = APalette[i];
        const long long da = qAlpha(p) - a, dr = qRed(p) - r, dg = qGreen(p) - g, db = qBlue(p) - b;
        const long long d = 3 * da * da + 2 * dr * dr + 4 * dg * dg + db * db;
        if (bestDist < 0 || d < bestDist) {
            bestDist = d;
            best = i;
        }
    }
    return best;
}

// Maps the picture onto a palette of at most 256 colours; smooth gradients
// get a light error diffusion so that they do not band.
QImage ToIndexed8(const QImage &ASource, bool ADither)
{
    const QImage src = ASource.convertToFormat(QImage::Format_ARGB32);
    // An opaque picture keeps one palette entry for its bottom-left pixel
    // (see GiveCornerItsOwnColour).
    const bool opaqueCorner = qAlpha(src.pixel(0, src.height() - 1)) == 255;
    const QVector<QRgb> palette = MedianCutPalette(src, opaqueCorner ? 255 : 256);
    QImage out(src.size(), QImage::Format_Indexed8);
    out.setColorTable(palette);
    const int w = src.width(), h = src.height();
    std::vector<std::array<double, 4>> err(size_t(w + 2) * 2, {0, 0, 0, 0});
    for (int y = 0; y < h; ++y) {
        auto *cur = &err[size_t((y % 2) * (w + 2))];
        auto *next = &err[size_t(((y + 1) % 2) * (w + 2))];
        std::fill(next, next + w + 2, std::array<double, 4>{0, 0, 0, 0});
        const auto *line = reinterpret_cast<const QRgb *>(src.constScanLine(y));
        uchar *dst = out.scanLine(y);
        for (int x = 0; x < w; ++x) {
            const QRgb p = line[x];
            double v[4] = {double(qAlpha(p)), double(qRed(p)), double(qGreen(p)), double(qBlue(p))};
            if (ADither && qAlpha(p) == 255)
                for (int k = 1; k < 4; ++k)
                    v[k] = std::clamp(v[k] + cur[x + 1][size_t(k)], 0.0, 255.0);
            const int idx = Nearest(palette, qRound(v[0]), qRound(v[1]), qRound(v[2]), qRound(v[3]));
            dst[x] = uchar(idx);
            if (ADither && qAlpha(p) == 255) {
                const QRgb q = palette[idx];
                const double e[4] = {0, v[1] - qRed(q), v[2] - qGreen(q), v[3] - qBlue(q)};
                for (int k = 1; k < 4; ++k) {
                    cur[x + 2][size_t(k)] += e[k] * 7 / 16;
                    next[x][size_t(k)] += e[k] * 3 / 16;
                    next[x + 1][size_t(k)] += e[k] * 5 / 16;
                    next[x + 2][size_t(k)] += e[k] * 1 / 16;
                }
            }
        }
    }
    return out;
}

// A picture drawn transparently takes the colour of its bottom-left pixel as
// the see-through colour. An opaque picture would lose every pixel that
// shares it, so the corner gets a palette entry of its own: the nearest
// colour to it that no other entry holds.
void GiveCornerItsOwnColour(QImage &AIndexed)
{
    const int y = AIndexed.height() - 1;
    QVector<QRgb> table = AIndexed.colorTable();
    const QRgb corner = table.at(AIndexed.pixelIndex(0, y));
    if (qAlpha(corner) != 255 || table.size() >= 256)
        return;
    for (int step = 1; step < 256; ++step) {
        const QRgb candidate = qRgb(qRed(corner), qGreen(corner),
                                    (qBlue(corner) + step) % 256);
        if (!table.contains(candidate)) {
            table << candidate;
            AIndexed.setColorTable(table);
            AIndexed.setPixel(0, y, uint(table.size() - 1));
            return;
        }
    }
}

// --- the pictures -----------------------------------------------------------

// Each picture is drawn at AScale times its size (2 for the version shown at
// scale factors above 1), in the coordinates of its size.
QImage DrawTall(int AScale)
{
    const int W = 167, H = 485;
    QImage img(W * AScale, H * AScale, QImage::Format_ARGB32_Premultiplied);
    QPainter p(&img);
    p.scale(AScale, AScale);
    p.setRenderHint(QPainter::Antialiasing);

    // Deep blue background, lighter behind the picture.
    QLinearGradient bg(0, 0, 0, H);
    bg.setColorAt(0, QColor(8, 36, 74));
    bg.setColorAt(0.55, QColor(22, 78, 140));
    bg.setColorAt(1, QColor(9, 40, 80));
    p.fillRect(QRect(0, 0, W, H), bg);
    QRadialGradient glow(QPointF(W * 0.5, 250), 150);
    glow.setColorAt(0, QColor(120, 190, 255, 110));
    glow.setColorAt(1, QColor(120, 190, 255, 0));
    p.fillRect(QRect(0, 0, W, H), glow);

    // Security-paper lines at the top and the bottom.
    for (int band = 0; band < 2; ++band) {
        const double y0 = band == 0 ? 40 : 430;
        for (int k = 0; k < 7; ++k) {
            QPainterPath wave;
            for (int x = -2; x <= W + 2; ++x) {
                const double y = y0 + k * 4.0 + 9 * std::sin((x + k * 11) / 19.0) * std::cos((x - k * 7) / 41.0);
                if (x == -2)
                    wave.moveTo(x, y);
                else
                    wave.lineTo(x, y);
            }
            p.setPen(QPen(QColor(170, 210, 255, 46), 0.9));
            p.setBrush(Qt::NoBrush);
            p.drawPath(wave);
        }
    }

    // Faint concentric rings behind the picture.
    p.setBrush(Qt::NoBrush);
    for (int k = 0; k < 5; ++k) {
        p.setPen(QPen(QColor(190, 225, 255, 34 - k * 5), 1));
        p.drawEllipse(QPointF(W * 0.5, 250), 70.0 + k * 16, 70.0 + k * 16);
    }

    // The certificate, slightly turned, with a soft shadow.
    p.save();
    p.translate(W * 0.5 - 4, 236);
    p.rotate(-7);
    const QRectF sheet(-52, -72, 104, 140);
    for (int i = 6; i >= 1; --i) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 10, 30, 16));
        p.drawRoundedRect(sheet.translated(4, 6).adjusted(-i, -i, i, i), 4 + i, 4 + i);
    }
    QLinearGradient paper(sheet.topLeft(), sheet.bottomRight());
    paper.setColorAt(0, QColor(255, 255, 255));
    paper.setColorAt(1, QColor(226, 234, 244));
    p.setBrush(paper);
    p.setPen(QPen(QColor(150, 170, 196), 1));
    p.drawRoundedRect(sheet, 4, 4);
    // Ornamental inner frame.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(70, 120, 180, 170), 1.2));
    p.drawRoundedRect(sheet.adjusted(6, 6, -6, -6), 2, 2);
    p.setPen(QPen(QColor(70, 120, 180, 90), 0.8));
    p.drawRoundedRect(sheet.adjusted(9, 9, -9, -9), 1.5, 1.5);
    // Heading bar and lines standing for the text.
    p.setPen(Qt::NoPen);
    QLinearGradient head(sheet.left() + 18, 0, sheet.right() - 18, 0);
    head.setColorAt(0, QColor(24, 82, 150));
    head.setColorAt(1, QColor(44, 122, 196));
    p.setBrush(head);
    p.drawRoundedRect(QRectF(-30, -56, 60, 7), 2, 2);
    p.setBrush(QColor(120, 146, 178));
    const double lines[][2] = {{-36, 72}, {-36, 64}, {-36, 70}, {-36, 50}, {-36, 66}, {-36, 40}};
    for (int i = 0; i < 6; ++i)
        p.drawRoundedRect(QRectF(lines[i][0], -38 + i * 9, lines[i][1], 3), 1.5, 1.5);
    // Signature.
    QPainterPath sig;
    sig.moveTo(-34, 38);
    sig.cubicTo(-28, 26, -22, 46, -15, 34);
    sig.cubicTo(-10, 26, -6, 44, 2, 36);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(30, 60, 120), 1.3, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(sig);
    p.setPen(QPen(QColor(150, 170, 196), 0.8));
    p.drawLine(QPointF(-36, 44), QPointF(8, 44));
    DrawSeal(p, QPointF(30, 40), 19, 1.95, 1.0);
    p.restore();

    // The key, lying across the lower corner of the certificate.
    p.save();
    p.translate(34, 336);
    p.rotate(-30);
    // shadow
    p.save();
    p.translate(3, 5);
    p.setOpacity(0.22);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 20));
    p.drawEllipse(QPointF(0, 0), 17, 17);
    p.drawRoundedRect(QRectF(12, -4, 68, 8), 2, 2);
    p.restore();
    DrawKey(p, 1.3, 1.1);
    p.restore();

    // A thin light rule at the right edge, where the page begins.
    QLinearGradient edge(0, 0, 0, H);
    edge.setColorAt(0, QColor(255, 255, 255, 0));
    edge.setColorAt(0.5, QColor(200, 228, 255, 120));
    edge.setColorAt(1, QColor(255, 255, 255, 0));
    p.fillRect(QRectF(W - 1, 0, 1, H), edge);
    p.end();
    return img;
}

QImage DrawHeader(int AScale)
{
    const int W = 39, H = 42;
    QImage img(W * AScale, H * AScale, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.scale(AScale, AScale);
    p.setRenderHint(QPainter::Antialiasing);

    // Upright sheet on whole pixels so that its edges stay sharp.
    const QRectF sheet(3.5, 2.5, 26, 33);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 20, 50, 40));
    p.drawRoundedRect(sheet.translated(1.5, 1.5), 2, 2);
    QLinearGradient paper(sheet.topLeft(), sheet.bottomRight());
    paper.setColorAt(0, QColor(255, 255, 255));
    paper.setColorAt(1, QColor(222, 231, 243));
    p.setBrush(paper);
    p.setPen(QPen(QColor(96, 124, 160), 1));
    p.drawRoundedRect(sheet, 2, 2);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(28, 92, 166));
    p.drawRect(QRectF(7, 6, 19, 3));
    p.setBrush(QColor(132, 154, 184));
    p.drawRect(QRectF(7, 12, 19, 1.5));
    p.drawRect(QRectF(7, 16, 16, 1.5));
    p.drawRect(QRectF(7, 20, 18, 1.5));
    p.drawRect(QRectF(7, 24, 10, 1.5));

    DrawSeal(p, QPointF(28.5, 27.5), 8.5, 1.55, 0.8);
    p.end();
    return img;
}

QImage DrawInfo(int AScale)
{
    const int S = 13;
    QImage img(S * AScale, S * AScale, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.scale(AScale, AScale);
    p.setRenderHint(QPainter::Antialiasing);
    QRadialGradient disc(QPointF(4.5, 3.5), 10);
    disc.setColorAt(0, QColor(84, 148, 230));
    disc.setColorAt(0.55, QColor(30, 90, 190));
    disc.setColorAt(1, QColor(12, 50, 130));
    p.setBrush(disc);
    p.setPen(QPen(QColor(10, 40, 110), 1));
    p.drawEllipse(QRectF(0.5, 0.5, 12, 12));
    // The letter, on whole pixels: a 3 x 2 dot and a 3-pixel stem.
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawRect(QRect(5, 2, 3, 2));
    p.drawRect(QRect(5, 5, 3, 5));
    p.drawRect(QRect(4, 9, 5, 1));
    p.drawRect(QRect(4, 5, 1, 1));
    p.end();
    return img;
}

bool Save(const QImage &AImage, const QString &AFile, bool ADither, const QString &APreviewDir, int AZoom)
{
    QImage indexed = ToIndexed8(AImage, ADither);
    GiveCornerItsOwnColour(indexed);
    if (!indexed.save(AFile, "PNG")) {
        QTextStream(stderr) << "cannot write " << AFile << '\n';
        return false;
    }
    const QImage back(AFile);
    if (back.format() != QImage::Format_Indexed8 || back.size() != AImage.size() || back.colorCount() > 256) {
        QTextStream(stderr) << AFile << " did not come back as a 256-colour picture\n";
        return false;
    }
    if (!APreviewDir.isEmpty()) {
        QImage shown(indexed.size(), QImage::Format_ARGB32);
        shown.fill(QColor(255, 255, 200)); // the hint panels' yellow
        QPainter p(&shown);
        p.drawImage(0, 0, indexed.convertToFormat(QImage::Format_ARGB32));
        p.end();
        const QString base = QFileInfo(AFile).completeBaseName();
        shown.scaled(shown.size() * AZoom, Qt::IgnoreAspectRatio, Qt::FastTransformation)
            .save(QDir(APreviewDir).filePath(base + "_x" + QString::number(AZoom) + ".png"));
        shown.save(QDir(APreviewDir).filePath(base + "_x1.png"));
    }
    QTextStream(stdout) << AFile << ": " << indexed.width() << "x" << indexed.height() << ", "
                        << indexed.colorCount() << " colours\n";
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 3 && args.at(1) == QLatin1String("--icons"))
        return WriteAppIcons(args.at(2)) ? 0 : 1;
    if (args.size() < 2 || args.at(1).startsWith(QLatin1Char('-'))) {
        QTextStream(stderr) << "usage: wizard_art <output folder> [<preview folder>]\n"
                               "       wizard_art --icons <icon theme folder>\n";
        return 2;
    }
    const QDir out(args.at(1));
    const QString preview = args.size() > 2 ? args.at(2) : QString();
    if (!QDir().mkpath(out.path()) || (!preview.isEmpty() && !QDir().mkpath(preview)))
        return 1;
    bool ok = true;
    for (int scale : {1, 2}) {
        const QString suffix = scale == 1 ? QString() : QStringLiteral("@%1x").arg(scale);
        ok = Save(DrawTall(scale), out.filePath("IMG_COMPARATIVA_V" + suffix + ".png"), true,
                  preview, 2)
             && ok;
        ok = Save(DrawHeader(scale), out.filePath("IMG_COMPARATIVA_H" + suffix + ".png"), false,
                  preview, 8 / scale)
             && ok;
        ok = Save(DrawInfo(scale), out.filePath("info13" + suffix + ".png"), false, preview,
                  16 / scale)
             && ok;
    }
    return ok ? 0 : 1;
}
