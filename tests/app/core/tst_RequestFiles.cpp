#include "RequestFiles.h"
#include "AppTestSupport.h"

#include "Exception.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#ifndef Q_OS_WIN
#include <sys/file.h>
#include <sys/stat.h>
#endif

namespace {

QByteArray ReadFile(const QString &Path)
{
    QFile f(Path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void WriteFile(const QString &Path, const QByteArray &Bytes)
{
    QDir().mkpath(QFileInfo(Path).path());
    QFile f(Path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(Bytes);
}

#ifndef Q_OS_WIN
mode_t Mode(const QString &Path)
{
    struct stat st {};
    return ::lstat(QFile::encodeName(Path).constData(), &st) == 0 ? (st.st_mode & 07777) : 0;
}
#endif

} // namespace

class TestRequestFiles : public QObject
{
    Q_OBJECT
    QTemporaryDir FHome;

private slots:
    void initTestCase() { QVERIFY(FHome.isValid()); }

    void savesBytesReplacingOrAppending()
    {
        const QString path = FHome.filePath("save/x.txt");
        QDir().mkpath(FHome.filePath("save"));
        SaveBytesToFile(path, "first", false);
        SaveBytesToFile(path, "2", false);
        QCOMPARE(ReadFile(path), QByteArray("2"));
        SaveBytesToFile(path, "+3", true);
        QCOMPARE(ReadFile(path), QByteArray("2+3"));
        SaveBytesToFile(path, QByteArray(), false);
        QVERIFY(QFileInfo::exists(path));
        QCOMPARE(ReadFile(path), QByteArray());
        SaveBytesToFile(FHome.filePath("save/new.txt"), "n", true); // absent: created
        QCOMPARE(ReadFile(FHome.filePath("save/new.txt")), QByteArray("n"));

        QFile holder(path);
        QVERIFY(holder.open(QIODevice::ReadWrite));
#ifndef Q_OS_WIN
        // (On Windows the open file alone is busy for an exclusive append.)
        QCOMPARE(::flock(holder.handle(), LOCK_EX | LOCK_NB), 0);
#endif
        QVERIFY_THROWS_EXCEPTION(Exception, SaveBytesToFile(path, "x", true));
        holder.close();

        const QString nowhere = FHome.filePath("save/no/dir.txt");
        try {
            SaveBytesToFile(nowhere, "x", false);
            QFAIL("no error");
        } catch (const Exception &e) {
            QCOMPARE(e.Message(), "Cannot create file \"" + nowhere
                                      + "\". El sistema no puede encontrar la ruta especificada.");
        }
    }

    void keptFilesNeverOverwriteEachOther()
    {
        const QString file = FHome.filePath("keep/Privada_X.key");
        const QDateTime stamp(QDate(2026, 12, 9), QTime(10, 15, 42));
        QCOMPARE(KeepExistingFile(file, stamp), QString());
        WriteFile(file, "one");
        QCOMPARE(KeepExistingFile(file, stamp), file + ".20261209-101542.bak");
        WriteFile(file, "two");
        QCOMPARE(KeepExistingFile(file, stamp), file + ".20261209-101542-2.bak");
        QCOMPARE(ReadFile(file + ".20261209-101542.bak"), QByteArray("one"));
        QCOMPARE(ReadFile(file + ".20261209-101542-2.bak"), QByteArray("two"));
        QVERIFY(!QFileInfo::exists(file));
    }
    void placingUndoesItselfWhenAMoveFails()
    {
        const QString dir = FHome.filePath("placing");
        QDir().mkpath(dir);
        WriteFile(dir + "/a.key", "old a");
        WriteFile(dir + "/c.txt", "old c");
        WriteFile(dir + "/a.new", "new a");
        WriteFile(dir + "/b.new", "new b");
        // c.new is missing: its move fails after a and b have moved.
        try {
            PlaceNewFiles({{dir + "/a.new", dir + "/a.key"},
                           {dir + "/b.new", dir + "/b.req"},
                           {dir + "/c.new", dir + "/c.txt"}});
            QFAIL("no error");
        } catch (const Exception &e) {
            // The system's reason: "la ruta" on Linux, "el archivo" on Windows.
            QVERIFY2(e.Message().startsWith("Cannot create file \"" + dir
                                            + "/c.txt\". El sistema no puede encontrar "),
                     qPrintable(e.Message()));
        }
        // The earlier files are back; the new ones that had moved are gone.
        QCOMPARE(FolderEntries(dir), (QStringList{"a.key", "c.txt"}));
        QCOMPARE(ReadFile(dir + "/a.key"), QByteArray("old a"));
        QCOMPARE(ReadFile(dir + "/c.txt"), QByteArray("old c"));

        WriteFile(dir + "/a.new", "new a");
        WriteFile(dir + "/b.new", "new b");
        WriteFile(dir + "/c.new", "new c");
        const QStringList kept = PlaceNewFiles({{dir + "/a.new", dir + "/a.key"},
                                                {dir + "/b.new", dir + "/b.req"},
                                                {dir + "/c.new", dir + "/c.txt"}});
        QCOMPARE(kept.size(), 2);
        QCOMPARE(ReadFile(kept[0]), QByteArray("old a"));
        QCOMPARE(ReadFile(kept[1]), QByteArray("old c"));
        QCOMPARE(ReadFile(dir + "/b.req"), QByteArray("new b"));
        QCOMPARE(ReadFile(dir + "/c.txt"), QByteArray("new c"));
    }

    void newPrivateFilesAreNewOwnerOnlyAndNeverThroughALink()
    {
#ifdef Q_OS_WIN
        QSKIP("Unix file modes, the umask and symbolic links; on Windows the folder's "
              "permissions apply");
#else
        const QString dir = FHome.filePath("private");
        QDir().mkpath(dir);
        const mode_t old = ::umask(0);
        QVERIFY(WriteNewPrivateFile(dir + "/a", "secret"));
        ::umask(old);
        QCOMPARE(ReadFile(dir + "/a"), QByteArray("secret"));
        QCOMPARE(Mode(dir + "/a"), mode_t(0600));
        QVERIFY(!WriteNewPrivateFile(dir + "/a", "again")); // exists: not replaced
        QCOMPARE(ReadFile(dir + "/a"), QByteArray("secret"));
        QVERIFY(QFile::link(dir + "/target", dir + "/link"));
        QVERIFY(!WriteNewPrivateFile(dir + "/link", "x"));
        QVERIFY(!QFileInfo::exists(dir + "/target"));

        WriteFile(dir + "/open", "o");
        QFile::setPermissions(dir + "/open", QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther);
        MakePrivate(dir + "/open");
        QCOMPARE(Mode(dir + "/open"), mode_t(0600));
        {
            TTemporaryFiles temporary;
            temporary.Add(dir + "/open");
            const QString name = temporary.Add(TemporaryName(dir + "/a"));
            QVERIFY(name.startsWith(dir + "/a.") && name.endsWith(".tmp"));
            QVERIFY(WriteNewPrivateFile(name, "t"));
            temporary.Keep(name);
        }
        QVERIFY(!QFileInfo::exists(dir + "/open"));
        QCOMPARE(FolderEntries(dir).size(), 3); // a, link and the kept temporary
#endif
    }
};

QTEST_GUILESS_MAIN(TestRequestFiles)
#include "tst_RequestFiles.moc"
