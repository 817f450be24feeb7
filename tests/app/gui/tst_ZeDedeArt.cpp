#include "ZeDedeArt.h"

#include <QFile>
#include <QImage>
#include <QTest>
#include <QXmlStreamReader>

#include <cmath>

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
        QTest::newRow("tall 2x") << QByteArray("IMG_COMPARATIVA_V@2x") << QSize(334, 970);
        QTest::newRow("header 2x") << QByteArray("IMG_COMPARATIVA_H@2x") << QSize(78, 84);
        QTest::newRow("info 2x") << QByteArray("info13@2x") << QSize(26, 26);
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
        QImage drawing(ArtFile(name.constData()));
        drawing.setDevicePixelRatio(1.0); // Qt reads "@2x" in a file name as a ratio
        QCOMPARE(carried, drawing.convertToFormat(carried.format()));
        QCOMPARE(ZeDedeArtImage(name.constData()).constBits(), carried.constBits());
    }

    // The twice-size versions are the same drawings: halved, they differ
    // from the pictures only by what 256 colours and finer detail make.
    void twiceSizeVersionsAreTheSameDrawings_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::newRow("tall") << QByteArray("IMG_COMPARATIVA_V");
        QTest::newRow("header") << QByteArray("IMG_COMPARATIVA_H");
        QTest::newRow("info") << QByteArray("info13");
    }
    void twiceSizeVersionsAreTheSameDrawings()
    {
        QFETCH(QByteArray, name);
        const QImage one = ZeDedeArtImage(name.constData()).convertToFormat(QImage::Format_ARGB32);
        const QImage two = ZeDedeArtImage((name + "@2x").constData())
                               .scaled(one.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                               .convertToFormat(QImage::Format_ARGB32);
        double difference = 0;
        for (int y = 0; y < one.height(); ++y)
            for (int x = 0; x < one.width(); ++x) {
                const QRgb a = one.pixel(x, y), b = two.pixel(x, y);
                difference += std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b))
                              + std::abs(qBlue(a) - qBlue(b)) + std::abs(qAlpha(a) - qAlpha(b));
            }
        const double mean = difference / (one.width() * one.height() * 4.0);
        QVERIFY2(mean < 8.0, qPrintable(QString::number(mean)));
    }

    // The program's icon as the menu and the window show it: every size of
    // the hicolor theme, square, a rounded tile with see-through corners and
    // an opaque middle; the scalable drawing beside them.
    void theIconHasEverySizeAndTheScalableDrawing()
    {
        const QString theme =
            qEnvironmentVariable("ZEDEDE_SOURCE_DIR") + QStringLiteral("/packaging/icons/hicolor/");
        const QString name = QStringLiteral("/apps/ar.com.vemra.ZeDede");
        for (int size : {16, 24, 32, 48, 64, 128, 256}) {
            const QImage icon(theme + QStringLiteral("%1x%1").arg(size) + name + ".png");
            QCOMPARE(icon.size(), QSize(size, size));
            QVERIFY(icon.hasAlphaChannel());
            QCOMPARE(qAlpha(icon.pixel(0, 0)), 0);
            QCOMPARE(qAlpha(icon.pixel(size - 1, size - 1)), 0);
            QCOMPARE(qAlpha(icon.pixel(size / 2, size / 2)), 255);
        }
        QFile svg(theme + QStringLiteral("scalable") + name + ".svg");
        QVERIFY(svg.open(QIODevice::ReadOnly));
        QXmlStreamReader xml(&svg);
        QVERIFY(xml.readNextStartElement());
        QCOMPARE(xml.name(), QStringLiteral("svg"));
        QCOMPARE(xml.attributes().value("viewBox"), QStringLiteral("0 0 256 256"));
        while (!xml.atEnd())
            xml.readNext();
        QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
    }

    // The windows' icon is carried as the pixels of the menu's icon files.
    void carriedIconIsTheMenusIcon()
    {
        for (int size : {16, 24, 32, 48, 64, 128}) {
            const QImage carried = ZeDedeArtImage(("icon" + QByteArray::number(size)).constData());
            QCOMPARE(carried.size(), QSize(size, size));
            const QImage file(qEnvironmentVariable("ZEDEDE_SOURCE_DIR")
                              + QStringLiteral("/packaging/icons/hicolor/%1x%1/apps/"
                                               "ar.com.vemra.ZeDede.png")
                                    .arg(size));
            QCOMPARE(carried, file.convertToFormat(carried.format()));
        }
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
