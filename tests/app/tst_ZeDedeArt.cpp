#include <QImage>
#include <QTest>

// The window's pictures as the program carries them.
class TestZeDedeArt : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { Q_INIT_RESOURCE(ZeDedeArt); }

    void picturesHaveTheirSizesAnd256Colours_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QSize>("size");
        QTest::newRow("tall") << ":/art/IMG_COMPARATIVA_V.png" << QSize(167, 485);
        QTest::newRow("header") << ":/art/IMG_COMPARATIVA_H.png" << QSize(39, 42);
        QTest::newRow("info") << ":/art/info13.png" << QSize(13, 13);
    }
    void picturesHaveTheirSizesAnd256Colours()
    {
        QFETCH(QString, path);
        QFETCH(QSize, size);
        const QImage image(path);
        QCOMPARE(image.size(), size);
        QCOMPARE(image.format(), QImage::Format_Indexed8);
        QVERIFY(image.colorCount() <= 256);
    }

    // Drawn transparently, the tall picture loses every pixel of its
    // bottom-left colour: only that corner may have it.
    void tallPictureCornerColourIsItsOwn()
    {
        const QImage image(QStringLiteral(":/art/IMG_COMPARATIVA_V.png"));
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
