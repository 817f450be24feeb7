// The check that a program runs only from a file and folder that no one
// else can change, on file modes and owners.
#include "ProgramSafety.h"

#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

class TestProgramSafety : public QObject
{
    Q_OBJECT

    QTemporaryDir FDir;
    QString FFolder;
    QString FProgram;

    static void setMode(const QString &Path, mode_t Mode)
    {
        QCOMPARE(::chmod(QFile::encodeName(Path).constData(), Mode), 0);
    }

private slots:
    void init()
    {
        QVERIFY(FDir.isValid());
        FFolder = FDir.filePath(QStringLiteral("José Núñez/OpenSSL"));
        QVERIFY(QDir().mkpath(FFolder));
        setMode(FFolder, 0755);
        FProgram = FFolder + QStringLiteral("/openssl");
        QFile f(FProgram);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("#!/bin/sh\n");
        f.close();
        setMode(FProgram, 0755);
    }

    void ownFileInOwnFolder_isSafe()
    {
        QCOMPARE(UnsafeProgramReason(FProgram), QString());
        // Read and run rights for others take nothing away.
        setMode(FProgram, 0555);
        setMode(FFolder, 0555);
        QCOMPARE(UnsafeProgramReason(FProgram), QString());
        setMode(FFolder, 0755);
    }

    void writableByOthers_isRefusedNamingThePath_data()
    {
        QTest::addColumn<bool>("folder");
        QTest::addColumn<int>("mode");
        QTest::newRow("program, group") << false << 0775;
        QTest::newRow("program, others") << false << 0757;
        QTest::newRow("folder, others") << true << 0777;
        QTest::newRow("folder, group") << true << 0775;
        QTest::newRow("folder, sticky") << true << 01777;
    }

    void writableByOthers_isRefusedNamingThePath()
    {
        QFETCH(bool, folder);
        QFETCH(int, mode);
        setMode(folder ? FFolder : FProgram, mode_t(mode));
        const QString reason = UnsafeProgramReason(FProgram);
        setMode(folder ? FFolder : FProgram, 0755);
        QVERIFY2(reason.contains(folder ? QStringLiteral("la carpeta %1").arg(FFolder)
                                        : QStringLiteral("el archivo %1").arg(FProgram)),
                 qPrintable(reason));
        QVERIFY2(reason.contains(QStringLiteral("la pueden modificar otros usuarios")),
                 qPrintable(reason));
    }

    void aLink_isJudgedByItsTargetAndItsOwnFolder()
    {
        const QString linkFolder = FDir.filePath(QStringLiteral("bin"));
        QVERIFY(QDir().mkpath(linkFolder));
        setMode(linkFolder, 0755);
        const QString link = linkFolder + QStringLiteral("/openssl");
        QVERIFY(QFile::link(FProgram, link));
        QCOMPARE(UnsafeProgramReason(link), QString());
        // The target in a folder anyone can write.
        setMode(FFolder, 0777);
        QVERIFY(UnsafeProgramReason(link).contains(FFolder));
        setMode(FFolder, 0755);
        // The link in a folder anyone can write: the link can be replaced.
        setMode(linkFolder, 0777);
        QVERIFY(UnsafeProgramReason(link).contains(QStringLiteral("la carpeta %1").arg(linkFolder)));
        setMode(linkFolder, 0755);
    }

    void ownedByAnotherUser_isRefused()
    {
        if (::getuid() != 0)
            QSKIP("giving a file to another user needs root");
        QCOMPARE(::chown(QFile::encodeName(FProgram).constData(), 65534, 65534), 0);
        const QString reason = UnsafeProgramReason(FProgram);
        QVERIFY2(reason.contains(QStringLiteral("pertenece a otro usuario")), qPrintable(reason));
        QCOMPARE(::chown(QFile::encodeName(FProgram).constData(), 0, 0), 0);
        QCOMPARE(::chown(QFile::encodeName(FFolder).constData(), 65534, 65534), 0);
        QVERIFY(UnsafeProgramReason(FProgram).contains(FFolder));
        QCOMPARE(::chown(QFile::encodeName(FFolder).constData(), 0, 0), 0);
    }

    void missingProgram_isRefused()
    {
        QVERIFY(UnsafeProgramReason(FFolder + QStringLiteral("/no-existe")).contains(
            QStringLiteral("no se pudo examinar")));
        QVERIFY(!UnsafeProgramReason(QString()).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestProgramSafety)
#include "tst_ProgramSafety.moc"
