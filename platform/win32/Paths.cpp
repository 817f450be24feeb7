#include "Paths.h"

#include <QDir>

QChar PathDelimiter() { return QLatin1Char('\\'); }

QString DirectoryPart(const QString &Path)
{
    // Only "\" and the drive colon end a directory part: "C:/x/y.cnf" gives "C:".
    const int at = std::max(Path.lastIndexOf(QLatin1Char('\\')), Path.lastIndexOf(QLatin1Char(':')));
    return at < 0 ? QString() : Path.left(at + 1);
}

QString IncludeTrailingDelimiter(const QString &Path)
{
    return Path.endsWith(QLatin1Char('\\')) ? Path : Path + QLatin1Char('\\');
}

QString NativePath(const QString &Path) { return QDir::toNativeSeparators(Path); }

QString ProgramFileName(const QString &BaseName) { return BaseName + QStringLiteral(".exe"); }

QString OpenSSLInstallerFileName() { return QStringLiteral("Win32OpenSSL_Light-0_9_8e.exe"); }
