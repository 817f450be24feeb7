#include "SystemQueries.h"

#include "Exception.h"

#include <QDir>

#include <windows.h>

bool QuerySystemVersion(TSystemVersion &Version)
{
    Version = TSystemVersion();
    OSVERSIONINFOEXW info{};
    info.dwOSVersionInfoSize = sizeof info; // 284 bytes: the product type too
    static_assert(sizeof(OSVERSIONINFOEXW) == 284, "extended version record");
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    // The program's manifest names the systems it supports, so the record
    // tells the real version, not that of an older system.
    if (!GetVersionExW(reinterpret_cast<OSVERSIONINFOW *>(&info)))
        return false;
#pragma GCC diagnostic pop
    Version.PlatformId = info.dwPlatformId;
    Version.MajorVersion = info.dwMajorVersion;
    Version.MinorVersion = info.dwMinorVersion;
    Version.CSDVersion = QString::fromWCharArray(info.szCSDVersion);
    Version.ProductType = info.wProductType;
    return true;
}

bool QueryFileSizeOf(const QString &Path, quint64 &Size)
{
    Size = 0;
    if (Path.isEmpty())
        return false;
    // No "drive not ready" box, whatever the path names; the previous mode
    // comes back afterwards.
    const UINT previous = SetErrorMode(SEM_FAILCRITICALERRORS);
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW(QDir::toNativeSeparators(Path).toStdWString().c_str(), &found);
    const bool ok = search != INVALID_HANDLE_VALUE;
    if (ok) {
        Size = (static_cast<quint64>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
        FindClose(search);
    }
    SetErrorMode(previous);
    return ok;
}

int ScreenColorDepth()
{
    HDC dc = GetDC(nullptr);
    if (!dc)
        throw Exception(QStringLiteral("No hay pantalla para leer la profundidad de color."));
    const int depth = GetDeviceCaps(dc, BITSPIXEL) * GetDeviceCaps(dc, PLANES);
    ReleaseDC(nullptr, dc);
    return depth;
}
