#pragma once
// Turning the daily check of a folder on and off for the current user, and
// reading whether it is on. The state lives in the system only: the unit
// files and the user's service manager, the autostart entry, or the task of
// the Task Scheduler.

#include <QString>

class TReminderSchedule
{
public:
    // How the check of a folder is scheduled.
    enum TKind {
        rkNone,            // not at all
        rkSystemdTimer,    // Linux: a systemd user timer, enabled
        rkAutostart,       // Linux without a user manager: at log-in
        rkScheduledTask    // Windows: a task of the Task Scheduler
    };

    // Program is the program the check runs; empty: this program.
    explicit TReminderSchedule(const QString &Program = QString());

    // Turns the daily check of Folder on (again: with the current program).
    // Throws Exception when the folder cannot be read or the system refuses.
    void Enable(const QString &Folder) const;
    // Removes every trace of the check of Folder; nothing to remove is fine.
    // Throws Exception when something cannot be removed.
    void Disable(const QString &Folder) const;
    bool IsEnabled(const QString &Folder) const { return Kind(Folder) != rkNone; }
    TKind Kind(const QString &Folder) const;

    // The files of Folder's check on Linux (they need not exist).
    static QString TimerFile(const QString &Folder);
    static QString ServiceFile(const QString &Folder);
    static QString AutostartFile(const QString &Folder);

private:
    QString FProgram;
};
