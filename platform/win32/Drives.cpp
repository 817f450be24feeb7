#include "Drives.h"

#include <windows.h>

#include <vector>

namespace {

QString KindText(UINT Type)
{
    switch (Type) {
    case DRIVE_REMOVABLE: return QStringLiteral("Disco extraíble");
    case DRIVE_FIXED: return QStringLiteral("Disco local");
    case DRIVE_REMOTE: return QStringLiteral("Unidad de red");
    case DRIVE_CDROM: return QStringLiteral("Unidad de CD");
    case DRIVE_RAMDISK: return QStringLiteral("Disco RAM");
    default: return QStringLiteral("Unidad");
    }
}

TDriveType DriveTypeOf(UINT Type)
{
    switch (Type) {
    case DRIVE_REMOVABLE: return TDriveType::Removable;
    case DRIVE_FIXED: return TDriveType::Fixed;
    case DRIVE_REMOTE: return TDriveType::Remote;
    case DRIVE_CDROM: return TDriveType::CDRom;
    case DRIVE_RAMDISK: return TDriveType::RamDisk;
    default: return TDriveType::Unknown;
    }
}

} // namespace

QList<TComputerDrive> ComputerDrives()
{
    QList<TComputerDrive> drives;
    const DWORD size = GetLogicalDriveStringsW(0, nullptr);
    if (size == 0)
        return drives;
    std::vector<wchar_t> buffer(size + 1, L'\0');
    if (GetLogicalDriveStringsW(size, buffer.data()) == 0)
        return drives;
    // A drive without a disk in it is listed without asking the user for one.
    const UINT previousMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    for (const wchar_t *root = buffer.data(); *root; root += wcslen(root) + 1) {
        const UINT type = GetDriveTypeW(root);
        if (type == DRIVE_NO_ROOT_DIR || type == DRIVE_UNKNOWN)
            continue;
        wchar_t label[MAX_PATH + 1] = L"";
        if (type != DRIVE_REMOTE
            && !GetVolumeInformationW(root, label, MAX_PATH + 1, nullptr, nullptr, nullptr, nullptr, 0))
            label[0] = L'\0';
        const QString letter = QString::fromWCharArray(root, 2); // "C:"
        const QString name = QString::fromWCharArray(label).trimmed();
        drives.append({letter + QLatin1Char('/'),
                       (name.isEmpty() ? KindText(type) : name) + QStringLiteral(" (") + letter
                           + QLatin1Char(')'),
                       DriveTypeOf(type)});
    }
    SetErrorMode(previousMode);
    return drives;
}

QString FileSystemRoot() { return QString(); }
