#include "Paths.h"

QChar PathDelimiter() { return QLatin1Char('/'); }

QString DirectoryPart(const QString &Path)
{
    const int slash = Path.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? QString() : Path.left(slash + 1);
}

QString IncludeTrailingDelimiter(const QString &Path)
{
    return Path.endsWith(QLatin1Char('/')) ? Path : Path + QLatin1Char('/');
}

QString NativePath(const QString &Path) { return Path; }

QString ProgramFileName(const QString &BaseName) { return BaseName; }

QString OpenSSLInstallerFileName() { return QStringLiteral("install-openssl.sh"); }
