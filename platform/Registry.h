#pragma once
// Registry values the program reads, answered from their Linux sources.
//
//   LocalMachine  SYSTEM\CurrentControlSet\Control\Session Manager\Environment
//                 any name: KEY=VALUE lines of /etc/environment, then of
//                 $XDG_CONFIG_HOME/Vemra/environment (the later file wins)
//   LocalMachine  ...\Explorer\User Shell Folders  "Common AppData": $XDG_DATA_HOME
//   CurrentUser   ...\Explorer\User Shell Folders  "AppData":        $XDG_CONFIG_HOME
//   CurrentUser   ...\Explorer\(User )Shell Folders "Personal":      documents folder
//
// Anything else reads as missing. Every call reads its source afresh.

#include <QString>

enum class THKey { LocalMachine, CurrentUser };

// Returns the value as stored (no expansion of %VAR% references), or Default
// when the key or value is missing or cannot be read. Never throws.
QString ReadRegistryString(THKey Root, const QString &Key, const QString &Name,
                           const QString &Default);

// The files that stand in for the machine environment, in reading order.
QString SystemEnvironmentFile();
QString UserEnvironmentFile();

// $XDG_DATA_HOME and $XDG_CONFIG_HOME with their defaults, without a
// trailing delimiter.
QString XdgDataHome();
QString XdgConfigHome();
