#include "Process.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <thread>

#include <sys/stat.h>

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

    // True while the process exists and has not ended (an ended process
    // whose parent is gone may stay a zombie until the system reaps it).
    static bool running(const QByteArray &Pid)
    {
        QFile stat("/proc/" + Pid + "/stat");
        if (!stat.open(QIODevice::ReadOnly))
            return false;
        const QByteArray s = stat.readAll();
        const int close = s.lastIndexOf(')');
        return close > 0 && s.size() > close + 2 && s.at(close + 2) != 'Z';
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

    void childGetsArgumentsDirectoryAndKeepsItsOutput()
    {
        const QString out = FDir.filePath("args.txt");
        const QString prog = script("show args",
                                    "printf '%s\\n' \"$@\" > \"$OUT\"\n"
                                    "pwd >> \"$OUT\"\n"
                                    "read line && echo \"stdin: $line\"\n"
                                    "echo 'to stdout'\n"
                                    "echo 'to stderr' >&2\n"
                                    "echo 'stdout again'\n");
        qputenv("OUT", out.toLocal8Bit());
        const QString odd = FDir.filePath("a \"b\" c\\d $HOME;*");
        QDir().mkpath(FDir.filePath("work dir"));
        TExecuteOutcome o;
        QVERIFY(ExecuteAndWait(prog, FDir.filePath("work dir"),
                               "one " + QuoteArgument(odd) + " \"two words\"", o));
        QVERIFY(o.Succeeded());
        const QByteArray expected = "one\n" + odd.toLocal8Bit() + "\ntwo words\n"
                                    + FDir.filePath("work dir").toLocal8Bit() + "\n";
        QCOMPARE(readFile(out), expected);
        // Standard input is empty; output and errors are kept in their order.
        QCOMPARE(o.Output, QByteArray("to stdout\nto stderr\nstdout again\n"));
        QVERIFY(!o.OutputCut);

        TExecuteOptions quiet;
        quiet.KeepErrors = false;
        QVERIFY(ExecuteAndWait(prog, FDir.path(), "", quiet, o));
        QCOMPARE(o.Output, QByteArray("to stdout\nstdout again\n"));
    }

    void keepsOnlyTheLastPartOfALongOutput()
    {
        TExecuteOptions options;
        options.OutputLimit = 1000;
        TExecuteOutcome o;
        // 200 000 lines: far more than a pipe holds, so it must be read while
        // the program runs.
        QVERIFY(ExecuteAndWait(script("chatty", "i=0; while [ $i -lt 20000 ]; do "
                                                "echo \"line $i\"; i=$((i+1)); done\n"
                                                "echo last >&2\n"),
                               FDir.path(), "", options, o));
        QVERIFY(o.Succeeded());
        QCOMPARE(o.Output.size(), 1000);
        QVERIFY(o.OutputCut);
        QVERIFY(o.Output.endsWith("line 19999\nlast\n"));
        QCOMPARE(LastLines(o.Output, 2), QStringLiteral("line 19999\nlast"));
    }

    void lastLinesAreText()
    {
        QCOMPARE(LastLines("a\r\nb\r\n\r\n  \n", 5), QStringLiteral("a\nb"));
        QCOMPARE(LastLines("1\n2\n3\n", 2), QStringLiteral("2\n3"));
        QCOMPARE(LastLines("caf\xc3\xa9", 1), QStringLiteral("café"));
        QCOMPARE(LastLines("caf\xe9", 1), QStringLiteral("café")); // not UTF-8: Latin-1
        QCOMPARE(LastLines(QByteArray(), 3), QString());
    }

    void privateFilesAreOwnerOnly()
    {
        const QString made = FDir.filePath("made");
        qputenv("MADE", made.toLocal8Bit());
        const mode_t old = ::umask(0);
        TExecuteOptions options;
        options.PrivateFiles = true;
        TExecuteOutcome o;
        const bool ran = ExecuteAndWait(script("touch", "echo x > \"$MADE\"\n"), FDir.path(), "",
                                        options, o);
        ::umask(old);
        QVERIFY(ran && o.Succeeded());
        QCOMPARE(QFileInfo(made).permissions(), QFile::ReadOwner | QFile::WriteOwner
                                                    | QFile::ReadUser | QFile::WriteUser);
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
        QCOMPARE(o.StartError, QStringLiteral("No such file or directory"));
        QVERIFY(!ExecuteAndWait("no-such-program-on-path", FDir.path(), "", o));
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

    void stoppedWhenAbandonedWithEverythingItStarted()
    {
        SetExecuteWaits({50, 100});
        const QString pids = FDir.filePath("pids");
        const QString marker = FDir.filePath("late");
        qputenv("PIDS", pids.toLocal8Bit());
        qputenv("MARKER", marker.toLocal8Bit());
        // A program that starts a helper of its own, then hangs.
        const QString prog = script("hangs", "(sleep 0.4; : > \"$MARKER\") &\n"
                                             "echo $$ $! > \"$PIDS\"\n"
                                             "echo started\nsleep 30\n");
        TExecuteOptions options;
        options.StopIfAbandoned = true;
        QElapsedTimer t;
        t.start();
        TExecuteOutcome o;
        QVERIFY(!ExecuteAndWait(prog, FDir.path(), "", options, o));
        QVERIFY(t.elapsed() < 1000);
        QVERIFY(o.Started && !o.Ended && o.Stopped && !o.Cancelled);
        QCOMPARE(o.Output, QByteArray("started\n"));
        const QList<QByteArray> ids = readFile(pids).trimmed().split(' ');
        QCOMPARE(ids.size(), 2);
        for (const QByteArray &id : ids)
            QTRY_VERIFY_WITH_TIMEOUT(!running(id), 2000);
        QTest::qWait(600);
        QVERIFY(!QFile::exists(marker)); // the helper never wrote
    }

    void aRunnerKeepsTheCallerBusyAndCanCancel()
    {
        // Runs waits on another thread while the calling thread counts; gives
        // up once Cancel is set.
        struct TRunner : TWaitRunner
        {
            std::atomic<bool> Cancel{false};
            int Runs = 0;
            int Ticks = 0;
            void Run(const std::function<void()> &Wait) override
            {
                ++Runs;
                std::atomic<bool> done{false};
                std::thread worker([&] {
                    Wait();
                    done = true;
                });
                while (!done) {
                    ++Ticks;
                    if (Ticks == 10)
                        Cancel = true;
                    std::this_thread::sleep_for(std::chrono::milliseconds(10));
                }
                worker.join();
            }
            bool Cancelled() const override { return Cancel; }
        } runner;
        QCOMPARE(SetWaitRunner(&runner), nullptr);
        QCOMPARE(CurrentWaitRunner(), &runner);
        TExecuteOptions options;
        options.StopIfAbandoned = true;
        TExecuteOutcome o;
        QElapsedTimer t;
        t.start();
        const bool ended = ExecuteAndWait(script("long", "sleep 30\n"), FDir.path(), "", options, o);
        SetWaitRunner(nullptr);
        QVERIFY(!ended);
        QVERIFY(o.Cancelled && o.Stopped);
        QCOMPARE(runner.Runs, 1);
        QVERIFY(runner.Ticks >= 10);
        QVERIFY(t.elapsed() < 2000);
    }

    void readsProgramOutput()
    {
        QByteArray out;
        QVERIFY(ReadProgramOutput(script("ver", "echo \"OpenSSL $1\"\n"), FDir.path(),
                                  "\"3.0 x\"", 5000, out));
        QCOMPARE(out, QByteArray("OpenSSL 3.0 x\n"));
        QVERIFY(!ReadProgramOutput(script("bad", "echo no; exit 1\n"), FDir.path(), "", 5000, out));
        QElapsedTimer t;
        t.start();
        QVERIFY(!ReadProgramOutput(script("hang", "sleep 5\n"), FDir.path(), "", 100, out));
        QVERIFY(t.elapsed() < 2000);
        QVERIFY(ReadProgramOutput(script("noisy", "echo err >&2; echo out\n"), FDir.path(), "", 5000, out));
        QCOMPARE(out, QByteArray("out\n"));
        QVERIFY(!ReadProgramOutput(FDir.filePath("missing"), FDir.path(), "", 1000, out));
    }
};

QTEST_GUILESS_MAIN(TestProcess)
#include "tst_Process.moc"
