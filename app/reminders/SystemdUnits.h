#pragma once
// The systemd user units of a folder's daily check: a timer and the
// service it starts.

#include <QString>
#include <QStringList>

// Word as one argument of a command line of a unit file (ExecStart=): in
// double quotes, with backslash, quote and control characters escaped the
// C way, "%" doubled (specifiers) and "$" doubled (environment variables),
// so that systemd passes it on unchanged.
QString SystemdQuote(const QString &Word);

// The command line of ExecStart=: Program and Arguments, quoted. systemd
// does not expand variables in the program's path (only "%" is doubled
// there) and refuses a path with quotes, backslashes or control
// characters: such a program is started by /bin/sh as its $0.
QString SystemdCommandLine(const QString &Program, const QStringList &Arguments);

// Text for a single-line setting such as Description=: specifiers escaped,
// control characters replaced by blanks.
QString SystemdPlainValue(const QString &Text);

// The service: runs Program with the check's arguments for Folder once.
QString ReminderServiceText(const QString &Program, const QString &Folder);

// The timer: starts Service every day (a missed day at the next start of
// the user's session), and shortly after the session starts.
QString ReminderTimerText(const QString &Service, const QString &Folder);
