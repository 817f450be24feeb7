// Starting programs through the shell and waiting for them.
#include "Process.h"

#include <QtTest>

class TestWin32Process : public QObject
{
    Q_OBJECT

    QTemporaryDir FDir;
    QString FReport;

    static QString child() { return QStringLiteral(ZEDEDE_TEST_CHILD); }

    QStringList report()
    {
        QFile f(FReport);
        if (!f.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(QFileInfo::exists(child()));
        FReport = FDir.filePath("report.txt");
        qputenv("ZEDEDE_CHILD_REPORT", QDir::toNativeSeparators(FReport).toUtf8());
    }

    void init()
    {
        QFile::remove(FReport);
        SetExecuteWaits(TExecuteWaits());
    }

    void programEndingInTime_reportsItsExitCode()
    {
        const QString dir = QDir::toNativeSeparators(FDir.path());
        TExecuteOutcome outcome;
        QVERIFY(ExecuteAndWait(child(), dir, QStringLiteral("0 0"), outcome));
        QVERIFY(outcome.Started && outcome.Ended && outcome.Exited);
        QVERIFY(outcome.Succeeded());
        // Ending with a failure still ends in time, but does not succeed.
        QVERIFY(ExecuteAndWait(child(), dir, QStringLiteral("0 3"), outcome));
        QCOMPARE(outcome.ExitCode, 3);
        QVERIFY(!outcome.Succeeded());
    }

    void parameterLineAndFolder_reachTheProgramAsGiven()
    {
        const QString dir = QDir::toNativeSeparators(FDir.path());
        const QString line =
            QStringLiteral("0 0 -out \"C:\\Mis certificados\\Privada_Compañía.key\" 4096");
        QVERIFY(ExecuteAndWait(child(), dir, line));
        const QStringList r = report();
        QCOMPARE(r.size(), 2 + 5);
        QCOMPARE(QDir::toNativeSeparators(r.at(0)).toLower(), dir.toLower());
        QVERIFY2(r.at(1).endsWith(line), qPrintable(r.at(1)));
        QCOMPARE(r.at(5), QStringLiteral("[C:\\Mis certificados\\Privada_Compañía.key]"));
    }

    void secondWait_catchesASlowerProgram()
    {
        SetExecuteWaits({100, 5000});
        TExecuteOutcome outcome;
        QVERIFY(ExecuteAndWait(child(), FDir.path(), QStringLiteral("600 7"), outcome));
        QCOMPARE(outcome.ExitCode, 7);
    }

    void programOutlastingBothWaits_isLeftRunning()
    {
        SetExecuteWaits({100, 300});
        QElapsedTimer t;
        t.start();
        TExecuteOutcome outcome;
        QVERIFY(!ExecuteAndWait(child(), FDir.path(), QStringLiteral("3000 0"), outcome));
        QVERIFY(outcome.Started);
        QVERIFY(!outcome.Ended);
        QVERIFY(t.elapsed() < 2500);
        // It goes on and finishes its work.
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(FReport), 10000);
    }

    void startRefused_isFalse()
    {
        TExecuteOutcome outcome;
        QVERIFY(!ExecuteAndWait(FDir.filePath("missing.exe"), FDir.path(), QString(), outcome));
        QVERIFY(!outcome.Started);
    }

    void splitCommandLine_followsTheSystem()
    {
        QCOMPARE(SplitCommandLine(QStringLiteral("a \"b c\" d\\\"e \"f\\\\\" g")),
                 QStringList({"a", "b c", "d\"e", "f\\", "g"}));
        for (const QString &arg : {QStringLiteral("C:\\a b\\"), QStringLiteral("x\"y"),
                                   QStringLiteral("")})
            QCOMPARE(SplitCommandLine(QuoteArgument(arg)), QStringList{arg});
    }

    void readProgramOutput_capturesStandardOutput()
    {
        QByteArray out;
        QVERIFY(ReadProgramOutput(QStringLiteral("C:\\windows\\system32\\cmd.exe"), FDir.path(),
                                  QStringLiteral("/c echo hola"), 10000, out));
        QCOMPARE(out.trimmed(), QByteArray("hola"));
        QVERIFY(!ReadProgramOutput(child(), FDir.path(), QStringLiteral("0 2"), 10000, out));
    }
};

QTEST_GUILESS_MAIN(TestWin32Process)
#include "tst_Win32Process.moc"
