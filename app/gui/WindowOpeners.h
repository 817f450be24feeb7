#pragma once
// How one window opens another. The program sets these once
// (InstallWindowOpeners in ZeDedeApp.h), so that the windows do not include
// each other: the wizard's guide opens the check, the check opens a
// renewal's wizard and "Mis certificados". Unset, the action does nothing.

#include <QString>

#include <functional>

struct TWindowOpeners
{
    // The check's window for File (none chosen when empty), looking for keys
    // in DefaultFolder as well when given.
    std::function<void(const QString &File, const QString &DefaultFolder)> Check;
    // The wizard for a renewal of CertificateFile.
    std::function<void(const QString &CertificateFile)> Renewal;
    // "Mis certificados" on Folder (the default folder when empty).
    std::function<void(const QString &Folder)> Book;
};

TWindowOpeners &WindowOpeners();
