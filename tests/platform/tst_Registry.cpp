#include "Registry.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {
const QString kEnv = QStringLiteral(
    "\\SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment");
const QString kFolders = QStringLiteral(
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders");
}

class TestRegistry : public QObject
{
    Q_OBJECT
    QTemporaryDir FHome;

    void writeUserEnvironment(const QByteArray &text)
    {
        QDir().mkpath(FHome.path() + "/config/Vemra");
        QFile f(UserEnvironmentFile());
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(text);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(FHome.isValid());
        qputenv("XDG_CONFIG_HOME", (FHome.path() + "/config").toLocal8Bit());
        qputenv("XDG_DATA_HOME", (FHome.path() + "/data").toLocal8Bit());
    }

    void machineEnvironmentComesFromTheFilesNotTheProcess()
    {
        qputenv("ZEDEDE_PROBE_VALUE", "from-process");
        QCOMPARE(ReadRegistryString(THKey::LocalMachine, kEnv, "ZEDEDE_PROBE_VALUE", "none"),
                 QStringLiteral("none"));
        writeUserEnvironment("# comment\nzedede_probe_value=\"/opt/ssl/openssl.cnf\"\n");
        QCOMPARE(ReadRegistryString(THKey::LocalMachine, kEnv, "ZEDEDE_PROBE_VALUE", "none"),
                 QStringLiteral("/opt/ssl/openssl.cnf"));
    }

    void laterAssignmentWinsAndIsReadAfresh()
    {
        writeUserEnvironment("X_ONE=a\nX_ONE=b\n");
        QCOMPARE(ReadRegistryString(THKey::LocalMachine, kEnv, "X_ONE", ""), QStringLiteral("b"));
        writeUserEnvironment("X_ONE=%SystemDrive%\\ssl\n");
        QCOMPARE(ReadRegistryString(THKey::LocalMachine, kEnv, "X_ONE", ""),
                 QStringLiteral("%SystemDrive%\\ssl"));
    }

    void shellFoldersMapToXdgRoots()
    {
        QCOMPARE(ReadRegistryString(THKey::LocalMachine, kFolders, "Common AppData", ""),
                 FHome.path() + "/data");
        QCOMPARE(ReadRegistryString(THKey::CurrentUser, kFolders, "AppData", ""),
                 FHome.path() + "/config");
        QVERIFY(!ReadRegistryString(THKey::CurrentUser, kFolders, "Personal", "").isEmpty());
    }

    void unknownKeysAndValuesGiveTheDefault()
    {
        QCOMPARE(ReadRegistryString(THKey::CurrentUser, kFolders, "Common AppData", "d"),
                 QStringLiteral("d"));
        QCOMPARE(ReadRegistryString(THKey::LocalMachine, "SOFTWARE\\Other", "x", "d"),
                 QStringLiteral("d"));
        QCOMPARE(ReadRegistryString(THKey::CurrentUser, kEnv, "X_ONE", "d"), QStringLiteral("d"));
    }
};

QTEST_GUILESS_MAIN(TestRegistry)
#include "tst_Registry.moc"
