#pragma once
// "systemctl --user": the current user's service manager, through the
// program runner with a time limit.

#include <QString>
#include <QStringList>

struct TSystemctlResult
{
    bool Started = false;     // systemctl could be started
    bool Succeeded = false;   // it ended in time with exit status 0
    QString Output;           // its standard output and error, the last lines
};

class TUserSystemd
{
public:
    // The longest wait for one systemctl, in milliseconds.
    static constexpr int kTimeLimitMs = 30000;

    // Runs "systemctl --user Arguments...".
    static TSystemctlResult Run(const QStringList &Arguments);

    // The user's unit files: $XDG_CONFIG_HOME/systemd/user (by default
    // ~/.config/systemd/user).
    static QString UnitFolder();

    // $XDG_CONFIG_HOME, or ~/.config when it is unset or not absolute.
    static QString ConfigHome();
};
