// The destination folder on Windows: openssl.exe reads its command line in
// the system's ANSI code page, so a folder whose name that code page lacks
// a letter of cannot receive its files. The validation refuses such a
// folder, before creating it, and accepts one openssl.exe can write in.
#include "AnsiCodePage.h"
#include "AppTestSupport.h"
#include "DataValidation.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <windows.h>

class TestWin32FolderForOpenSSL : public QObject
{
    Q_OBJECT
    QTemporaryDir FDir;

    // Whether the kit's openssl.exe writes a file into AFolder.
    static bool OpenSSLWritesIn(const QString &AFolder)
    {
        const QString out = QDir::toNativeSeparators(AFolder + QStringLiteral("/azar.bin"));
        QProcess p;
        p.start(qEnvironmentVariable("ZEDEDE_TEST_OPENSSL"),
                {QStringLiteral("rand"), QStringLiteral("-out"), out, QStringLiteral("16")});
        return p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit
               && p.exitCode() == 0 && QFileInfo(out).size() == 16;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(FDir.isValid());
        if (GetACP() != 1252)
            QSKIP("the letters below are chosen for the Windows-1252 code page");
        if (qEnvironmentVariable("ZEDEDE_TEST_OPENSSL").isEmpty())
            QSKIP("no openssl.exe to try the folders with");
    }

    void aFolderTheCodePageHoldsIsAcceptedAndOpenSSLWritesInIt()
    {
        const QString folder = FDir.filePath(QStringLiteral("José Núñez/Mis certificados"));
        QCOMPARE(CharacterProgramsLose(folder), char32_t(0));
        QCOMPARE(QDir::fromNativeSeparators(ValidateRequestData(SampleRequestData(folder))),
                 folder);
        QVERIFY(OpenSSLWritesIn(folder));
    }

    void aFolderWithALetterTheCodePageLacksIsRefusedBeforeItIsMade()
    {
        // What openssl.exe does with such a folder: it cannot write there.
        const QString made = FDir.filePath(QStringLiteral("Łukasz"));
        QVERIFY(QDir().mkpath(made));
        QVERIFY(!OpenSSLWritesIn(made));

        const QString folder = FDir.filePath(QStringLiteral("Łukasz/Mis certificados"));
        QCOMPARE(CharacterProgramsLose(folder), char32_t(U'Ł'));
        TDataField focused = TDataField::None;
        try {
            ValidateRequestData(SampleRequestData(folder), [&](TDataField f) { focused = f; });
            QFAIL("the folder was accepted");
        } catch (const EDataError &e) {
            QCOMPARE(e.Field(), TDataField::Carpeta);
            QCOMPARE(focused, TDataField::Carpeta);
            QVERIFY2(e.Message().contains(QStringLiteral("«Ł» (U+0141), que OpenSSL no puede usar")),
                     qPrintable(e.Message()));
        }
        QVERIFY(!QFileInfo::exists(folder));
        // A best fit would name another file: "ő" is not taken as "o".
        QCOMPARE(CharacterProgramsLose(QStringLiteral("C:\\Őrség")), char32_t(U'Ő'));
    }
};

QTEST_GUILESS_MAIN(TestWin32FolderForOpenSSL)
#include "tst_Win32FolderForOpenSSL.moc"
