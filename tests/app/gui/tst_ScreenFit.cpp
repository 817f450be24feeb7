// The scale factor at which the fixed-size window fits the screen, and the
// program starting at it.

#include "ScreenFit.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

class TestScreenFit : public QObject
{
    Q_OBJECT
    QTemporaryDir FDir;

    // Starts the program on an offscreen screen of AScreen device pixels
    // with QT_SCALE_FACTOR AFactor; returns its report line.
    QString startOn(const QSize &AScreen, const QByteArray &AFactor,
                    const QStringList &AArguments = {})
    {
        const QString config = FDir.filePath(QStringLiteral("screen-%1x%2.json")
                                                 .arg(AScreen.width())
                                                 .arg(AScreen.height()));
        QFile f(config);
        if (!f.open(QIODevice::WriteOnly))
            return QString();
        f.write(QStringLiteral("{\"screens\":[{\"name\":\"s\",\"x\":0,\"y\":0,\"width\":%1,"
                               "\"height\":%2,\"logicalDpi\":96,\"logicalBaseDpi\":96}]}")
                    .arg(AScreen.width())
                    .arg(AScreen.height())
                    .toUtf8());
        f.close();
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen:configfile=" + config);
        env.insert("QT_SCALE_FACTOR", QString::fromLatin1(AFactor));
        env.insert("HOME", FDir.path());
        env.insert("XDG_DATA_HOME", FDir.filePath("data"));
        env.insert("XDG_CONFIG_HOME", FDir.filePath("config"));
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(ZEDEDE_SHOWN), AArguments);
        if (!p.waitForFinished(60000))
            return QStringLiteral("<no report>");
        return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
    }

private slots:
    void initTestCase() { QVERIFY(FDir.isValid()); }

    // Screens of laptops and desktops with a panel of 32 device pixels.
    void theFactorIsLoweredUntilTheWindowFits_data()
    {
        QTest::addColumn<double>("current");
        QTest::addColumn<QSize>("available");
        QTest::addColumn<double>("fitting");
        const QSize small(1366, 768 - 32), large(1920, 1080 - 32);
        QTest::newRow("1366x768 at 1.25") << 1.25 << small << 1.25;
        QTest::newRow("1366x768 at 1.5") << 1.5 << small << 1.25;
        QTest::newRow("1366x768 at 2") << 2.0 << small << 1.25;
        QTest::newRow("1920x1080 at 1.25") << 1.25 << large << 1.25;
        QTest::newRow("1920x1080 at 1.5") << 1.5 << large << 1.5;
        QTest::newRow("1920x1080 at 2") << 2.0 << large << 1.75;
        QTest::newRow("fitting between steps") << 1.8 << large << 1.8;
        QTest::newRow("lowered from between steps") << 1.9 << large << 1.75;
        QTest::newRow("3 on 2560x1440") << 3.0 << QSize(2560, 1440 - 40) << 2.25;
        QTest::newRow("3 on 4K") << 3.0 << QSize(3840, 2160 - 64) << 3.0;
        QTest::newRow("at 1 nothing changes") << 1.0 << QSize(800, 560) << 1.0;
        QTest::newRow("below 1 nothing changes") << 0.75 << QSize(400, 300) << 0.75;
        QTest::newRow("never below 1") << 1.5 << QSize(800, 560) << 1.0;
        QTest::newRow("exactly fitting") << 2.0 << QSize((709 + 16) * 2, (533 + 48) * 2) << 2.0;
    }
    void theFactorIsLoweredUntilTheWindowFits()
    {
        QFETCH(double, current);
        QFETCH(QSize, available);
        QFETCH(double, fitting);
        QCOMPARE(FittingScaleFactor(current, available, QSize(709, 533)), fitting);
    }

    void theSettingTurnsTheScreensFactorIntoTheWantedOne()
    {
        QCOMPARE(ScaleFactorSetting(2.0, 1.25, QByteArray()), QByteArray("0.625"));
        QCOMPARE(ScaleFactorSetting(2.0, 1.75, "2"), QByteArray("1.75"));
        QCOMPARE(ScaleFactorSetting(1.5, 1.25, "1.5"), QByteArray("1.25"));
        QCOMPARE(ScaleFactorSetting(1.5, 1.25, "bogus"), QByteArray("0.833333"));
    }

    // The real start-up on a 1366 x 768 screen at 1.5 and 2: the window,
    // frame included, is inside the screen, at the lowered factor; the
    // setting in force is given back for the programs it starts.
    // The check's window alone (--verificar) is taller than the wizard's:
    // it is lowered for its own size.
    void theProgramStartsAtAFactorAtWhichItsWindowFits_data()
    {
        QTest::addColumn<QSize>("screen");
        QTest::addColumn<QByteArray>("factor");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<double>("ratio");
        const QStringList wizard;
        const QStringList check{QStringLiteral("--verificar")};
        QTest::newRow("1366x768 at 1.5") << QSize(1366, 768) << QByteArray("1.5") << wizard << 1.25;
        QTest::newRow("1366x768 at 2") << QSize(1366, 768) << QByteArray("2") << wizard << 1.25;
        QTest::newRow("1920x1080 at 2") << QSize(1920, 1080) << QByteArray("2") << wizard << 1.75;
        QTest::newRow("1920x1080 at 1.5") << QSize(1920, 1080) << QByteArray("1.5") << wizard << 1.5;
        QTest::newRow("check 1366x768 at 1.25") << QSize(1366, 768) << QByteArray("1.25") << check << 1.0;
        QTest::newRow("check 1366x768 at 1.5") << QSize(1366, 768) << QByteArray("1.5") << check << 1.0;
        QTest::newRow("check 1366x768 at 2") << QSize(1366, 768) << QByteArray("2") << check << 1.0;
        QTest::newRow("check 1920x1080 at 2") << QSize(1920, 1080) << QByteArray("2") << check << 1.5;
    }
    void theProgramStartsAtAFactorAtWhichItsWindowFits()
    {
        QFETCH(QSize, screen);
        QFETCH(QByteArray, factor);
        QFETCH(QStringList, arguments);
        QFETCH(double, ratio);
        const QString report = startOn(screen, factor, arguments);
        const QRegularExpression form(QStringLiteral(
            "^ratio=([0-9.]+) frame=(\\d+)x(\\d+) available=(\\d+)x(\\d+) scale=(.*)$"));
        const QRegularExpressionMatch m = form.match(report);
        QVERIFY2(m.hasMatch(), qPrintable(report));
        QCOMPARE(m.captured(1).toDouble(), ratio);
        QVERIFY2(m.captured(2).toInt() <= m.captured(4).toInt(), qPrintable(report));
        QVERIFY2(m.captured(3).toInt() <= m.captured(5).toInt(), qPrintable(report));
        QCOMPARE(m.captured(6).toLatin1(), factor);
    }
};

QTEST_GUILESS_MAIN(TestScreenFit)
#include "tst_ScreenFit.moc"
