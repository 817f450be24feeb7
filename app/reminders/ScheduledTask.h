#pragma once
// The Windows Task Scheduler task of a folder's daily check, as the
// definition (task XML) and the parameter lines of schtasks.exe.

#include <QString>

struct TScheduledTask
{
    QString Name;      // the task's name, "zedede-avisos-..."
    QString UserId;    // the current user, "DOMINIO\usuario"
    QString Program;   // full path of ZeDede.exe
    QString Folder;    // the folder the check reads
};

// The task's name for User and Folder: unique per user, since every user's
// tasks share one list.
QString ScheduledTaskName(const QString &UserId, const QString &Folder);

// The task definition: every day and at the user's log-on, as that user and
// only while they are logged on, with the least privileges; a missed day
// runs as soon as it can.
QString ScheduledTaskXml(const TScheduledTask &Task);

// The parameters of schtasks.exe that create (or replace) the task from the
// definition in XmlFile, delete it, and ask for it (exit 0 when it exists).
QString SchtasksCreateParameters(const QString &Name, const QString &XmlFile);
QString SchtasksDeleteParameters(const QString &Name);
QString SchtasksQueryParameters(const QString &Name);
