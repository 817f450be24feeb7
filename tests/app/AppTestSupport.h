#pragma once
// Helpers shared by the tests of the program's window and request logic.

#include "RequestData.h"
#include "Registry.h"

#include <QByteArray>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QString>
#include <QTest>

#ifdef Q_OS_LINUX
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>
#endif

// A request that passes validation, with accented names; Folder is the
// destination.
inline TRequestData SampleRequestData(const QString &Folder)
{
    TRequestData d;
    d.NombreEmpresa = QStringLiteral("Compañía S.A.");
    d.CUIT = QStringLiteral("20-12345678-6");
    d.Operador = QStringLiteral("José Pérez");
    d.Mail = QStringLiteral("jose@example.com");
    d.Password = d.Password2 = QStringLiteral("secreto");
    d.Carpeta = Folder;
    return d;
}

// A PATH folder under Home with the tools stand-in installers use ("sh",
// "mkdir", "sleep", ...) but no openssl: the machine then has no openssl
// program. Empty when a tool is missing here.
inline QString ToolsWithoutOpenSSL(const QString &Home)
{
    const QString bin = Home + QStringLiteral("/bin-without-openssl");
    QDir().mkpath(bin);
    for (const char *tool : {"sh", "sed", "grep", "mkdir", "cp", "mv", "ln", "cat", "sleep"}) {
        const QString real = QStandardPaths::findExecutable(QLatin1String(tool));
        if (real.isEmpty())
            return QString();
        QFile::link(real, bin + QLatin1Char('/') + QLatin1String(tool));
    }
    return bin;
}

// Runs Body with PATH set to Path.
template <typename F>
void WithPath(const QString &Path, F Body)
{
    const QByteArray old = qgetenv("PATH");
    qputenv("PATH", Path.toLocal8Bit());
    Body();
    qputenv("PATH", old);
}

// Points HOME and the XDG folders into Home, so that nothing a test does
// reaches the real user's files.
inline void UseTemporaryHome(const QString &Home)
{
    qputenv("HOME", Home.toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (Home + QStringLiteral("/.config")).toLocal8Bit());
    qputenv("XDG_DATA_HOME", (Home + QStringLiteral("/.local/share")).toLocal8Bit());
    qunsetenv("XDG_DOCUMENTS_DIR");
}

// The system's openssl.cnf, as "openssl version -d" names its folder.
inline QString SystemOpenSSLConf()
{
    QProcess p;
    p.start(QStringLiteral("openssl"), {QStringLiteral("version"), QStringLiteral("-d")});
    p.waitForFinished(10000);
    const QString dir = QString::fromLocal8Bit(p.readAllStandardOutput()).section('"', 1, 1);
    return QFileInfo(dir + QStringLiteral("/openssl.cnf")).canonicalFilePath();
}

// Makes Folder (ending with "/") the OpenSSL folder the program finds.
inline void UseOpenSSLFolder(const QString &Folder)
{
#ifdef Q_OS_WIN
    // The machine environment value, as the OpenSSL installer sets it (the
    // installers' test, which sets it too, runs alone).
    QSettings environment(QStringLiteral("HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\"
                                         "Session Manager\\Environment"),
                          QSettings::NativeFormat);
    environment.setValue(QStringLiteral("OPENSSL_CONF"),
                         QDir::toNativeSeparators(Folder + QStringLiteral("openssl.cnf")));
    return;
#endif
    const QString file = UserEnvironmentFile();
    QDir().mkpath(QFileInfo(file).path());
    QFile f(file);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write("OPENSSL_CONF=" + Folder.toUtf8() + "openssl.cnf\n");
}

// Undoes UseOpenSSLFolder on Windows, where it sets the machine's value.
inline void ForgetOpenSSLFolder()
{
#ifdef Q_OS_WIN
    QSettings(QStringLiteral("HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\"
                             "Session Manager\\Environment"),
              QSettings::NativeFormat)
        .remove(QStringLiteral("OPENSSL_CONF"));
#endif
}

// A 4096-bit key made once for the tests, handed out by the stand-in.
inline QString TestKeyFile()
{
    return qEnvironmentVariable("ZEDEDE_SOURCE_DIR")
           + QStringLiteral("/tests/app/data/clave-de-prueba-4096.key");
}

// Makes Folder (ending with "/") an OpenSSL folder whose "openssl" is the
// stand-in of tests/app/data/openssl-standin.sh (see there for GENRSA, REQ,
// LOG...), with a copy of the system's openssl.cnf, and uses it. Returns
// Folder.
inline QString StandInOpenSSLFolder(const QString &Folder)
{
    QDir().mkpath(Folder);
#ifdef Q_OS_WIN
    // No shell on Windows: the kit's openssl.exe (ZEDEDE_TEST_OPENSSL) and
    // its configuration themselves, generating real keys.
    const QString kit = QFileInfo(qEnvironmentVariable("ZEDEDE_TEST_OPENSSL")).path();
    for (const char *name : {"openssl.exe", "openssl.cnf"}) {
        QFile::remove(Folder + QLatin1String(name));
        QFile::copy(kit + QLatin1Char('/') + QLatin1String(name), Folder + QLatin1String(name));
    }
    UseOpenSSLFolder(Folder);
    return Folder;
#endif
    QFile::remove(Folder + QStringLiteral("openssl.cnf"));
    QFile::copy(SystemOpenSSLConf(), Folder + QStringLiteral("openssl.cnf"));
    QFile::remove(Folder + QStringLiteral("openssl"));
    QFile::copy(qEnvironmentVariable("ZEDEDE_SOURCE_DIR")
                    + QStringLiteral("/tests/app/data/openssl-standin.sh"),
                Folder + QStringLiteral("openssl"));
    QFile::setPermissions(Folder + QStringLiteral("openssl"),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("REAL_OPENSSL", QStandardPaths::findExecutable(QStringLiteral("openssl")).toLocal8Bit());
    qputenv("TEST_KEY", TestKeyFile().toLocal8Bit());
    UseOpenSSLFolder(Folder);
    return Folder;
}

// The names in Folder, sorted (hidden ones included).
inline QStringList FolderEntries(const QString &Folder)
{
    return QDir(Folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden
                                      | QDir::System,
                                  QDir::Name);
}

// Everything the program's log holds (every log file of the maker's folder).
inline QString LogText()
{
    QString text;
    QDirIterator it(qEnvironmentVariable("XDG_DATA_HOME") + QStringLiteral("/Vemra/Logs"),
                    {QStringLiteral("*.log")}, QDir::Files);
    while (it.hasNext()) {
        QFile f(it.next());
        if (f.open(QIODevice::ReadOnly))
            text += QString::fromLatin1(f.readAll());
    }
    return text;
}

// Makes Folder refuse new files, even to root (which ignores permissions:
// the folder is then also made immutable). False when this system cannot.
inline bool MakeReadOnlyFolder(const QString &Folder)
{
    QFile::setPermissions(Folder, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadUser
                                      | QFile::ExeUser);
    const QString probe = Folder + QStringLiteral("/.probe");
    const auto writable = [&] {
        QFile f(probe);
        if (!f.open(QIODevice::WriteOnly))
            return false;
        f.close();
        f.remove();
        return true;
    };
    if (!writable())
        return true;
#ifndef Q_OS_LINUX
    return false;
#else
    const int fd = ::open(QFile::encodeName(Folder).constData(), O_RDONLY | O_DIRECTORY);
    if (fd < 0)
        return false;
    int flags = 0;
    if (::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0) {
        flags |= FS_IMMUTABLE_FL;
        ::ioctl(fd, FS_IOC_SETFLAGS, &flags);
    }
    ::close(fd);
    return !writable();
#endif
}

// Undoes MakeReadOnlyFolder.
inline void MakeWritableFolder(const QString &Folder)
{
#ifdef Q_OS_LINUX
    const int fd = ::open(QFile::encodeName(Folder).constData(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        int flags = 0;
        if (::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0 && (flags & FS_IMMUTABLE_FL)) {
            flags &= ~FS_IMMUTABLE_FL;
            ::ioctl(fd, FS_IOC_SETFLAGS, &flags);
        }
        ::close(fd);
    }
#endif
    QFile::setPermissions(Folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                                      | QFile::ReadUser | QFile::WriteUser | QFile::ExeUser);
}
