#include "AnsiCodePage.h"

#include <QTest>

class TestAnsiCodePage : public QObject
{
    Q_OBJECT
private slots:
    void latinLettersTakeTheirSingleByte()
    {
        QCOMPARE(ToAnsi(QStringLiteral("Compañía José")),
                 QByteArray("Compa\xF1\xED" "a Jos\xE9"));
    }
    void windowsSpecialsTakeTheirHighPositions()
    {
        QCOMPARE(ToAnsi(QStringLiteral("€ „“” – Š")),
                 QByteArray("\x80 \x84\x93\x94 \x96 \x8A"));
    }
    void missingLettersFallBackToTheirBase()
    {
        QCOMPARE(ToAnsi(QStringLiteral("Őrség Łódź")), QByteArray("Ors\xE9g ?\xF3" "dz"));
    }
    void otherCharactersBecomeQuestionMarks()
    {
        QCOMPARE(ToAnsi(QStringLiteral("日本 ✓")), QByteArray("?? ?"));
        QCOMPARE(ToAnsi(QString::fromUcs4(U"a\U0001F600b")), QByteArray("a?b"));
    }
    void decodingRoundTripsEveryAssignedByte()
    {
        QByteArray all;
        for (int i = 0; i < 256; ++i)
            all.append(char(i));
        QCOMPARE(ToAnsi(FromAnsi(all)), all);
        QCOMPARE(FromAnsi("\x80\x9F"), QStringLiteral("€Ÿ"));
    }
    void tellsWhichCharactersItHolds()
    {
        int held = 0;
        for (char32_t u = 0; u < 0x10000; ++u)
            held += AnsiHolds(u) ? 1 : 0;
        QCOMPARE(held, 256);
        for (const char32_t u : {U'A', U'\u00f1', U'\u20ac', U'\u201c', U'\u0178', U'\u0081', U'\0'})
            QVERIFY(AnsiHolds(u));
        for (const char32_t u : {U'\u0141', U'\u0151', U'\u4e2d', U'\U0001F600', U'\u0080', U'\u0301'})
            QVERIFY(!AnsiHolds(u));
    }
};

QTEST_APPLESS_MAIN(TestAnsiCodePage)
#include "tst_AnsiCodePage.moc"
