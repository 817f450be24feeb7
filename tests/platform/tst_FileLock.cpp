#include "FileLock.h"
#include "ProgramSafety.h"
#include "Process.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

#include <sys/stat.h>
#include <unistd.h>

class TestFileLock : public QObject
{
    Q_OBJECT
    QTemporaryDir FDir;

private slots:
    void aLockIsExclusiveAndGoesWithItsHolder()
    {
        const QString file = FDir.filePath("uno.lock");
        QString error;
        {
            TLockFile first;
            QCOMPARE(first.TryLock(file, error), TLockResult::Locked);
            struct stat st {};
            QVERIFY(::stat(QFile::encodeName(file).constData(), &st) == 0);
            QCOMPARE(st.st_mode & 0777, mode_t(0600));
            TLockFile second;
            QCOMPARE(second.TryLock(file, error), TLockResult::Busy);
            QVERIFY(!second.Locked());
            first.Unlock();
            QCOMPARE(second.TryLock(file, error), TLockResult::Locked);
        }
        // A lock file that cannot be made is a failure with the reason.
        TLockFile nowhere;
        QCOMPARE(nowhere.TryLock(FDir.filePath("no/existe.lock"), error), TLockResult::Failed);
        QVERIFY(!error.isEmpty());
        // A link at the name is not followed.
        const QString link = FDir.filePath("link.lock");
        QVERIFY(QFile::link(FDir.filePath("target"), link));
        QCOMPARE(nowhere.TryLock(link, error), TLockResult::Failed);
        QVERIFY(!QFile::exists(FDir.filePath("target")));
    }

    void aKilledHolderLeavesNoLockBehind()
    {
        const QString file = FDir.filePath("dos.lock");
        QProcess holder;
        // "-o": the lock stays with flock itself, not with the cat it runs
        // (which ends when its input is closed).
        holder.start("flock", {"-o", file, "cat"});
        QVERIFY(holder.waitForStarted());
        TLockFile mine;
        QString error;
        QTRY_VERIFY_WITH_TIMEOUT(mine.TryLock(file, error) == TLockResult::Busy, 5000);
        ::kill(static_cast<pid_t>(holder.processId()), SIGKILL);
        QVERIFY(holder.waitForFinished(5000));
        holder.closeWriteChannel();
        QTRY_VERIFY_WITH_TIMEOUT(mine.TryLock(file, error) == TLockResult::Locked, 5000);
    }

    void processAliveTellsRunningFromGone()
    {
        QVERIFY(ProcessAlive(QCoreApplication::applicationPid()));
        QProcess p;
        p.start("true");
        QVERIFY(p.waitForFinished(5000));
        QVERIFY(!ProcessAlive(p.processId()));
        QVERIFY(!ProcessAlive(0));
    }

    void programsOthersCouldChangeAreUnsafe()
    {
        const QString dir = FDir.filePath("bin");
        QVERIFY(QDir().mkpath(dir));
        const QString program = dir + "/prog";
        QFile f(program);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.close();
        QVERIFY(::chmod(QFile::encodeName(program).constData(), 0755) == 0);
        QVERIFY(::chmod(QFile::encodeName(dir).constData(), 0755) == 0);
        QCOMPARE(UnsafeProgramReason(program), QString());
        QCOMPARE(UnsafeProgramReason("/bin/sh"), QString());

        QVERIFY(::chmod(QFile::encodeName(program).constData(), 0757) == 0);
        QCOMPARE(UnsafeProgramReason(program),
                 "el archivo " + program + " la pueden modificar otros usuarios (permisos 0757)");
        QVERIFY(::chmod(QFile::encodeName(program).constData(), 0755) == 0);
        QVERIFY(::chmod(QFile::encodeName(dir).constData(), 01777) == 0);
        // Sticky or not, the program's own folder may not be open to others.
        QCOMPARE(UnsafeProgramReason(program),
                 "la carpeta " + dir + " la pueden modificar otros usuarios (permisos 1777)");
        QVERIFY(::chmod(QFile::encodeName(dir).constData(), 0755) == 0);

        // Through a relative link in a folder open to all.
        const QString open = FDir.filePath("abierta");
        QVERIFY(QDir().mkpath(open));
        QVERIFY(::chmod(QFile::encodeName(open).constData(), 0777) == 0);
        QVERIFY(QFile::link("../bin/prog", open + "/prog"));
        const QString safe = FDir.filePath("segura");
        QVERIFY(QDir().mkpath(safe));
        QVERIFY(QFile::link(open + "/prog", safe + "/prog"));
        QCOMPARE(UnsafeProgramReason(safe + "/prog"),
                 "la carpeta " + open + " la pueden modificar otros usuarios (permisos 0777)");
        QVERIFY(UnsafeProgramReason(dir).contains("no es un archivo"));
    }
};

QTEST_GUILESS_MAIN(TestFileLock)
#include "tst_FileLock.moc"
