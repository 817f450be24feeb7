#pragma once
// System queries: file size by name and the classification of the running
// Windows version.

#include <QString>
#include <QtGlobal>

// Ordinal values are relied on by callers (ranges of versions are tested).
enum TWindowsVersion {
    wvUnknown,
    wvWin95,
    wvWin95OSR2,
    wvWin98,
    wvWin98SE,
    wvWinME,
    wvWinNT31,
    wvWinNT35,
    wvWinNT351,
    wvWinNT4,
    wvWin2000,
    wvWinXP,
    wvWin2003,
    wvWinVista,
    wvWinServer2008,
    wvWinSeven,
    wvWinServer2008R2,
    wvWin8,
    wvWinServer2012,
    wvWin81,
    wvWinServer2012R2,
    wvWin10,
    wvWin10Server
};

// Platform identifiers of the version record.
constexpr quint32 VER_PLATFORM_WIN32s = 0;
constexpr quint32 VER_PLATFORM_WIN32_WINDOWS = 1;
constexpr quint32 VER_PLATFORM_WIN32_NT = 2;

// Product types of the extended version record.
constexpr quint8 VER_NT_WORKSTATION = 1;
constexpr quint8 VER_NT_DOMAIN_CONTROLLER = 2;
constexpr quint8 VER_NT_SERVER = 3;

// Size of a file in bytes, the whole 64-bit size (a log of several
// gigabytes must not read as a small or negative size), or -1 when no file
// matches.
qint64 QueryFileSize(const QString &Path);

// Pure classification of a Windows version record.
TWindowsVersion ClassifyWindowsVersion(quint32 PlatformId, quint32 MajorVersion,
                                       quint32 MinorVersion,
                                       const QString &CSDVersion,
                                       quint8 ProductType);

// The running system's version; wvUnknown when the system is not Windows or
// the query fails.
TWindowsVersion QueryWindowsVersion();

// Name of a value as written in code ("wvWin10").
QString WindowsVersionName(TWindowsVersion AVersion);
