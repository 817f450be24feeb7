#pragma once
// The XDG autostart entry that runs a folder's check at log-in, for
// sessions without a systemd user manager.

#include <QString>

// Word as one argument of a desktop entry's Exec= key: in double quotes,
// " ` $ escaped by a backslash, a backslash written as four (escaped, then
// doubled as a string value), "%" doubled, line breaks and tabs as \n \t \r.
// Throws Exception for another control character, which a desktop entry
// cannot hold.
QString DesktopExecQuote(const QString &Word);

// The entry: runs Program with the check's arguments for Folder (through
// /bin/sh when Program's path holds a "%").
QString ReminderAutostartText(const QString &Program, const QString &Folder);
