#include "DriveType.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>

namespace {

bool IsOneOf(const QString &Value, std::initializer_list<const char *> Names)
{
    for (const char *n : Names)
        if (Value == QLatin1String(n))
            return true;
    return false;
}

// Whether sysfs marks the block device (or the disk of a partition) as
// removable.
bool DeviceIsRemovable(const QByteArray &Device)
{
    const QString dev = QString::fromLocal8Bit(Device);
    if (!dev.startsWith(QLatin1String("/dev/")))
        return false;
    const QString real = QFileInfo(dev).canonicalFilePath();
    const QString name = QFileInfo(real.isEmpty() ? dev : real).fileName();
    if (name.isEmpty())
        return false;
    const QString sys =
        QFileInfo(QStringLiteral("/sys/class/block/") + name).canonicalFilePath();
    if (sys.isEmpty())
        return false;
    for (const QString &candidate : {sys + QStringLiteral("/removable"),
                                     sys + QStringLiteral("/../removable")}) {
        QFile f(candidate);
        if (f.open(QIODevice::ReadOnly))
            return f.readAll().trimmed() == "1";
    }
    return false;
}

} // namespace

TDriveType ClassifyFileSystem(const QString &FileSystemType, bool RemovableDevice)
{
    const QString fs = FileSystemType.toLower();
    if (fs.isEmpty())
        return TDriveType::Unknown;
    if (IsOneOf(fs, {"nfs", "nfs4", "cifs", "smb3", "smbfs", "ncpfs", "afs", "coda",
                     "9p", "ceph", "glusterfs", "lustre", "gfs2", "ocfs2", "davfs",
                     "sshfs", "ftpfs", "curlftpfs"})
        || (fs.startsWith(QLatin1String("fuse."))
            && IsOneOf(fs.mid(5), {"sshfs", "glusterfs", "davfs2", "rclone", "s3fs",
                                   "gcsfuse", "curlftpfs", "smbnetfs", "cephfs"})))
        return TDriveType::Remote;
    if (IsOneOf(fs, {"tmpfs", "ramfs"}))
        return TDriveType::RamDisk;
    if (IsOneOf(fs, {"iso9660", "udf"}))
        return TDriveType::CDRom;
    if (IsOneOf(fs, {"ext2", "ext3", "ext4", "xfs", "btrfs", "zfs", "f2fs", "jfs",
                     "reiserfs", "vfat", "msdos", "exfat", "ntfs", "ntfs3", "fuseblk",
                     "hfsplus", "nilfs2", "bcachefs", "overlay", "overlayfs"}))
        return RemovableDevice ? TDriveType::Removable : TDriveType::Fixed;
    return TDriveType::Unknown;
}

TDriveType DriveTypeOfPath(const QString &Path)
{
    if (Path.isEmpty() || !QDir::isAbsolutePath(Path))
        return TDriveType::NoRootDir;
    QString existing = QDir::cleanPath(Path);
    while (!QFileInfo::exists(existing)) {
        const QString parent = QFileInfo(existing).path();
        if (parent == existing)
            return TDriveType::Unknown;
        existing = parent;
    }
    const QStorageInfo storage(existing);
    if (!storage.isValid())
        return TDriveType::Unknown;
    const QString fs = QString::fromLatin1(storage.fileSystemType());
    return ClassifyFileSystem(fs, DeviceIsRemovable(storage.device()));
}
