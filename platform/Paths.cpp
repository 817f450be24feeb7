#include "Paths.h"

#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

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

bool IsAbsolutePath(const QString &Path) { return Path.startsWith(QLatin1Char('/')); }

QString NativePath(const QString &Path) { return Path; }

QString ProgramFileName(const QString &BaseName) { return BaseName; }

QString OpenSSLInstallerFileName() { return QStringLiteral("install-openssl.sh"); }

QString CleanPathCharacters(const QString &Path)
{
    QString p = Path;
    for (const char c : {'\\', '*', '?', '"', '<', '>', '|'})
        p.replace(QLatin1Char(c), QLatin1Char('-'));
    return p;
}

bool FolderExists(const QString &Path)
{
    struct stat st;
    return !Path.isEmpty() && ::stat(QFile::encodeName(Path).constData(), &st) == 0
           && S_ISDIR(st.st_mode);
}

QString OwnProgramFile()
{
    QString p = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
    if (p.isEmpty())
        p = QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget();
    return p;
}
