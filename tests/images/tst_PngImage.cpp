#include "PngImage.h"

#include <QBuffer>
#include <QTest>

namespace {

QByteArray Encode(const QImage &AImage)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    AImage.save(&buffer, "PNG");
    return bytes;
}

QImage Decode(const QByteArray &ABytes)
{
    return DecodePng(reinterpret_cast<const uchar *>(ABytes.constData()), ABytes.size());
}

// A picture with a gradient, so that every row and column differs.
QImage Gradient(int AWidth, int AHeight, bool AAlpha)
{
    QImage image(AWidth, AHeight, AAlpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    for (int y = 0; y < AHeight; ++y)
        for (int x = 0; x < AWidth; ++x)
            image.setPixel(x, y, qRgba(x * 255 / AWidth, y * 255 / AHeight, (x + y) % 256,
                                       AAlpha ? (x * 7 + y * 3) % 256 : 255));
    return image;
}

} // namespace

// Pictures decoded without Qt's image reader must come out as Qt reads them.
class TestPngImage : public QObject
{
    Q_OBJECT
private slots:
    void decodesLikeQtsReader_data()
    {
        QTest::addColumn<QImage>("source");
        QTest::addColumn<int>("format");
        const QImage opaque = Gradient(37, 23, false);
        const QImage alpha = Gradient(41, 19, true);
        QImage palette = opaque.convertToFormat(QImage::Format_Indexed8);
        QImage keyed = palette;   // a palette with one transparent entry
        QList<QRgb> colours = keyed.colorTable();
        colours[0] = qRgba(0, 0, 0, 0);
        keyed.setColorTable(colours);
        QTest::newRow("rgb") << opaque << int(QImage::Format_RGB32);
        QTest::newRow("rgba") << alpha << int(QImage::Format_ARGB32);
        QTest::newRow("palette") << palette << int(QImage::Format_RGB32);
        QTest::newRow("palette with transparency") << keyed << int(QImage::Format_ARGB32);
        QTest::newRow("grey") << opaque.convertToFormat(QImage::Format_Grayscale8)
                              << int(QImage::Format_RGB32);
        QTest::newRow("one bit") << opaque.convertToFormat(QImage::Format_Mono)
                                 << int(QImage::Format_RGB32);
    }
    void decodesLikeQtsReader()
    {
        QFETCH(QImage, source);
        QFETCH(int, format);
        const QByteArray png = Encode(source);
        const QImage decoded = Decode(png);
        QCOMPARE(int(decoded.format()), format);
        const QImage expected = QImage::fromData(png, "PNG").convertToFormat(decoded.format());
        QCOMPARE(decoded.size(), expected.size());
        QCOMPARE(decoded, expected);
    }

    void damagedDataGivesNullImage()
    {
        const QByteArray png = Encode(Gradient(30, 30, true));
        QVERIFY(Decode(QByteArray()).isNull());
        QVERIFY(Decode(png.left(8)).isNull());
        QVERIFY(Decode(png.left(png.size() / 2)).isNull());   // rows missing
        QVERIFY(Decode(QByteArray("GIF89a not a png at all")).isNull());
        QByteArray flipped = png;
        flipped[flipped.size() / 2] = char(~flipped[flipped.size() / 2]);
        QVERIFY(Decode(flipped).isNull());                     // checksum fails
        QVERIFY(DecodePng(nullptr, 100).isNull());
    }

    void headerGivesTheSizeWithoutDecoding()
    {
        const QByteArray png = Encode(Gradient(37, 5, true));
        const auto *data = reinterpret_cast<const uchar *>(png.constData());
        QCOMPARE(PngSize(data, png.size()), QSize(37, 5));
        QCOMPARE(PngSize(data, 24), QSize(37, 5));   // the header is enough
        QVERIFY(!PngSize(data, 23).isValid());
        QVERIFY(!PngSize(nullptr, 100).isValid());
        QByteArray notPng = png;
        notPng[1] = 'X';
        QVERIFY(!PngSize(reinterpret_cast<const uchar *>(notPng.constData()), notPng.size())
                     .isValid());
    }
};

QTEST_GUILESS_MAIN(TestPngImage)
#include "tst_PngImage.moc"
