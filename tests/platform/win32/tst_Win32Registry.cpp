// The registry reader against values written into the registry itself.
#include "Registry.h"

#include <QtTest>

#include <windows.h>

class TestWin32Registry : public QObject
{
    Q_OBJECT

    const QString FKey = QStringLiteral("Software\\ZeDede\\Tests\\Registry");

    void setValue(const QString &Name, DWORD Type, const QByteArray &Data)
    {
        HKEY key;
        QCOMPARE(RegCreateKeyExW(HKEY_CURRENT_USER, FKey.toStdWString().c_str(), 0, nullptr, 0,
                                 KEY_WRITE, nullptr, &key, nullptr),
                 ERROR_SUCCESS);
        QCOMPARE(RegSetValueExW(key, Name.toStdWString().c_str(), 0, Type,
                                reinterpret_cast<const BYTE *>(Data.constData()),
                                static_cast<DWORD>(Data.size())),
                 ERROR_SUCCESS);
        RegCloseKey(key);
    }

    static QByteArray wide(const QString &Text, bool Terminated = true)
    {
        QByteArray bytes(reinterpret_cast<const char *>(Text.utf16()), Text.size() * 2);
        if (Terminated)
            bytes.append(2, '\0');
        return bytes;
    }

    QString read(const QString &Key, const QString &Name)
    {
        return ReadRegistryString(THKey::CurrentUser, Key, Name, QStringLiteral("<default>"));
    }

private slots:
    void cleanupTestCase()
    {
        RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\ZeDede\\Tests");
    }

    void stringValues_readAsStored()
    {
        const QString text = QStringLiteral("C:\\Archivos de programa\\Compañía € “x”\\openssl.cnf");
        setValue("sz", REG_SZ, wide(text));
        QCOMPARE(read(FKey, "sz"), text);
        // A leading "\" of the key is dropped; names compare without case.
        QCOMPARE(read("\\" + FKey, "SZ"), text);
        // REG_EXPAND_SZ comes back unexpanded.
        setValue("expand", REG_EXPAND_SZ, wide("%SystemDrive%\\OpenSSL\\openssl.cnf"));
        QCOMPARE(read(FKey, "expand"), QStringLiteral("%SystemDrive%\\OpenSSL\\openssl.cnf"));
        // Stored without its terminating null, or empty.
        setValue("unterminated", REG_SZ, wide("abc", false));
        QCOMPARE(read(FKey, "unterminated"), QStringLiteral("abc"));
        setValue("empty", REG_SZ, QByteArray());
        QCOMPARE(read(FKey, "empty"), QString());
        // A long value is read whole.
        const QString longText(5000, QLatin1Char('x'));
        setValue("long", REG_SZ, wide(longText));
        QCOMPARE(read(FKey, "long"), longText);
    }

    void missingOrOtherType_giveTheDefault()
    {
        QCOMPARE(read("Software\\ZeDede\\Tests\\NoSuchKey", "sz"), QStringLiteral("<default>"));
        QCOMPARE(read(FKey, "no such value"), QStringLiteral("<default>"));
        const DWORD number = 42;
        setValue("dword", REG_DWORD, QByteArray(reinterpret_cast<const char *>(&number), 4));
        QCOMPARE(read(FKey, "dword"), QStringLiteral("<default>"));
        setValue("multi", REG_MULTI_SZ, wide("a") + wide("b") + QByteArray(2, '\0'));
        QCOMPARE(read(FKey, "multi"), QStringLiteral("<default>"));
        setValue("binary", REG_BINARY, QByteArray("a\0b\0", 4));
        QCOMPARE(read(FKey, "binary"), QStringLiteral("<default>"));
    }

    void machineEnvironment_isReadAfresh()
    {
        // The value an installer writes is seen by the next read.
        const QString key = QStringLiteral("SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment");
        HKEY env;
        QCOMPARE(RegOpenKeyExW(HKEY_LOCAL_MACHINE, key.toStdWString().c_str(), 0,
                               KEY_READ | KEY_WRITE, &env),
                 ERROR_SUCCESS);
        const QString name = QStringLiteral("ZEDEDE_TEST_VALUE");
        const QByteArray data = wide("C:\\Uno\\openssl.cnf");
        RegSetValueExW(env, name.toStdWString().c_str(), 0, REG_EXPAND_SZ,
                       reinterpret_cast<const BYTE *>(data.constData()), DWORD(data.size()));
        QCOMPARE(ReadRegistryString(THKey::LocalMachine, "\\" + key, name, QString()),
                 QStringLiteral("C:\\Uno\\openssl.cnf"));
        RegDeleteValueW(env, name.toStdWString().c_str());
        QCOMPARE(ReadRegistryString(THKey::LocalMachine, "\\" + key, name, QStringLiteral("-")),
                 QStringLiteral("-"));
        RegCloseKey(env);
    }

    void shellFolders_comeFromTheRegistry()
    {
        const QString folders =
            QStringLiteral("Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders");
        const QString personal = ReadRegistryString(THKey::CurrentUser, folders, "Personal", QString());
        QVERIFY2(personal.contains(QLatin1Char('%')) || personal.contains(QLatin1Char(':')),
                 qPrintable(personal));
        QVERIFY(!ReadRegistryString(THKey::LocalMachine, folders, "Common AppData", QString()).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestWin32Registry)
#include "tst_Win32Registry.moc"
