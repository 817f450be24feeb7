// Starting programs through the shell or directly, waiting for them, their
// output and stopping them with what they started.
#include "Process.h"

#include <QtTest>

class TestWin32Process : public QObject
{
    Q_OBJECT

    QTemporaryDir FDir;
    QString FReport;

    static QString child() { return QStringLiteral(ZEDEDE_TEST_CHILD); }

    // Started by the shell, as an installer is.
    static TExecuteOptions shell()
    {
        TExecuteOptions o;
        o.ThroughShell = true;
        return o;
    }

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
        for (const bool throughShell : {true, false}) {
            TExecuteOptions options;
            options.ThroughShell = throughShell;
            QVERIFY(ExecuteAndWait(child(), dir, QStringLiteral("0 0"), options, outcome));
            QVERIFY(outcome.Started && outcome.Ended && outcome.Exited);
            QVERIFY(outcome.Succeeded());
            // Ending with a failure still ends in time, but does not succeed.
            QVERIFY(ExecuteAndWait(child(), dir, QStringLiteral("0 3"), options, outcome));
            QCOMPARE(outcome.ExitCode, 3);
            QVERIFY(!outcome.Succeeded());
        }
    }

    void parameterLineAndFolder_reachTheProgramAsGiven()
    {
        const QString dir = QDir::toNativeSeparators(FDir.path());
        const QString line =
            QStringLiteral("0 0 -out \"C:\\Mis certificados\\Privada_Compañía.key\" 4096");
        for (const bool throughShell : {true, false}) {
            QFile::remove(FReport);
            TExecuteOptions options;
            options.ThroughShell = throughShell;
            TExecuteOutcome outcome;
            QVERIFY(ExecuteAndWait(child(), dir, line, options, outcome));
            const QStringList r = report();
            QCOMPARE(r.size(), 2 + 5);
            QCOMPARE(QDir::toNativeSeparators(r.at(0)).toLower(), dir.toLower());
            QVERIFY2(r.at(1).endsWith(line), qPrintable(r.at(1)));
            QCOMPARE(r.at(5), QStringLiteral("[C:\\Mis certificados\\Privada_Compañía.key]"));
        }
    }

    void secondWait_catchesASlowerProgram()
    {
        SetExecuteWaits({100, 5000});
        TExecuteOutcome outcome;
        QVERIFY(ExecuteAndWait(child(), FDir.path(), QStringLiteral("600 7"), shell(), outcome));
        QCOMPARE(outcome.ExitCode, 7);
    }

    void programOutlastingBothWaits_isLeftRunning()
    {
        SetExecuteWaits({100, 300});
        QElapsedTimer t;
        t.start();
        TExecuteOutcome outcome;
        QVERIFY(!ExecuteAndWait(child(), FDir.path(), QStringLiteral("3000 0"), shell(), outcome));
        QVERIFY(outcome.Started);
        QVERIFY(!outcome.Ended);
        QVERIFY(t.elapsed() < 2500);
        // It goes on and finishes its work.
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(FReport), 10000);
    }

    void startRefused_isFalse()
    {
        TExecuteOutcome outcome;
        for (const bool throughShell : {true, false}) {
            TExecuteOptions options;
            options.ThroughShell = throughShell;
            QVERIFY(!ExecuteAndWait(FDir.filePath("missing.exe"), FDir.path(), QString(), options,
                                    outcome));
            QVERIFY(!outcome.Started);
            QVERIFY(!outcome.StartError.isEmpty());
        }
    }

    void startedDirectly_outputAndErrorKeptInputEmpty()
    {
        TExecuteOptions options;
        TExecuteOutcome outcome;
        QVERIFY(ExecuteAndWait(child(), FDir.path(), QStringLiteral("0 4 talk"), options, outcome));
        QCOMPARE(outcome.ExitCode, 4);
        QVERIFY2(outcome.Output.contains("a la salida\n"), outcome.Output.constData());
        QVERIFY2(outcome.Output.contains("al error\n"), outcome.Output.constData());
        QVERIFY2(outcome.Output.contains("entrada: 0\n"), outcome.Output.constData());
        // Without the errors only the standard output is kept.
        options.KeepErrors = false;
        QVERIFY(ExecuteAndWait(child(), FDir.path(), QStringLiteral("0 0 talk"), options, outcome));
        QVERIFY(outcome.Output.contains("a la salida"));
        QVERIFY(!outcome.Output.contains("al error"));
    }

    void longOutput_neverBlocksAndKeepsItsEnd()
    {
        TExecuteOptions options;
        options.OutputLimit = 1000;
        options.TimeLimit = 20000;
        TExecuteOutcome outcome;
        QVERIFY(ExecuteAndWait(child(), FDir.path(), QStringLiteral("0 0 flood"), options, outcome));
        QVERIFY(outcome.Succeeded());
        QVERIFY(outcome.OutputCut);
        QCOMPARE(outcome.Output.size(), 1000);
        QVERIFY(outcome.Output.endsWith("fin\n"));
    }

    void stoppedWhenAbandoned_withWhatItStarted()
    {
        // The program starts a copy of itself; both sleep 2 s, the copy then
        // leaves a mark. Stopping at the limit must stop both.
        const QString late = FReport + QStringLiteral(".late");
        QFile::remove(late);
        TExecuteOptions options;
        options.StopIfAbandoned = true;
        options.TimeLimit = 300;
        TExecuteOutcome outcome;
        QElapsedTimer t;
        t.start();
        QVERIFY(!ExecuteAndWait(child(), FDir.path(), QStringLiteral("2000 0 spawn"), options,
                                outcome));
        QVERIFY(outcome.Started);
        QVERIFY(!outcome.Ended);
        QVERIFY(outcome.Stopped);
        QVERIFY(t.elapsed() < 1800);
        QTest::qWait(3500);
        QVERIFY2(!QFileInfo::exists(late), "the started copy outlived the stop");

        // Not to be stopped: the copy goes on and leaves its mark.
        options.StopIfAbandoned = false;
        QVERIFY(!ExecuteAndWait(child(), FDir.path(), QStringLiteral("2000 0 spawn"), options,
                                outcome));
        QVERIFY(!outcome.Stopped);
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(late), 10000);
    }

    void aRunnerCanCancelTheWait()
    {
        struct TCancelling : TWaitRunner
        {
            bool Ran = false;
            void Run(const std::function<void()> &Wait) override
            {
                Ran = true;
                Wait();
            }
            bool Cancelled() const override { return true; }
        } runner;
        TWaitRunner *previous = SetWaitRunner(&runner);
        TExecuteOptions options;
        options.StopIfAbandoned = true;
        TExecuteOutcome outcome;
        QElapsedTimer t;
        t.start();
        const bool ended = ExecuteAndWait(child(), FDir.path(), QStringLiteral("5000 0"), options,
                                          outcome);
        SetWaitRunner(previous);
        QVERIFY(runner.Ran);
        QVERIFY(!ended);
        QVERIFY(outcome.Cancelled);
        QVERIFY(outcome.Stopped);
        QVERIFY(t.elapsed() < 4000);
    }

    void bareName_foundOnThePathOnly()
    {
        // cmd.exe is on the system's PATH.
        TExecuteOutcome outcome;
        QVERIFY(ExecuteAndWait(QStringLiteral("cmd"), FDir.path(), QStringLiteral("/c exit 5"),
                               TExecuteOptions(), outcome));
        QCOMPARE(outcome.ExitCode, 5);
        // A program in the working folder is not taken for a bare name.
        QVERIFY(QFile::copy(child(), FDir.filePath("zededechild.exe")));
        QVERIFY(!ExecuteAndWait(QStringLiteral("zededechild"), FDir.path(), QStringLiteral("0 0"),
                                TExecuteOptions(), outcome));
        QVERIFY(!outcome.Started);
        // A path without ".exe" names the program file.
        const QString noSuffix = FDir.filePath("zededechild");
        QVERIFY(ExecuteAndWait(noSuffix, FDir.path(), QStringLiteral("0 6"), TExecuteOptions(),
                               outcome));
        QCOMPARE(outcome.ExitCode, 6);
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
