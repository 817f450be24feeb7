#include "uJCLCopied.h"

#include <QFile>

#include <sys/stat.h>

qint64 QueryFileSize(const QString &Path)
{
    // Critical-error message boxes do not exist here: nothing to switch off.
    if (Path.isEmpty())
        return -1;
    struct stat st;
    if (::stat(QFile::encodeName(Path).constData(), &st) != 0)
        return -1;
    return S_ISDIR(st.st_mode) ? 0 : static_cast<qint64>(st.st_size);
}

TWindowsVersion ClassifyWindowsVersion(quint32 PlatformId, quint32 MajorVersion,
                                       quint32 MinorVersion, const QString &CSDVersion,
                                       quint8 ProductType)
{
    const QString sp = CSDVersion.trimmed();
    switch (PlatformId) {
    case VER_PLATFORM_WIN32_WINDOWS:
        if (MinorVersion < 10)
            return sp == QLatin1String("B") ? wvWin95OSR2 : wvWin95;
        if (MinorVersion < 90)
            return sp == QLatin1String("A") ? wvWin98SE : wvWin98;
        if (MinorVersion == 90)
            return wvWinME;
        return wvUnknown;
    case VER_PLATFORM_WIN32_NT:
        switch (MajorVersion) {
        case 3:
            switch (MinorVersion) {
            case 1: return wvWinNT31;
            case 5: return wvWinNT35;
            case 51: return wvWinNT351;
            default: return wvUnknown;
            }
        case 4:
            return wvWinNT4;
        case 5:
            switch (MinorVersion) {
            case 0: return wvWin2000;
            case 1: return wvWinXP;
            case 2: return wvWin2003;
            default: return wvUnknown;
            }
        case 6: {
            static const TWindowsVersion workstation[] = {wvWinVista, wvWinSeven, wvWin8, wvWin81};
            static const TWindowsVersion server[] = {wvWinServer2008, wvWinServer2008R2,
                                                     wvWinServer2012, wvWinServer2012R2};
            if (MinorVersion > 3)
                return wvUnknown;
            if (ProductType == VER_NT_WORKSTATION)
                return workstation[MinorVersion];
            if (ProductType == VER_NT_SERVER)
                return server[MinorVersion];
            return wvUnknown;
        }
        case 10:
            return ProductType == VER_NT_WORKSTATION ? wvWin10 : wvWin10Server;
        default:
            return wvUnknown;
        }
    default:
        return wvUnknown;
    }
}

TWindowsVersion QueryWindowsVersion()
{
    // The running system is not Windows: there is no version record to
    // classify, which reads as a failed query.
    return wvUnknown;
}

QString WindowsVersionName(TWindowsVersion AVersion)
{
    static const char *const names[] = {
        "wvUnknown", "wvWin95", "wvWin95OSR2", "wvWin98", "wvWin98SE", "wvWinME",
        "wvWinNT31", "wvWinNT35", "wvWinNT351", "wvWinNT4", "wvWin2000", "wvWinXP",
        "wvWin2003", "wvWinVista", "wvWinServer2008", "wvWinSeven",
        "wvWinServer2008R2", "wvWin8", "wvWinServer2012", "wvWin81",
        "wvWinServer2012R2", "wvWin10", "wvWin10Server"};
    const int i = static_cast<int>(AVersion);
    if (i < 0 || i >= static_cast<int>(sizeof(names) / sizeof(names[0])))
        return QString();
    return QLatin1String(names[i]);
}
