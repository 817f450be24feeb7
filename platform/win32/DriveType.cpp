#include "DriveType.h"

#include <windows.h>

TDriveType ClassifyFileSystem(const QString &FileSystemType, bool RemovableDevice)
{
    // Windows classifies drives itself (DriveTypeOfPath); this stays for
    // callers that name a file system.
    const QString fs = FileSystemType.toLower();
    if (fs.isEmpty())
        return TDriveType::Unknown;
    if (fs == QLatin1String("cdfs") || fs == QLatin1String("udf"))
        return TDriveType::CDRom;
    if (fs == QLatin1String("ntfs") || fs == QLatin1String("fat") || fs == QLatin1String("fat32")
        || fs == QLatin1String("exfat") || fs == QLatin1String("refs"))
        return RemovableDevice ? TDriveType::Removable : TDriveType::Fixed;
    return TDriveType::Unknown;
}

TDriveType DriveTypeOfPath(const QString &Path)
{
    // The drive is the first piece of the path up to its first "\" ("D:" of
    // "D:\Datos\x"), given to the system as a root, with its "\".
    if (Path.isEmpty())
        return TDriveType::NoRootDir;
    const int slash = Path.indexOf(QLatin1Char('\\'));
    const QString first = slash < 0 ? Path : Path.left(slash);
    if (first.isEmpty())
        return TDriveType::NoRootDir; // "\\server\share" or "\dir": no drive
    const std::wstring root = (first + QLatin1Char('\\')).toStdWString();
    const UINT type = GetDriveTypeW(root.c_str());
    switch (type) {
    case DRIVE_NO_ROOT_DIR: return TDriveType::NoRootDir;
    case DRIVE_REMOVABLE: return TDriveType::Removable;
    case DRIVE_FIXED: return TDriveType::Fixed;
    case DRIVE_REMOTE: return TDriveType::Remote;
    case DRIVE_CDROM: return TDriveType::CDRom;
    case DRIVE_RAMDISK: return TDriveType::RamDisk;
    default: return TDriveType::Unknown;
    }
}
