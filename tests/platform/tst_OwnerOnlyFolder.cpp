// Owner-only folders on file modes.
#include "FileWrite.h"

#include <QtTest>

#include <sys/stat.h>

namespace {

int ModeOf(const QString &Path)
{
    struct stat st {};
    return ::lstat(QFile::encodeName(Path).constData(), &st) == 0 ? int(st.st_mode & 07777) : -1;
}

} // namespace

class TestOwnerOnlyFolder : public QObject
{
    Q_OBJECT

    QTemporaryDir FDir;

private slots:
    void newAndExistingFolders_becomeOwnerOnly()
    {
        const QString folder = FDir.filePath(QStringLiteral("Renovación/Anteriores"));
        TFileError error;
        QVERIFY(CreateOwnerOnlyFolder(folder, error));
        QCOMPARE(ModeOf(folder), 0700);
        // The parent is made as usual (the process's umask).
        QVERIFY(QFileInfo(FDir.filePath(QStringLiteral("Renovación"))).isDir());
        QVERIFY(ModeOf(FDir.filePath(QStringLiteral("Renovación"))) != -1);

        const QString existing = FDir.filePath(QStringLiteral("existente"));
        QVERIFY(QDir().mkpath(existing));
        QCOMPARE(::chmod(QFile::encodeName(existing).constData(), 0777), 0);
        QVERIFY(CreateOwnerOnlyFolder(existing + QLatin1Char('/'), error));
        QCOMPARE(ModeOf(existing), 0700);
    }

    void aLinkOrAFileInItsPlace_isAFailure()
    {
        const QString target = FDir.filePath(QStringLiteral("destino"));
        QVERIFY(QDir().mkpath(target));
        QCOMPARE(::chmod(QFile::encodeName(target).constData(), 0755), 0);
        const QString link = FDir.filePath(QStringLiteral("enlace"));
        QVERIFY(QFile::link(target, link));
        TFileError error;
        QVERIFY(!CreateOwnerOnlyFolder(link, error));
        QVERIFY(!error.Reason().isEmpty());
        QCOMPARE(ModeOf(target), 0755);

        const QString file = FDir.filePath(QStringLiteral("archivo"));
        QVERIFY(CreateNewFile(file, "x", false, error));
        QVERIFY(!CreateOwnerOnlyFolder(file, error));
    }
};

QTEST_GUILESS_MAIN(TestOwnerOnlyFolder)
#include "tst_OwnerOnlyFolder.moc"
