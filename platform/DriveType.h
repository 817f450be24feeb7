#pragma once
// Kind of drive a path lives on. On Linux the "drive" of a path is the file
// system that holds it.

#include <QString>

// Values as the Windows drive-type query reports them.
enum class TDriveType {
    Unknown = 0,   // cannot be classified
    NoRootDir = 1, // the path names no drive (empty or relative)
    Removable = 2,
    Fixed = 3,
    Remote = 4,
    CDRom = 5,
    RamDisk = 6
};

// Classifies a file system by its type name (as in /proc/mounts) and by
// whether its block device is marked removable.
TDriveType ClassifyFileSystem(const QString &FileSystemType, bool RemovableDevice);

// Drive type of the file system holding Path, or of its nearest existing
// parent folder when Path does not exist yet. Relative paths give NoRootDir.
TDriveType DriveTypeOfPath(const QString &Path);
