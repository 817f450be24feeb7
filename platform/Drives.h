#pragma once
// The computer's drives, as a folder dialog offers them under "Equipo".

#include "DriveType.h"

#include <QList>
#include <QString>

struct TComputerDrive
{
    QString RootPath; // as Qt writes paths: "/", "/media/datos"; "C:/" on Windows
    QString Text;     // what the user reads: "datos (/media/datos)", "Disco local (C:)"
    TDriveType Type = TDriveType::Unknown;
};

// Linux: the root and every mounted block device, by mount point. Windows:
// the system's drive letters (GetLogicalDriveStringsW, GetDriveTypeW), each
// with its volume's label or else the kind of drive, in letter order.
QList<TComputerDrive> ComputerDrives();

// The one folder every path starts from, when the system has one ("/" on
// Linux); empty on Windows, where each drive is a root of its own.
QString FileSystemRoot();
