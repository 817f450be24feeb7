#include "WizardPicture.h"

#include <QPainter>

#include <algorithm>

void TPictureKv::Assign(const QPixmap &ABitmap)
{
    FBitmap = ABitmap;
    if (FImage)
        FImage->update();
}

bool TPictureKv::LoadFromFile(const QString &AFileName)
{
    QPixmap pix;
    const bool ok = pix.load(AFileName);
    Assign(ok ? pix : QPixmap());
    return ok;
}

TImageKv::TImageKv(QWidget *AParent) : QWidget(AParent), FPicture(this)
{
    setAttribute(Qt::WA_TranslucentBackground, false);
}

void TImageKv::SetTransparent(bool AValue)
{
    if (FTransparent != AValue) {
        FTransparent = AValue;
        update();
    }
}

void TImageKv::PrepareDrawn()
{
    const QPixmap pix = FPicture.Bitmap();
    if (pix.cacheKey() == FDrawnKey && FTransparent == FDrawnTransparent)
        return;
    FDrawn = pix;
    FDrawnClip = QRegion();
    FDrawnClipped = false;
    FDrawnKey = pix.cacheKey();
    FDrawnTransparent = FTransparent;
    if (!FTransparent || pix.isNull())
        return;

    // The pixels are read where the pixmap keeps them when it holds 32-bit
    // words; the colour of the bottom-left pixel is the transparent colour.
    QImage img = pix.toImage();
    if (img.format() != QImage::Format_RGB32 && img.format() != QImage::Format_ARGB32
        && img.format() != QImage::Format_ARGB32_Premultiplied)
        img.convertTo(QImage::Format_ARGB32_Premultiplied);
    const QRgb key = reinterpret_cast<const QRgb *>(img.constScanLine(img.height() - 1))[0];

    // A few runs of that colour are left out by clipping, and the picture is
    // drawn as it is: no copy of it is made.
    constexpr int MaxClippedRuns = 32;
    QList<QRect> runs;
    const int width = img.width();
    for (int y = 0; y < img.height() && runs.size() <= MaxClippedRuns; ++y) {
        const QRgb *line = reinterpret_cast<const QRgb *>(img.constScanLine(y));
        const QRgb *end = line + width;
        for (const QRgb *p = std::find(line, end, key); p != end; p = std::find(p, end, key)) {
            const QRgb *start = p;
            while (p != end && *p == key)
                ++p;
            runs.append(QRect(int(start - line), y, int(p - start), 1));
            if (runs.size() > MaxClippedRuns)
                break;
        }
    }
    if (runs.size() <= MaxClippedRuns) {
        QRegion seeThrough;
        seeThrough.setRects(runs.constData(), int(runs.size()));
        FDrawnClip = QRegion(img.rect()).subtracted(seeThrough);
        FDrawnClipped = true;
        return;
    }

    // Otherwise every pixel of that colour is cleared in a copy.
    img.convertTo(QImage::Format_ARGB32_Premultiplied);
    const QRgb drawnKey = reinterpret_cast<const QRgb *>(img.constScanLine(img.height() - 1))[0];
    for (int y = 0; y < img.height(); ++y) {
        QRgb *line = reinterpret_cast<QRgb *>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x)
            if (line[x] == drawnKey)
                line[x] = 0;
    }
    FDrawn = QPixmap::fromImage(std::move(img));
}

void TImageKv::paintEvent(QPaintEvent *)
{
    if (FPicture.Empty())
        return;
    PrepareDrawn();
    QPainter p(this);
    if (FDrawnClipped)
        p.setClipRegion(FDrawnClip);
    p.drawPixmap(0, 0, FDrawn);
}
