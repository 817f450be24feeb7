#include "Drives.h"

#include <QStorageInfo>

#include <algorithm>

QList<TComputerDrive> ComputerDrives()
{
    QList<TComputerDrive> drives;
    drives.append({QStringLiteral("/"), QStringLiteral("/"), TDriveType::Fixed});
    QList<QStorageInfo> volumes = QStorageInfo::mountedVolumes();
    std::sort(volumes.begin(), volumes.end(), [](const QStorageInfo &a, const QStorageInfo &b) {
        return a.rootPath() < b.rootPath();
    });
    for (const QStorageInfo &v : volumes) {
        const QString root = v.rootPath();
        if (!v.isValid() || !v.isReady() || !v.device().startsWith("/dev/")
            || std::any_of(drives.cbegin(), drives.cend(),
                           [&](const TComputerDrive &d) { return d.RootPath == root; }))
            continue;
        const QString text = v.name().isEmpty()
                                 ? root
                                 : v.name() + QStringLiteral(" (") + root + QLatin1Char(')');
        drives.append({root, text, DriveTypeOfPath(root)});
    }
    return drives;
}

QString FileSystemRoot() { return QStringLiteral("/"); }
