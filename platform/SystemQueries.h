#pragma once
// Questions about the machine the program runs on.

#include <QString>
#include <QtGlobal>

// The fields of the system's extended version record that classify it.
struct TSystemVersion
{
    quint32 PlatformId = 0;
    quint32 MajorVersion = 0;
    quint32 MinorVersion = 0;
    QString CSDVersion;    // service-pack text
    quint8 ProductType = 0; // workstation, domain controller or server
};

// The running system's version record; false when the system has none
// (Linux) or the query fails.
bool QuerySystemVersion(TSystemVersion &Version);

// Size in bytes of the first file that matches Path (a directory counts 0),
// with the system's critical-error boxes off; false when none matches.
bool QueryFileSizeOf(const QString &Path, quint64 &Size);

// Colour depth of the screen in bits per pixel. Throws Exception when there
// is no screen to ask.
int ScreenColorDepth();
