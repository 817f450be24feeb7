#pragma once
// What must not outlive the program when it is ended from outside: on
// Linux by SIGTERM, SIGINT or SIGHUP (a closed terminal, a logout, Ctrl+C),
// on Windows by a console's close, Ctrl+C, logoff or shutdown. Registered
// processes are stopped with everything they started and registered files
// are removed; then the program ends as the signal would have ended it.
//
// The handler does only what is safe inside a signal handler (kill,
// unlink), on entries registered beforehand in a fixed table, so it works
// whatever the program was doing, an event loop running or not. A handler
// is installed with the first registration; a signal the program ignores
// (started under nohup) stays ignored.

#include <QString>
#include <QtGlobal>

// Registers a started process (on Linux also its process group); returns a
// ticket for ForgetExitProcess, or -1 when the table is full.
int RemoveProcessAtExit(qint64 Pid);
void ForgetExitProcess(int Ticket);

// Registers a file to remove; returns a ticket for ForgetExitFile, or -1
// when the table is full or the name is too long.
int RemoveFileAtExit(const QString &Path);
void ForgetExitFile(int Ticket);
