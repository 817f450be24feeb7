#include "ZeDedeArt.h"

#include <QImage>
#include <QTest>

namespace {
QString ArtFile(const char *AName)
{
    return qEnvironmentVariable("ZEDEDE_SOURCE_DIR") + QStringLiteral("/app/art/")
           + QLatin1String(AName) + QStringLiteral(".png");
}
} // namespace

// The window's pictures: the committed drawings, and the pixels the program
// carries of them.
class TestZeDedeArt : public QObject
{
    Q_OBJECT
private slots:
    void picturesHaveTheirSizesAnd256Colours_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QSize>("size");
        QTest::newRow("tall") << QByteArray("IMG_COMPARATIVA_V") << QSize(167, 485);
        QTest::newRow("header") << QByteArray("IMG_COMPARATIVA_H") << QSize(39, 42);
        QTest::newRow("info") << QByteArray("info13") << QSize(13, 13);
    }
    void picturesHaveTheirSizesAnd256Colours()
    {
        QFETCH(QByteArray, name);
        QFETCH(QSize, size);
        const QImage image(ArtFile(name.constData()));
        QCOMPARE(image.size(), size);
        QCOMPARE(image.format(), QImage::Format_Indexed8);
        QVERIFY(image.colorCount() <= 256);
    }

    // What the program draws is the drawing, pixel for pixel, and shares the
    // embedded pixels instead of copying them.
    void carriedPixelsAreThePictures_data() { picturesHaveTheirSizesAnd256Colours_data(); }
    void carriedPixelsAreThePictures()
    {
        QFETCH(QByteArray, name);
        QFETCH(QSize, size);
        const QImage carried = ZeDedeArtImage(name.constData());
        QCOMPARE(carried.size(), size);
        const QImage drawing(ArtFile(name.constData()));
        QCOMPARE(carried, drawing.convertToFormat(carried.format()));
        QCOMPARE(ZeDedeArtImage(name.constData()).constBits(), carried.constBits());
    }

    void unknownPictureIsNull()
    {
        QVERIFY(ZeDedeArtImage("IMG_NO_SUCH").isNull());
        QVERIFY(ZeDedeArtImage("").isNull());
    }

    // Drawn transparently, the tall picture loses every pixel of its
    // bottom-left colour: only that corner may have it.
    void tallPictureCornerColourIsItsOwn()
    {
        const QImage image = ZeDedeArtImage("IMG_COMPARATIVA_V");
        const QRgb corner = image.pixel(0, image.height() - 1);
        int shared = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                shared += image.pixel(x, y) == corner;
        QCOMPARE(shared, 1);
    }
};

QTEST_GUILESS_MAIN(TestZeDedeArt)
#include "tst_ZeDedeArt.moc"
