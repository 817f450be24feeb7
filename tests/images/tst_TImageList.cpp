// The image list: drawing into bitmaps, icons, strips, masks, replacing.

#include "Exception.h"
#include "UImageList.h"

#include <QBitmap>
#include <QIcon>
#include <QPainter>
#include <QPixmap>
#include <QtTest>

namespace {

QImage Solid(int W, int H, QColor AColor)
{
    QImage image(W, H, QImage::Format_ARGB32_Premultiplied);
    image.fill(AColor);
    return image;
}

} // namespace

class TestTImageList : public QObject
{
    Q_OBJECT

private slots:
    void defaultListIsEmptySixteenPixels()
    {
        QObject owner;
        auto *list = new TImageList(&owner);
        QCOMPARE(list->parent(), &owner);
        QCOMPARE(QSize(list->Width(), list->Height()), QSize(16, 16));
        QCOMPARE(list->Count(), 0);
    }

    void stripsSplitIntoPicturesAndMasksCutAlpha()
    {
        TImageList list(4, 4);
        QImage strip(12, 4, QImage::Format_ARGB32);
        strip.fill(Qt::red);
        for (int y = 0; y < 4; ++y)
            for (int x = 4; x < 8; ++x)
                strip.setPixel(x, y, qRgb(0, 0, 255));
        QImage mask(12, 4, QImage::Format_RGB32);
        mask.fill(Qt::black);
        mask.setPixel(9, 1, qRgb(255, 255, 255)); // transparent pixel in picture 2
        QCOMPARE(list.AddMasked(strip, mask), 0);
        QCOMPARE(list.Count(), 3);
        QCOMPARE(list.Image(1).pixel(0, 0), qRgb(0, 0, 255));
        QCOMPARE(qAlpha(list.Image(2).pixel(1, 1)), 0);
        QCOMPARE(qAlpha(list.Image(2).pixel(0, 1)), 255);
        QVERIFY(list.Image(3).isNull());
    }

    // A deferred strip is decoded once, when the first of its pictures is
    // needed, and gives the same pictures as the strip added at once.
    void deferredStripsDecodeOnFirstUseOnly()
    {
        QImage strip(8, 4, QImage::Format_RGB32);
        strip.fill(Qt::green);
        QPainter(&strip).fillRect(4, 0, 4, 4, Qt::blue);
        QImage mask(8, 4, QImage::Format_RGB32);
        mask.fill(Qt::black);
        mask.setPixel(6, 2, qRgb(255, 255, 255));
        TImageList eager(4, 4);
        eager.AddMasked(strip, mask);

        int decodes = 0;
        bool fail = true;
        TImageList list(4, 4);
        QCOMPARE(list.AddMasked(strip, mask), 0);
        QCOMPARE(list.AddDeferred(2, [&](QImage &AImage, QImage &AMask) {
                     ++decodes;
                     if (fail)
                         throw Exception(QStringLiteral("piece unreadable"));
                     AImage = strip;
                     AMask = mask;
                 }),
                 2);
        QCOMPARE(list.AddDeferred(2, [&](QImage &AImage, QImage &) {
                     ++decodes;
                     AImage = strip;
                 }),
                 4);
        QCOMPARE(list.Count(), 6);
        QCOMPARE(list.DecodedStripCount(), 1);   // only the strip added at once
        QCOMPARE(list.Image(1), eager.Image(1));
        QCOMPARE(decodes, 0);

        // A decoder that fails leaves its strip to be tried again.
        QVERIFY_THROWS_EXCEPTION(Exception, list.Image(3));
        QCOMPARE(decodes, 1);
        QCOMPARE(list.DecodedStripCount(), 1);
        fail = false;
        QCOMPARE(list.Image(3), eager.Image(1));
        QCOMPARE(qAlpha(list.Image(3).pixel(2, 2)), 0);
        QCOMPARE(list.Image(2), eager.Image(0));
        QCOMPARE(decodes, 2);                    // the second picture needed no decoding
        QCOMPARE(list.DecodedStripCount(), 2);

        // A strip whose pictures are all replaced before use is never decoded.
        QPixmap red(4, 4);
        red.fill(Qt::red);
        list.Replace(4, red, QBitmap());
        list.Replace(5, red, QBitmap());
        QCOMPARE(QColor(list.Image(5).pixel(0, 0)), QColor(Qt::red));
        QCOMPARE(decodes, 2);
        QCOMPARE(list.DecodedStripCount(), 2);
    }

    void picturesAreCutOnFirstUseInAnyOrder()
    {
        TImageList list(4, 4);
        // Two strips: green/blue with a mask that clears one pixel of each,
        // then yellow/red with their own alpha.
        QImage first(8, 4, QImage::Format_RGB32);
        first.fill(Qt::green);
        QPainter(&first).fillRect(4, 0, 4, 4, Qt::blue);
        QImage mask(8, 4, QImage::Format_Mono);
        mask.fill(0);
        mask.setColor(0, qRgb(0, 0, 0));
        mask.setColor(1, qRgb(255, 255, 255));
        mask.setPixel(0, 0, 1);
        mask.setPixel(7, 3, 1);
        QImage second(8, 4, QImage::Format_ARGB32);
        second.fill(Qt::yellow);
        for (int y = 0; y < 4; ++y)
            for (int x = 4; x < 8; ++x)
                second.setPixel(x, y, qRgba(255, 0, 0, 128));
        QCOMPARE(list.AddMasked(first, mask), 0);
        QCOMPARE(list.AddMasked(second, QImage()), 2);
        QCOMPARE(list.Count(), 4);
        QCOMPARE(list.CutCount(), 0);

        QCOMPARE(qAlpha(list.Image(3).pixel(1, 1)), 128);
        QCOMPARE(qRed(list.Image(3).pixel(1, 1)), 128); // premultiplied
        QCOMPARE(list.CutCount(), 1);
        QCOMPARE(list.Image(1).pixel(0, 0), qRgb(0, 0, 255));
        QCOMPARE(qAlpha(list.Image(1).pixel(3, 3)), 0);
        QCOMPARE(qAlpha(list.Image(1).pixel(0, 3)), 255);
        QCOMPARE(list.Image(2).pixel(2, 2), qRgb(255, 255, 0));
        QCOMPARE(qAlpha(list.Image(0).pixel(0, 0)), 0);
        QCOMPARE(list.Image(0).pixel(1, 0), qRgb(0, 255, 0));
        QCOMPARE(list.CutCount(), 4);
        // Cut once: the same picture comes back.
        QCOMPARE(list.Image(1).cacheKey(), list.Image(1).cacheKey());

        // Replacing a picture that was never cut keeps the replacement, and
        // its neighbours still come from their strip.
        TImageList other(4, 4);
        other.AddMasked(first, mask);
        QPixmap black(4, 4);
        black.fill(Qt::black);
        QBitmap opaque(4, 4);
        opaque.fill(Qt::color1);
        other.Replace(0, black, opaque);
        QCOMPARE(other.Image(0).pixel(0, 0), qRgb(0, 0, 0));
        QCOMPARE(other.Image(1).pixel(0, 0), qRgb(0, 0, 255));
        QPixmap drawn;
        other.GetBitmap(1, drawn);
        QCOMPARE(drawn.toImage().pixel(2, 2), qRgb(0, 0, 255));
        other.Clear();
        QCOMPARE(other.Count(), 0);
        QCOMPARE(other.AddMasked(second, QImage()), 0);
        QCOMPARE(other.Image(0).pixel(0, 0), qRgb(255, 255, 0));
    }

    void drawingResizesTheBitmapAndKeepsItOutsideTheList()
    {
        TImageList list(8, 6);
        QImage half = Solid(8, 6, Qt::transparent);
        QPainter(&half).fillRect(0, 0, 4, 6, Qt::blue);
        list.AddMasked(half, QImage());
        QPixmap b(20, 20);
        b.fill(Qt::red);
        list.GetBitmap(0, b);
        QCOMPARE(b.size(), QSize(8, 6));
        const QImage img = b.toImage();
        QCOMPARE(img.pixel(1, 1), qRgb(0, 0, 255));
        QCOMPARE(img.pixel(6, 1), qRgb(255, 0, 0)); // old contents under the transparent half
        const QImage before = b.toImage();
        list.GetBitmap(1, b);
        list.GetBitmap(-1, b);
        QCOMPARE(b.toImage(), before);

        // Into an empty bitmap: the picture itself, its transparent half kept.
        QPixmap empty;
        list.GetBitmap(0, empty);
        QCOMPARE(empty.size(), QSize(8, 6));
        const QImage drawn = empty.toImage().convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(drawn.pixel(1, 1), qRgb(0, 0, 255));
        QCOMPARE(qAlpha(drawn.pixel(6, 1)), 0);
        QPixmap cleared(8, 6);   // the same as drawing over a cleared bitmap
        cleared.fill(Qt::transparent);
        list.GetBitmap(0, cleared);
        QCOMPARE(cleared.toImage().convertToFormat(QImage::Format_ARGB32), drawn);
    }

    void backgroundColourFillsTransparentParts()
    {
        TImageList list(4, 4);
        list.AddMasked(Solid(4, 4, Qt::transparent), QImage());
        list.SetBkColor(Qt::white);
        QPixmap b;
        list.GetBitmap(0, b);
        QCOMPARE(b.toImage().pixel(2, 2), qRgb(255, 255, 255));
        QIcon icon;
        list.GetIcon(0, icon);
        QCOMPARE(icon.pixmap(4, 4).toImage().pixel(1, 1), qRgb(255, 255, 255));
    }

    void iconsComeAtTheListSizeOrEmpty()
    {
        TImageList list(16, 16);
        list.AddIcon(QIcon(QPixmap::fromImage(Solid(32, 32, Qt::green))));
        QCOMPARE(list.Count(), 1);
        QCOMPARE(list.Image(0).size(), QSize(16, 16));
        QIcon icon;
        list.GetIcon(0, icon);
        QCOMPARE(icon.availableSizes().value(0), QSize(16, 16));
        list.GetIcon(5, icon);
        QVERIFY(icon.isNull());
    }

    void replacingKeepsTheCountAndRejectsBadIndexes()
    {
        TImageList list(4, 4);
        list.AddIcon(QIcon(QPixmap::fromImage(Solid(4, 4, Qt::green))));
        list.AddIcon(QIcon(QPixmap::fromImage(Solid(4, 4, Qt::green))));
        QBitmap mask(4, 4);
        mask.fill(Qt::color1);
        QPixmap blue(4, 4);
        blue.fill(Qt::blue);
        list.Replace(1, blue, mask);
        QCOMPARE(list.Count(), 2);
        QCOMPARE(list.Image(1).pixel(0, 0), qRgb(0, 0, 255));
        list.ReplaceIcon(0, QIcon(blue));
        QCOMPARE(list.Image(0).pixel(3, 3), qRgb(0, 0, 255));
        QVERIFY_THROWS_EXCEPTION(Exception, list.Replace(2, blue, mask));
        QVERIFY_THROWS_EXCEPTION(Exception, list.ReplaceIcon(-1, QIcon(blue)));
        QCOMPARE(list.Count(), 2);
    }
};

QTEST_MAIN(TestTImageList)
#include "tst_TImageList.moc"
