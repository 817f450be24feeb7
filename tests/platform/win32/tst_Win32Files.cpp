// Drive types, exclusive appends, file writing, code page, version
// resource and the version query, on the system's own services.
#include "AnsiCodePage.h"
#include "DriveType.h"
#include "FileLock.h"
#include "FileWrite.h"
#include "Paths.h"
#include "ProfileFile.h"
#include "SystemQueries.h"
#include "VersionBlock.h"
#include "VersionFile.h"

#include <QtTest>

#include <windows.h>

class TestWin32Files : public QObject
{
    Q_OBJECT

    QTemporaryDir FDir;

    static QByteArray readAll(const QString &Path)
    {
        QFile f(Path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    static void writeAll(const QString &Path, const QByteArray &Bytes)
    {
        QFile f(Path);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(Bytes);
    }

private slots:
    void driveTypes()
    {
        QCOMPARE(DriveTypeOfPath(QStringLiteral("C:\\windows")), TDriveType::Fixed);
        QCOMPARE(DriveTypeOfPath(QStringLiteral("C:")), TDriveType::Fixed);
        QCOMPARE(DriveTypeOfPath(QString()), TDriveType::NoRootDir);
        QCOMPARE(DriveTypeOfPath(QStringLiteral("\\\\servidor\\recurso")), TDriveType::NoRootDir);
        // A drive letter that names no drive.
        QCOMPARE(DriveTypeOfPath(QStringLiteral("Q:\\datos")), TDriveType::NoRootDir);
    }

    void paths()
    {
        QCOMPARE(PathDelimiter(), QLatin1Char('\\'));
        QCOMPARE(DirectoryPart("C:\\OpenSSL\\bin\\openssl.cnf"), QStringLiteral("C:\\OpenSSL\\bin\\"));
        QCOMPARE(DirectoryPart("C:/OpenSSL/bin/openssl.cnf"), QStringLiteral("C:"));
        QCOMPARE(DirectoryPart("openssl.cnf"), QString());
        QCOMPARE(IncludeTrailingDelimiter("C:\\x"), QStringLiteral("C:\\x\\"));
        QCOMPARE(IncludeTrailingDelimiter("C:\\x\\"), QStringLiteral("C:\\x\\"));
        QCOMPARE(ProgramFileName("openssl"), QStringLiteral("openssl.exe"));
    }

    void exclusiveAppend_isRefusedWhileHeld()
    {
        const QString file = FDir.filePath("log.txt");
        QCOMPARE(AppendExclusive(file, "uno\r\n"), TAppendResult::Appended);
        {
            TExclusiveFileLock holder(file);
            QVERIFY(holder.Locked());
            QCOMPARE(AppendExclusive(file, "dos\r\n", 20), TAppendResult::Busy);
            TFileError error;
            QVERIFY(!AppendToExistingFile(file, "tres\r\n", error));
            QVERIFY(error.Reason().contains(QStringLiteral("utilizado por otro proceso")));
        }
        QCOMPARE(AppendExclusive(file, "cuatro\r\n"), TAppendResult::Appended);
        QCOMPARE(readAll(file), QByteArray("uno\r\ncuatro\r\n"));
        QCOMPARE(AppendExclusive(FDir.filePath("no\\existe\\log.txt"), "x"),
                 TAppendResult::MissingFolder);
        // The holder of the lock may set the file aside.
        QVERIFY(WithExclusiveLock(file, 0, [&](qint64 Size) {
            QCOMPARE(Size, qint64(13));
            QVERIFY(QFile::rename(file, file + ".bak"));
        }));
        QVERIFY(!QFileInfo::exists(file));
        QVERIFY(!WithExclusiveLock(file, 0, [](qint64) {}));
    }

    void copyAndWrite()
    {
        const QString source = FDir.filePath("openssl.cnf");
        writeAll(source, "[ req ]\r\nx = 1\r\n");
        SetFileAttributesW(QDir::toNativeSeparators(source).toStdWString().c_str(),
                           FILE_ATTRIBUTE_READONLY);
        const QString copy = FDir.filePath("vemra.cnf");
        TFileError error;
        QVERIFY(CopyWholeFile(source, copy, true, error));
        QCOMPARE(readAll(copy), QByteArray("[ req ]\r\nx = 1\r\n"));
        // The copy can be written over, although its source is read-only.
        QVERIFY(WriteWholeFile(copy, "nuevo", true, error));
        QCOMPARE(readAll(copy), QByteArray("nuevo"));
        QVERIFY(!CopyWholeFile(FDir.filePath("falta.cnf"), copy, true, error));
        QCOMPARE(error.Reason(), QStringLiteral("El sistema no puede encontrar el archivo especificado."));
        QVERIFY(RenameFile(copy, copy + ".bak", error));
        QVERIFY(!RenameFile(source, copy + ".bak", error));
        SetFileAttributesW(QDir::toNativeSeparators(source).toStdWString().c_str(),
                           FILE_ATTRIBUTE_NORMAL);
    }

    void profileWriter_keepsWhatItDoesNotChange()
    {
        // Against a reference file. The system's own writer is no reference
        // here: wine's rewrites every line ("[ req ]" -> "[req]") and
        // Windows' re-encodes a non-Unicode file in the ANSI code page.
        const QString file = FDir.filePath("vemra.cnf");
        writeAll(file, "; comentario\r\n[ req ]\r\ndefault_bits = 2048\r\n"
                       "[req_distinguished_name]\r\ncountryName = Pais\r\n"
                       "[ v3_ca ]\r\nbasicConstraints=CA:true\r\n");
        QVERIFY(ProfileWriteString(file, "v3_ca", "subjectKeyIdentifier", "hash"));
        QVERIFY(ProfileWriteString(file, "REQ", "default_bits", "4096"));
        QVERIFY(ProfileWriteString(file, "nueva", "clave", "valor"));
        QVERIFY(ProfileDeleteSection(file, "req_distinguished_name"));
        QCOMPARE(readAll(file), QByteArray("; comentario\r\n[ req ]\r\ndefault_bits=4096\r\n"
                                           "[ v3_ca ]\r\nbasicConstraints=CA:true\r\n"
                                           "subjectKeyIdentifier=hash\r\n[nueva]\r\nclave=valor\r\n"));
    }

    void ansiCodePage_isTheSystems()
    {
        QCOMPARE(GetACP(), UINT(1252));
        QCOMPARE(ToAnsi(QStringLiteral("Compañía € “x” – ő")),
                 QByteArray("Compa\xF1\xED" "a \x80 \x93x\x94 \x96 o"));
        QCOMPARE(FromAnsi("Compa\xF1\xED" "a \x80"), QStringLiteral("Compañía €"));
    }

    void versionResource_isReadBack()
    {
        // This program carries a version resource (see its CMakeLists.txt).
        const QByteArray raw = ReadVersionBlock(QCoreApplication::applicationFilePath());
        TVersionBlockData data;
        QVERIFY2(ParseVersionBlock(raw, data), raw.constData());
        QVERIFY(data.HasFixedInfo);
        QCOMPARE(data.FixedInfo.dwSignature, 0xFEEF04BDu);
        QCOMPARE(data.FixedInfo.dwFileVersionMS, (3u << 16) | 1u);
        QCOMPARE(data.FixedInfo.dwFileVersionLS, (4u << 16) | 1592u);
        QCOMPARE(data.Translations, (QList<quint32>{0x2C0A04E4, 0x0C0A04B0}));
        QString value;
        QVERIFY(QueryVersionString(data, "\\StringFileInfo\\2C0A04E4\\Comments", value));
        QCOMPARE(value, QStringLiteral("Ñandú \"citado\" C:\\dir € ok"));
        QVERIFY(QueryVersionString(data, "\\StringFileInfo\\2C0A04E4\\OriginalFilename", value));
        QCOMPARE(value, QStringLiteral("platform_tests.exe"));
        QVERIFY(!QueryVersionString(data, "\\StringFileInfo\\2C0A04E4\\FileVersion", value));
        // A file without a resource has no block.
        writeAll(FDir.filePath("plain.dll"), "MZ nothing");
        QVERIFY(ReadVersionBlock(FDir.filePath("plain.dll")).isEmpty());
        QVERIFY(ReadVersionBlock(FDir.filePath("missing.exe")).isEmpty());
    }

    void systemQueries()
    {
        // The test prefix reports Windows 10 (winecfg -v win10).
        TSystemVersion v;
        QVERIFY(QuerySystemVersion(v));
        QCOMPARE(v.PlatformId, 2u);
        QCOMPARE(v.MajorVersion, 10u);
        QCOMPARE(v.MinorVersion, 0u);
        QCOMPARE(v.ProductType, quint8(1));
        const int depth = ScreenColorDepth();
        QVERIFY2(QList<int>({1, 4, 8, 15, 16, 24, 32}).contains(depth), qPrintable(QString::number(depth)));
        quint64 size = 0;
        writeAll(FDir.filePath("cinco.txt"), "12345");
        QVERIFY(QueryFileSizeOf(FDir.filePath("cinco.txt"), size));
        QCOMPARE(size, quint64(5));
        QVERIFY(!QueryFileSizeOf(QStringLiteral("Q:\\nada.txt"), size));
    }
};

QTEST_GUILESS_MAIN(TestWin32Files)
#include "tst_Win32Files.moc"
