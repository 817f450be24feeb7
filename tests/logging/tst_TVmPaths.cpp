#include "DriveType.h"
#include "LogTestSupport.h"
#include "uVmPaths.h"

#include <QFileInfo>
#include <QStandardPaths>
#include <QStorageInfo>
#include <QtTest>

class TestTVmPaths : public QObject
{
    Q_OBJECT

private slots:
    void formatPathFolder_replacesIllegalCharactersAndEndsWithDelimiter_data();
    void formatPathFolder_replacesIllegalCharactersAndEndsWithDelimiter();
    void expandFirstVariable_expandsOnlyTheFirstToken_data();
    void expandFirstVariable_expandsOnlyTheFirstToken();
    void applicationData_buildsAndCreatesFoldersBelowTheDataHome();
    void applicationData_expandsTheRootAndCachesIt();
    void currentUser_foldersCannotBeSplitOrClimbedByTheirParts();
    void userRoots_comeFromConfigAndDocumentsFolders();
    void everyOperation_givesEmptyWhenTheFolderCannotBeMade();
    void ensureFolder_rejectsEmptyAndRewritesThePath();
    void driveType_classifiesFileSystems_data();
    void driveType_classifiesFileSystems();
    void isLocalDrivePath_onlyFixedDisksAreLocal();
};

void TestTVmPaths::formatPathFolder_replacesIllegalCharactersAndEndsWithDelimiter_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("expected");
    QTest::newRow("mixed") << "/tmp/Logs\\2018|a" << "/tmp/Logs-2018-a/";
    QTest::newRow("empty") << "" << "";
    QTest::newRow("clean") << "/tmp/Logs/" << "/tmp/Logs/";
    QTest::newRow("all") << "a*b?c\"d<e>f|g\\h" << "a-b-c-d-e-f-g-h/";
    QTest::newRow("levels kept") << "a/b/c" << "a/b/c/";
}

void TestTVmPaths::formatPathFolder_replacesIllegalCharactersAndEndsWithDelimiter()
{
    QFETCH(QString, input);
    QFETCH(QString, expected);
    TVmPaths::FormatPathFolder(input);
    QCOMPARE(input, expected);
}

void TestTVmPaths::expandFirstVariable_expandsOnlyTheFirstToken_data()
{
    qputenv("ZD_ROOT", "/srv/datos");
    qputenv("ZD_USER", "ana");
    qunsetenv("ZD_MISSING");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("expected");
    QTest::newRow("no token") << "/a/b" << "/a/b";
    QTest::newRow("whole") << "%ZD_ROOT%" << "/srv/datos";
    QTest::newRow("middle") << "/d/%ZD_USER%/Docs" << "/d/ana/Docs";
    QTest::newRow("first only") << "%ZD_ROOT%/%ZD_USER%" << "/srv/datos/%ZD_USER%";
    QTest::newRow("repeated, any case") << "%ZD_USER%/x/%zd_user%" << "ana/x/ana";
    QTest::newRow("lone percent") << "/datos/50%" << "/datos/50";
    QTest::newRow("unset") << "/a/%ZD_MISSING%/b" << "/a//b";
}

void TestTVmPaths::expandFirstVariable_expandsOnlyTheFirstToken()
{
    QFETCH(QString, input);
    QFETCH(QString, expected);
    QCOMPARE(TVmPaths::ExpandFirstVariable(input), expected);
}

void TestTVmPaths::applicationData_buildsAndCreatesFoldersBelowTheDataHome()
{
    TTempHome home;
    QVERIFY(home.IsValid());
    QCOMPARE(TVmPaths::ApplicationData(QStringLiteral("X")), home.Data() + "/X/");
    QCOMPARE(TVmPaths::ApplicationData_Vemra(QString()), home.Vemra());
    QCOMPARE(TVmPaths::ApplicationData_Vemra(QStringLiteral("Logs")), home.Logs());
    QCOMPARE(TVmPaths::GetAppDataPathVemra(QStringLiteral("a/b")), home.Vemra() + "a/b/");
    QCOMPARE(TVmPaths::GetAppDataPath(QStringLiteral("Y")), home.Data() + "/Y/");
    QVERIFY(QFileInfo(home.Vemra() + "a/b").isDir());
    QVERIFY(QFileInfo(home.Logs()).isDir());
    QCOMPARE(TVmPaths::ApplicationData_CurrentUser(QString(), QStringLiteral("ana")),
             home.Vemra() + "Usuarios/ana/");
    QCOMPARE(TVmPaths::GetCurrentUserPath(QStringLiteral("12"), QStringLiteral("ana")),
             home.Vemra() + "12/Usuarios/ana/");
    QVERIFY(QFileInfo(home.Vemra() + "12/Usuarios/ana").isDir());
}

void TestTVmPaths::applicationData_expandsTheRootAndCachesIt()
{
    TTempHome home;
    // The stored root may hold a %VAR% token.
    qputenv("XDG_DATA_HOME", QFile::encodeName(home.Root()) + "/%ZD_SUB%");
    qputenv("ZD_SUB", "expanded");
    QCOMPARE(TVmPaths::ApplicationData(QStringLiteral("X")), home.Root() + "/expanded/X/");
    QCOMPARE(TVmPaths::CommonAppDataCache(), home.Root() + "/expanded/");
    // The machine-wide root is read once per process.
    qputenv("XDG_DATA_HOME", QFile::encodeName(home.Data()));
    QCOMPARE(TVmPaths::ApplicationData(QStringLiteral("X")), home.Root() + "/expanded/X/");
    TVmPaths::ClearCommonAppDataCache();
    QCOMPARE(TVmPaths::ApplicationData(QStringLiteral("X")), home.Data() + "/X/");
}

void TestTVmPaths::currentUser_foldersCannotBeSplitOrClimbedByTheirParts()
{
    TTempHome home;
    QCOMPARE(TVmPaths::ApplicationData_CurrentUser(QStringLiteral("7"), QStringLiteral("Ana/Pérez")),
             home.Vemra() + "7/Usuarios/Ana-Pérez/");
    QCOMPARE(TVmPaths::ApplicationData_CurrentUser(QStringLiteral(".."), QStringLiteral("..")),
             home.Vemra() + "--/Usuarios/--/");
    QCOMPARE(TVmPaths::ApplicationData_CurrentUser(QStringLiteral("1"), QStringLiteral("a*b?")),
             home.Vemra() + "1/Usuarios/a-b-/");
    QCOMPARE(TVmPaths::ApplicationDataVemra_WindowsCurrentUser(QStringLiteral("../x")),
             home.Config() + "/Vemra/..-x/");
}

void TestTVmPaths::userRoots_comeFromConfigAndDocumentsFolders()
{
    TTempHome home;
    QCOMPARE(TVmPaths::ApplicationDataVemra_WindowsCurrentUser(QStringLiteral("5")),
             home.Config() + "/Vemra/5/");
    QVERIFY(QFileInfo(home.Config() + "/Vemra/5").isDir());
    const QString docs = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    QVERIFY(docs.startsWith(home.Root()));
    QCOMPARE(TVmPaths::MyDocuments(QStringLiteral("Sub")), docs + "/Sub/");
    QCOMPARE(TVmPaths::GetMyDocumnetsPath(QString()), docs + "/");
    QVERIFY(QFileInfo(docs + "/Sub").isDir());
}

void TestTVmPaths::everyOperation_givesEmptyWhenTheFolderCannotBeMade()
{
    TTempHome home;
    // A regular file where the roots' folders would have to be.
    const QString blocker = home.Root() + "/blocker";
    QVERIFY(WriteBytes(blocker, "x"));
    qputenv("XDG_DATA_HOME", QFile::encodeName(blocker + "/share"));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(blocker + "/config"));
    qputenv("HOME", QFile::encodeName(blocker));
    TVmPaths::ClearCommonAppDataCache();
    QCOMPARE(TVmPaths::ApplicationData(QStringLiteral("X")), QString());
    QCOMPARE(TVmPaths::ApplicationData_Vemra(QString()), QString());
    QCOMPARE(TVmPaths::ApplicationData_Vemra(QStringLiteral("Logs")), QString());
    QCOMPARE(TVmPaths::ApplicationData_CurrentUser(QStringLiteral("1"), QStringLiteral("ana")), QString());
    QCOMPARE(TVmPaths::ApplicationDataVemra_WindowsCurrentUser(QStringLiteral("1")), QString());
    QCOMPARE(TVmPaths::MyDocuments(QStringLiteral("Sub")), QString());
    // Nothing was made relative to the current directory instead.
    QVERIFY(!QFileInfo::exists(QStringLiteral("1/Usuarios")));
}

void TestTVmPaths::ensureFolder_rejectsEmptyAndRewritesThePath()
{
    TTempHome home;
    QString empty;
    QVERIFY(!TVmPaths::EnsureFolder(empty));
    QString p = home.Root() + "/a|b/c?d";
    QVERIFY(TVmPaths::EnsureFolder(p));
    QCOMPARE(p, home.Root() + "/a-b/c-d/");
    QVERIFY(QFileInfo(p).isDir());
}

void TestTVmPaths::driveType_classifiesFileSystems_data()
{
    QTest::addColumn<QString>("fs");
    QTest::addColumn<bool>("removable");
    QTest::addColumn<int>("expected");
    QTest::newRow("ext4") << "ext4" << false << int(TDriveType::Fixed);
    QTest::newRow("ext4 on usb") << "ext4" << true << int(TDriveType::Removable);
    QTest::newRow("vfat on usb") << "vfat" << true << int(TDriveType::Removable);
    QTest::newRow("btrfs") << "btrfs" << false << int(TDriveType::Fixed);
    QTest::newRow("overlay") << "overlay" << false << int(TDriveType::Fixed);
    QTest::newRow("nfs4") << "nfs4" << false << int(TDriveType::Remote);
    QTest::newRow("cifs") << "cifs" << false << int(TDriveType::Remote);
    QTest::newRow("sshfs") << "fuse.sshfs" << false << int(TDriveType::Remote);
    QTest::newRow("tmpfs") << "tmpfs" << false << int(TDriveType::RamDisk);
    QTest::newRow("iso9660") << "iso9660" << true << int(TDriveType::CDRom);
    QTest::newRow("proc") << "proc" << false << int(TDriveType::Unknown);
    QTest::newRow("empty") << "" << false << int(TDriveType::Unknown);
}

void TestTVmPaths::driveType_classifiesFileSystems()
{
    QFETCH(QString, fs);
    QFETCH(bool, removable);
    QFETCH(int, expected);
    QCOMPARE(int(ClassifyFileSystem(fs, removable)), expected);
}

void TestTVmPaths::isLocalDrivePath_onlyFixedDisksAreLocal()
{
    QVERIFY(!TVmPaths::IsLocalDrivePath(QString()));
    QVERIFY(!TVmPaths::IsLocalDrivePath(QStringLiteral("relative/path")));
    QVERIFY(!TVmPaths::IsLocalDrivePath(QStringLiteral("/proc/self")));
    const QStorageInfo shm(QStringLiteral("/dev/shm"));
    if (shm.isValid() && shm.fileSystemType() == "tmpfs")
        QVERIFY(!TVmPaths::IsLocalDrivePath(QStringLiteral("/dev/shm/no/such/file")));
    const QStorageInfo root = QStorageInfo::root();
    if (root.fileSystemType() == "ext4" || root.fileSystemType() == "xfs"
        || root.fileSystemType() == "btrfs") {
        // A path that does not exist yet is judged by its nearest parent.
        QVERIFY(TVmPaths::IsLocalDrivePath(QStringLiteral("/no/such/folder")));
    }
}

QTEST_GUILESS_MAIN(TestTVmPaths)
#include "tst_TVmPaths.moc"
