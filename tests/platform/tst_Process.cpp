#include "Process.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestProcess : public QObject
{
    Q_OBJECT
    QTemporaryDir FDir;

    // A shell script at Name with Body, runnable.
    QString script(const QString &Name, const QByteArray &Body)
    {
        const QString path = FDir.filePath(Name);
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return QString();
        f.write("#!/bin/sh\n" + Body);
        f.close();
        f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return path;
    }

    QByteArray readFile(const QString &Path)
    {
        QFile f(Path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

private slots:
    void initTestCase() { QVERIFY(FDir.isValid()); }
    void cleanup() { SetExecuteWaits(TExecuteWaits()); }

    void splitsLikeWindows_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QStringList>("args");
        QTest::newRow("blanks") << "  a \t b  " << QStringList{"a", "b"};
        QTest::newRow("quoted blank") << "genrsa -out \"/tmp/a b/k.key\" 4096"
                                      << QStringList{"genrsa", "-out", "/tmp/a b/k.key", "4096"};
        QTest::newRow("empty quoted") << "a \"\" b" << QStringList{"a", "", "b"};
        QTest::newRow("literal backslashes") << "a\\b c\\\\d" << QStringList{"a\\b", "c\\\\d"};
        QTest::newRow("escaped quote") << "a\\\"b" << QStringList{"a\"b"};
        QTest::newRow("even backslashes before quote") << "\"a\\\\\" b" << QStringList{"a\\", "b"};
        QTest::newRow("odd backslashes before quote") << "\"a\\\\\\\" b\"" << QStringList{"a\\\" b"};
        QTest::newRow("doubled quote inside quotes") << "\"a\"\"b\" c" << QStringList{"a\"b", "c"};
        QTest::newRow("quote joins halves") << "x\"y z\"w" << QStringList{"xy zw"};
        QTest::newRow("nothing") << "" << QStringList{};
    }
    void splitsLikeWindows()
    {
        QFETCH(QString, line);
        QFETCH(QStringList, args);
        QCOMPARE(SplitCommandLine(line), args);
    }

    void quotedArgumentsSplitBackUnchanged()
    {
        const QStringList samples{"plain", "with blank", "quo\"te", "trail\\",
                                  "back\\\\\"slash\"", "\\\\server\\share\\", "", "\"",
                                  "/tmp/dest \"q\" dir/Privada_X.key"};
        for (const QString &s : samples) {
            QCOMPARE(SplitCommandLine("x " + QuoteArgument(s) + " y"), (QStringList{"x", s, "y"}));
        }
        QCOMPARE(QuoteArgument("/tmp/a b/k.key"), QStringLiteral("\"/tmp/a b/k.key\""));
    }

    void childGetsArgumentsDirectoryAndNoVisibleOutput()
    {
        const QString out = FDir.filePath("args.txt");
        const QString prog = script("show args",
                                    "stdout=$(readlink /proc/$$/fd/1)\n"
                                    "printf '%s\\n' \"$@\" > \"$OUT\"\n"
                                    "pwd >> \"$OUT\"\n"
                                    "echo \"$stdout\" >> \"$OUT\"\n"
                                    "echo 'visible?'\n");
        qputenv("OUT", out.toLocal8Bit());
        const QString odd = FDir.filePath("a \"b\" c\\d $HOME;*");
        QDir().mkpath(FDir.filePath("work dir"));
        TExecuteOutcome o;
        QVERIFY(ExecuteAndWait(prog, FDir.filePath("work dir"),
                               "one " + QuoteArgument(odd) + " \"two words\"", o));
        QVERIFY(o.Succeeded());
        const QByteArray expected = "one\n" + odd.toLocal8Bit() + "\ntwo words\n"
                                    + FDir.filePath("work dir").toLocal8Bit() + "\n/dev/null\n";
        QCOMPARE(readFile(out), expected);
    }

    void reportsTheExitStatusButKeepsTheBooleanContract()
    {
        TExecuteOutcome o;
        QVERIFY(ExecuteAndWait(script("exit3", "exit 3\n"), FDir.path(), "", o));
        QVERIFY(o.Started && o.Ended && o.Exited);
        QCOMPARE(o.ExitCode, 3);
        QVERIFY(!o.Succeeded());

        QVERIFY(ExecuteAndWait(script("killed", "kill -9 $$\n"), FDir.path(), "", o));
        QVERIFY(o.Ended);
        QVERIFY(!o.Exited);
        QVERIFY(!o.Succeeded());
    }

    void programsThatCannotStartGiveFalse()
    {
        TExecuteOutcome o;
        QVERIFY(!ExecuteAndWait(FDir.filePath("missing"), FDir.path(), "", o));
        QVERIFY(!o.Started);
        const QString plain = FDir.filePath("not-executable");
        QFile f(plain);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("#!/bin/sh\nexit 0\n");
        f.close();
        f.setPermissions(QFile::ReadOwner | QFile::WriteOwner);
        QVERIFY(!ExecuteAndWait(plain, FDir.path(), ""));
        QVERIFY(!ExecuteAndWait(script("ok", "exit 0\n"), FDir.filePath("no such dir"), ""));
        QVERIFY(!ExecuteAndWait(QString(), FDir.path(), ""));
    }

    void endingDuringTheSecondWaitCounts()
    {
        SetExecuteWaits({50, 5000});
        TExecuteOutcome o;
        QVERIFY(ExecuteAndWait(script("slowish", "sleep 0.3\nexit 0\n"), FDir.path(), "", o));
        QVERIFY(o.Succeeded());
    }

    void stillRunningAfterBothWaitsIsLeftRunning()
    {
        SetExecuteWaits({50, 100});
        const QString marker = FDir.filePath("finished");
        const QString pidFile = FDir.filePath("pid");
        qputenv("MARKER", marker.toLocal8Bit());
        qputenv("PIDFILE", pidFile.toLocal8Bit());
        const QString prog = script("slow", "echo $$ > \"$PIDFILE\"\nsleep 1\n"
                                            ": > \"$MARKER\"\n");
        QElapsedTimer t;
        t.start();
        TExecuteOutcome o;
        QVERIFY(!ExecuteAndWait(prog, FDir.path(), "", o));
        QVERIFY(o.Started);
        QVERIFY(!o.Ended);
        QVERIFY(t.elapsed() < 900);
        QVERIFY(!QFile::exists(marker));
        // It goes on, ends by itself, and is reaped.
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(marker), 5000);
        const QByteArray pid = readFile(pidFile).trimmed();
        QVERIFY(!pid.isEmpty());
        QTRY_VERIFY_WITH_TIMEOUT(!QFile::exists("/proc/" + pid), 5000);
    }

    void readsProgramOutput()
    {
        QByteArray out;
        QVERIFY(ReadProgramOutput(script("ver", "echo \"OpenSSL $1\"\n"), FDir.path(),
                                  "\"3.0 x\"", 5000, out));
        QCOMPARE(out, QByteArray("OpenSSL 3.0 x\n"));
        QVERIFY(!ReadProgramOutput(script("bad", "echo no; exit 1\n"), FDir.path(), "", 5000, out));
        QVERIFY(!ReadProgramOutput(script("hang", "sleep 5\n"), FDir.path(), "", 100, out));
        QVERIFY(!ReadProgramOutput(FDir.filePath("missing"), FDir.path(), "", 1000, out));
    }
};

QTEST_GUILESS_MAIN(TestProcess)
#include "tst_Process.moc"
