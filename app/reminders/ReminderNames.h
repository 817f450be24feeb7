#pragma once
// What names the reminder of one folder: the folder as it is written into
// the schedule, and the name shared by its unit files, autostart entry or
// scheduled task.

#include <QString>
#include <QStringList>

// The prefix of every name the reminders use.
QString ReminderPrefix();   // "zedede-avisos-"

// Folder as an absolute path with links resolved when it exists (cleaned
// otherwise), in the system's own notation.
QString ReminderFolder(const QString &Folder);

// "zedede-avisos-" and 12 hexadecimal digits of a hash of Key: the same Key
// gives the same name on every run and every machine.
QString ReminderName(const QString &Key);

// The arguments of the check the schedule runs: --certificados Folder --avisar.
QStringList ReminderCheckArguments(const QString &Folder);
