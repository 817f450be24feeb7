#include "Paths.h"

#include <QDir>

#include <windows.h>

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

bool IsAbsolutePath(const QString &Path)
{
    const auto delimiter = [](QChar C) { return C == QLatin1Char('\\') || C == QLatin1Char('/'); };
    if (Path.size() >= 2 && delimiter(Path[0]) && delimiter(Path[1]))
        return true; // \\server\share
    return Path.size() >= 3 && Path[0].isLetter() && Path[0].unicode() < 128
           && Path[1] == QLatin1Char(':') && delimiter(Path[2]);
}

QString NativePath(const QString &Path) { return QDir::toNativeSeparators(Path); }

QString ProgramFileName(const QString &BaseName) { return BaseName + QStringLiteral(".exe"); }

QString OpenSSLInstallerFileName() { return QStringLiteral("Win32OpenSSL_Light-0_9_8e.exe"); }

QString CleanPathCharacters(const QString &Path)
{
    QString p = Path;
    // "/" separates folders on Windows as "\" does: turned into "-", it
    // would join "C:/ProgramData" into the drive-relative "C:-ProgramData".
    p.replace(QLatin1Char('/'), QLatin1Char('\\'));
    for (const char c : {'*', '?', '"', '<', '>', '|'})
        p.replace(QLatin1Char(c), QLatin1Char('-'));
    return p;
}

bool FolderExists(const QString &Path)
{
    if (Path.isEmpty())
        return false;
    const DWORD a = GetFileAttributesW(QDir::toNativeSeparators(Path).toStdWString().c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

QString OwnProgramFile()
{
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, buffer.data(), DWORD(buffer.size()));
        if (n == 0)
            return QString();
        if (n < buffer.size())
            return QString::fromWCharArray(buffer.data(), int(n));
        buffer.resize(buffer.size() * 2);
    }
}
