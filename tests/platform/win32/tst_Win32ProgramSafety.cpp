// The check that a program runs only from a file and folder that no one
// else can change, on access lists.
#include "FileWrite.h"
#include "ProgramSafety.h"
#include "win32/OwnerOnly.h"

#include <QtTest>

#include <aclapi.h>
#include <sddl.h>
#include <windows.h>

namespace {

// Replaces Path's access list with the one Sddl describes ("%1" stands for
// the current user).
bool SetAccessList(const QString &Path, const QString &Sddl)
{
    const QString text = Sddl.arg(CurrentUserSidText());
    PSECURITY_DESCRIPTOR sd = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(
            reinterpret_cast<LPCWSTR>(text.utf16()), SDDL_REVISION_1, &sd, nullptr))
        return false;
    BOOL present = FALSE;
    BOOL defaulted = FALSE;
    PACL dacl = nullptr;
    GetSecurityDescriptorDacl(sd, &present, &dacl, &defaulted);
    std::wstring name = QDir::toNativeSeparators(Path).toStdWString();
    const DWORD result = SetNamedSecurityInfoW(
        name.data(), SE_FILE_OBJECT,
        DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION, nullptr, nullptr, dacl,
        nullptr);
    LocalFree(sd);
    return result == ERROR_SUCCESS;
}

// Path's access list as the system reports it, in SDDL.
QString ReadAccessList(const QString &Path)
{
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR sd = nullptr;
    const std::wstring name = QDir::toNativeSeparators(Path).toStdWString();
    if (GetNamedSecurityInfoW(name.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr,
                              nullptr, &dacl, nullptr, &sd)
        != ERROR_SUCCESS)
        return QString();
    LPWSTR sddl = nullptr;
    QString text;
    if (ConvertSecurityDescriptorToStringSecurityDescriptorW(sd, SDDL_REVISION_1,
                                                             DACL_SECURITY_INFORMATION, &sddl,
                                                             nullptr)) {
        text = QString::fromWCharArray(sddl);
        LocalFree(sddl);
    }
    LocalFree(sd);
    return text;
}

// wine keeps of an access list what a Unix mode holds: the owner's, the
// system's and Everyone's rights to read, write and run.
bool RunsUnderWine()
{
    return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

// Full access for the user, the system and the administrators; read and run
// for everyone: what Program Files gives a program.
const char kInstalled[] = "D:P(A;;FA;;;%1)(A;;FA;;;SY)(A;;FA;;;BA)(A;;0x1200a9;;;BU)(A;;0x1200a9;;;WD)";

} // namespace

class TestWin32ProgramSafety : public QObject
{
    Q_OBJECT

    QTemporaryDir FDir;
    QString FFolder;
    QString FProgram;

private slots:
    void init()
    {
        QVERIFY(FDir.isValid());
        FFolder = FDir.filePath(QStringLiteral("José Núñez/OpenSSL"));
        QVERIFY(QDir().mkpath(FFolder));
        FProgram = FFolder + QStringLiteral("/openssl.exe");
        TFileError error;
        QFile::remove(FProgram);
        QVERIFY(CreateNewFile(FProgram, "MZ", false, error));
        QVERIFY(SetAccessList(FFolder, QLatin1String(kInstalled)));
        QVERIFY(SetAccessList(FProgram, QLatin1String(kInstalled)));
    }

    void installedProgram_isSafe()
    {
        QCOMPARE(UnsafeProgramReason(FProgram), QString());
        QCOMPARE(UnsafeProgramReason(QDir::toNativeSeparators(FProgram)), QString());
        // The user's own folder, nobody else in it.
        QVERIFY(SetAccessList(FFolder, QStringLiteral("D:P(A;OICI;FA;;;%1)")));
        QCOMPARE(UnsafeProgramReason(FProgram), QString());
        // Rights only passed down to what is created inside do not count.
        QVERIFY(SetAccessList(FFolder, QStringLiteral("D:P(A;OICI;FA;;;%1)(A;OICIIO;FA;;;BU)")));
        QCOMPARE(UnsafeProgramReason(FProgram), QString());
    }

    void changeRightsForOthers_areRefusedNamingThePath_data()
    {
        QTest::addColumn<bool>("folder");
        QTest::addColumn<QString>("entry");
        QTest::addColumn<bool>("wineKeepsIt");
        // Modify (the rights the old installer gave), write, append, delete,
        // change the list, take ownership; Users, Everyone, Authenticated Users.
        QTest::newRow("folder, Users modify") << true << "(A;OICI;0x1301bf;;;BU)" << false;
        QTest::newRow("folder, Everyone add file") << true << "(A;;0x2;;;WD)" << true;
        QTest::newRow("folder, Authenticated add folder") << true << "(A;;0x4;;;AU)" << false;
        QTest::newRow("folder, Users delete child") << true << "(A;;0x40;;;BU)" << false;
        QTest::newRow("program, Users write") << false << "(A;;FW;;;BU)" << false;
        QTest::newRow("program, Everyone write") << false << "(A;;FW;;;WD)" << true;
        QTest::newRow("program, Everyone delete") << false << "(A;;SD;;;WD)" << false;
        QTest::newRow("program, Users change list") << false << "(A;;WD;;;BU)" << false;
        QTest::newRow("program, Users owner") << false << "(A;;WO;;;BU)" << false;
        QTest::newRow("program, Everyone generic all") << false << "(A;;GA;;;WD)" << true;
    }

    void changeRightsForOthers_areRefusedNamingThePath()
    {
        QFETCH(bool, folder);
        QFETCH(QString, entry);
        QFETCH(bool, wineKeepsIt);
        if (RunsUnderWine() && !wineKeepsIt)
            QSKIP("wine keeps only the owner's, the system's and Everyone's read, write and run "
                  "rights of an access list");
        QVERIFY(SetAccessList(folder ? FFolder : FProgram, QLatin1String(kInstalled) + entry));
        const QString reason = UnsafeProgramReason(FProgram);
        qInfo("%s -> %s", qUtf8Printable(ReadAccessList(folder ? FFolder : FProgram)),
              qUtf8Printable(reason));
        const QString native = QDir::toNativeSeparators(folder ? FFolder : FProgram);
        QVERIFY2(reason.contains(folder ? QStringLiteral("la carpeta ") + native
                                        : QStringLiteral("el programa ") + native),
                 qPrintable(reason));
        QVERIFY2(reason.contains(QStringLiteral("puede modificar")), qPrintable(reason));
    }

    void missingProgram_isRefused()
    {
        QVERIFY(UnsafeProgramReason(FFolder + QStringLiteral("/otro.exe"))
                    .contains(QStringLiteral("No se encuentra el programa")));
        QVERIFY(!UnsafeProgramReason(QString()).isEmpty());
        QVERIFY(!UnsafeProgramReason(FFolder).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestWin32ProgramSafety)
#include "tst_Win32ProgramSafety.moc"
