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
};

QTEST_APPLESS_MAIN(TestAnsiCodePage)
#include "tst_AnsiCodePage.moc"
