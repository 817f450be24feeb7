#include "uVmPaths.h"

#include "DriveType.h"
#include "Paths.h"
#include "Registry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutex>

namespace {

const QChar kDelimiter = PathDelimiter();
const char kUserShellFolders[] =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";

// The cache is a QString shared between threads; the mutex only keeps the
// string itself intact (a racing first read stores the same value twice).
QMutex gCacheMutex;
QString gCommonAppDataCache;

QString ReadCache()
{
    QMutexLocker lock(&gCacheMutex);
    return gCommonAppDataCache;
}

void StoreCache(const QString &Value)
{
    QMutexLocker lock(&gCacheMutex);
    gCommonAppDataCache = Value;
}

// A single folder name supplied by a caller (a number, a user name): it may
// neither split the path into several folders nor climb out of it.
QString CleanFolderName(QString Name)
{
    // Either system's delimiter: on Windows both split a path.
    Name.replace(QLatin1Char('/'), QLatin1Char('-'));
    Name.replace(QLatin1Char('\\'), QLatin1Char('-'));
    if (Name == QLatin1String(".") || Name == QLatin1String(".."))
        Name.fill(QLatin1Char('-'));
    return Name;
}

// Cleared with the other unit data when the program ends.
struct TCacheFinalizer
{
    ~TCacheFinalizer() { TVmPaths::ClearCommonAppDataCache(); }
} gCacheFinalizer;

} // namespace

bool IsExistingFolder(const QString &Path)
{
    return FolderExists(Path);
}

QString IncludeTrailingPathDelimiter(const QString &S)
{
    return S.endsWith(kDelimiter) ? S : S + kDelimiter;
}

void TVmPaths::FormatPathFolder(QString &Path)
{
    if (Path.isEmpty())
        return;
    Path = IncludeTrailingPathDelimiter(CleanPathCharacters(Path));
}

bool TVmPaths::IsLocalDrivePath(const QString &APath)
{
    return DriveTypeOfPath(APath) == TDriveType::Fixed;
}

QString TVmPaths::ExpandFirstVariable(const QString &S)
{
    const int first = S.indexOf(QLatin1Char('%'));
    if (first < 0)
        return S;
    const int second = S.indexOf(QLatin1Char('%'), first + 1);
    QString result = S;
    if (second < 0) {
        // A lone percent sign: the name is empty and every "%" goes.
        result.remove(QLatin1Char('%'));
        return result;
    }
    const QString token = S.mid(first, second - first + 1);
    const QString name = token.mid(1, token.size() - 2);
    const QString value = name.isEmpty() ? QString() : qEnvironmentVariable(name.toLocal8Bit().constData());
    result.replace(token, value, Qt::CaseInsensitive);
    return result;
}

bool TVmPaths::EnsureFolder(QString &P)
{
    if (P.isEmpty())
        return false;
    FormatPathFolder(P);
    P = IncludeTrailingPathDelimiter(P);
    if (IsExistingFolder(P))
        return true;
    QDir().mkpath(P);
    return IsExistingFolder(P);
}

QString TVmPaths::ReadShellFolder(TRoot Root)
{
    QString value;
    switch (Root) {
    case TRoot::CommonAppData:
        value = ReadRegistryString(THKey::LocalMachine, QLatin1String(kUserShellFolders),
                                   QStringLiteral("Common AppData"), QString());
        break;
    case TRoot::AppData:
        value = ReadRegistryString(THKey::CurrentUser, QLatin1String(kUserShellFolders),
                                   QStringLiteral("AppData"), QString());
        break;
    case TRoot::Personal:
        value = ReadRegistryString(THKey::CurrentUser, QLatin1String(kUserShellFolders),
                                   QStringLiteral("Personal"), QString());
        break;
    }
    value = ExpandFirstVariable(value);
    return value.isEmpty() ? value : IncludeTrailingPathDelimiter(value);
}

QString TVmPaths::CommonAppDataCache() { return ReadCache(); }

void TVmPaths::ClearCommonAppDataCache() { StoreCache(QString()); }

QString TVmPaths::ApplicationData(const QString &SubFolder)
{
    QString root = ReadCache();
    if (root.isEmpty()) {
        root = ReadShellFolder(TRoot::CommonAppData);
        if (!root.isEmpty())
            StoreCache(root);
    }
    QString p = root + SubFolder;
    return EnsureFolder(p) ? p : QString();
}

QString TVmPaths::ApplicationData_Vemra(const QString &SubFolder)
{
    return ApplicationData(QStringLiteral("Vemra") + kDelimiter + SubFolder);
}

QString TVmPaths::ApplicationData_CurrentUser(const QString &HLNumber, const QString &UserName)
{
    const QString base = ApplicationData_Vemra(QString());
    // Without the maker's folder there is nothing to build below it.
    if (base.isEmpty())
        return QString();
    QString p = IncludeTrailingPathDelimiter(base + CleanFolderName(HLNumber));
    p = IncludeTrailingPathDelimiter(p + QStringLiteral("Usuarios") + kDelimiter
                                     + CleanFolderName(UserName));
    return EnsureFolder(p) ? p : QString();
}

QString TVmPaths::ApplicationDataVemra_WindowsCurrentUser(const QString &HLNumber)
{
    // An unknown root leaves a relative path, never the file system's root.
    QString p = ReadShellFolder(TRoot::AppData);
    p += QStringLiteral("Vemra") + kDelimiter + CleanFolderName(HLNumber);
    return EnsureFolder(p) ? p : QString();
}

QString TVmPaths::MyDocuments(const QString &SubFolder)
{
    QString p = ReadShellFolder(TRoot::Personal) + SubFolder;
    return EnsureFolder(p) ? p : QString();
}
