#include "LogTestSupport.h"
#include "uJCLCopied.h"

#include <QTemporaryDir>
#include <QtTest>

class TestUJCLCopied : public QObject
{
    Q_OBJECT

private slots:
    void queryFileSize_givesSizeOrMinusOne();
    void classify_coversTheWholeTable_data();
    void classify_coversTheWholeTable();
    void queryWindowsVersion_isUnknownHere();
    void versionNames_dropTheirPrefixInTheLogHeader();
};

void TestUJCLCopied::queryFileSize_givesSizeOrMinusOne()
{
    QTemporaryDir dir;
    const QString empty = dir.filePath("empty");
    const QString some = dir.filePath("some");
    QVERIFY(WriteBytes(empty, QByteArray()));
    QVERIFY(WriteBytes(some, QByteArray(1025, 'a')));
    QCOMPARE(QueryFileSize(empty), 0);
    QCOMPARE(QueryFileSize(some), 1025);
    QCOMPARE(QueryFileSize(dir.filePath("missing")), -1);
    QCOMPARE(QueryFileSize(QString()), -1);
    QCOMPARE(QueryFileSize(dir.path()), 0);
    // Beyond 2 GiB and 4 GiB the whole size (sparse files stand in for
    // large logs: they take no room on the disk).
    for (const qint64 size : {qint64(0x80000010), qint64(0xFFFFFFFF), qint64(0x100000010)}) {
        QFile big(dir.filePath("big"));
        QVERIFY(big.open(QIODevice::WriteOnly));
        if (!big.resize(size))
            QSKIP("the file system does not take a sparse file of several gigabytes");
        big.close();
        QCOMPARE(QueryFileSize(big.fileName()), size);
    }
}

void TestUJCLCopied::classify_coversTheWholeTable_data()
{
    QTest::addColumn<uint>("platform");
    QTest::addColumn<uint>("major");
    QTest::addColumn<uint>("minor");
    QTest::addColumn<QString>("sp");
    QTest::addColumn<int>("product");
    QTest::addColumn<int>("expected");
    const uint w9x = VER_PLATFORM_WIN32_WINDOWS, nt = VER_PLATFORM_WIN32_NT;
    const int ws = VER_NT_WORKSTATION, srv = VER_NT_SERVER, dc = VER_NT_DOMAIN_CONTROLLER;
    QTest::newRow("95") << w9x << 4u << 0u << "" << 0 << int(wvWin95);
    QTest::newRow("95 OSR2") << w9x << 4u << 0u << " B " << 0 << int(wvWin95OSR2);
    QTest::newRow("95 C") << w9x << 4u << 3u << "C" << 0 << int(wvWin95);
    QTest::newRow("98") << w9x << 4u << 10u << "" << 0 << int(wvWin98);
    QTest::newRow("98 SE") << w9x << 4u << 10u << "A" << 0 << int(wvWin98SE);
    QTest::newRow("98 at 89") << w9x << 4u << 89u << " A" << 0 << int(wvWin98SE);
    QTest::newRow("ME") << w9x << 4u << 90u << "" << 0 << int(wvWinME);
    QTest::newRow("9x above 90") << w9x << 4u << 91u << "" << 0 << int(wvUnknown);
    QTest::newRow("NT 3.1") << nt << 3u << 1u << "" << ws << int(wvWinNT31);
    QTest::newRow("NT 3.5") << nt << 3u << 5u << "" << ws << int(wvWinNT35);
    QTest::newRow("NT 3.51") << nt << 3u << 51u << "" << ws << int(wvWinNT351);
    QTest::newRow("NT 3.2") << nt << 3u << 2u << "" << ws << int(wvUnknown);
    QTest::newRow("NT 4") << nt << 4u << 7u << "" << srv << int(wvWinNT4);
    QTest::newRow("2000") << nt << 5u << 0u << "" << ws << int(wvWin2000);
    QTest::newRow("XP") << nt << 5u << 1u << "Service Pack 3" << ws << int(wvWinXP);
    QTest::newRow("2003") << nt << 5u << 2u << "" << srv << int(wvWin2003);
    QTest::newRow("5.3") << nt << 5u << 3u << "" << ws << int(wvUnknown);
    QTest::newRow("Vista") << nt << 6u << 0u << "" << ws << int(wvWinVista);
    QTest::newRow("Seven") << nt << 6u << 1u << "" << ws << int(wvWinSeven);
    QTest::newRow("8") << nt << 6u << 2u << "" << ws << int(wvWin8);
    QTest::newRow("8.1") << nt << 6u << 3u << "" << ws << int(wvWin81);
    QTest::newRow("2008") << nt << 6u << 0u << "" << srv << int(wvWinServer2008);
    QTest::newRow("2008 R2") << nt << 6u << 1u << "" << srv << int(wvWinServer2008R2);
    QTest::newRow("2012") << nt << 6u << 2u << "" << srv << int(wvWinServer2012);
    QTest::newRow("2012 R2") << nt << 6u << 3u << "" << srv << int(wvWinServer2012R2);
    QTest::newRow("2008 DC") << nt << 6u << 0u << "" << dc << int(wvUnknown);
    QTest::newRow("6.4") << nt << 6u << 4u << "" << ws << int(wvUnknown);
    QTest::newRow("10") << nt << 10u << 0u << "" << ws << int(wvWin10);
    QTest::newRow("10 server") << nt << 10u << 0u << "" << srv << int(wvWin10Server);
    QTest::newRow("10 DC") << nt << 10u << 0u << "" << dc << int(wvWin10Server);
    QTest::newRow("NT 7") << nt << 7u << 0u << "" << ws << int(wvUnknown);
    QTest::newRow("NT 11") << nt << 11u << 0u << "" << ws << int(wvUnknown);
    QTest::newRow("NT 2") << nt << 2u << 0u << "" << ws << int(wvUnknown);
    QTest::newRow("Win32s") << uint(VER_PLATFORM_WIN32s) << 3u << 10u << "" << 0 << int(wvUnknown);
    QTest::newRow("other platform") << 3u << 10u << 0u << "" << ws << int(wvUnknown);
}

void TestUJCLCopied::classify_coversTheWholeTable()
{
    QFETCH(uint, platform);
    QFETCH(uint, major);
    QFETCH(uint, minor);
    QFETCH(QString, sp);
    QFETCH(int, product);
    QFETCH(int, expected);
    QCOMPARE(int(ClassifyWindowsVersion(platform, major, minor, sp, quint8(product))), expected);
}

void TestUJCLCopied::queryWindowsVersion_isUnknownHere()
{
    QCOMPARE(QueryWindowsVersion(), wvUnknown);
}

void TestUJCLCopied::versionNames_dropTheirPrefixInTheLogHeader()
{
    QCOMPARE(int(wvWin10Server), 22);
    QCOMPARE(WindowsVersionName(wvUnknown).mid(2), QStringLiteral("Unknown"));
    QCOMPARE(WindowsVersionName(wvWin10).mid(2), QStringLiteral("Win10"));
    QCOMPARE(WindowsVersionName(wvWinSeven).mid(2), QStringLiteral("WinSeven"));
    QCOMPARE(WindowsVersionName(wvWin81).mid(2), QStringLiteral("Win81"));
    QCOMPARE(WindowsVersionName(wvWinServer2012R2), QStringLiteral("wvWinServer2012R2"));
    QCOMPARE(WindowsVersionName(wvWin10Server), QStringLiteral("wvWin10Server"));
}

QTEST_GUILESS_MAIN(TestUJCLCopied)
#include "tst_uJCLCopied.moc"
