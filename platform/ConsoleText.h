#pragma once
// Text for a terminal: written so that it arrives as the characters it
// holds. Linux: UTF-8 bytes. Windows: to a console in Unicode (WriteConsoleW,
// whatever its code page); redirected to a file or a pipe, UTF-8 bytes.

#include <QString>

enum class TConsoleStream { Output, Error };

// Writes AText to standard output or standard error and flushes it; false
// when it could not be written whole.
bool WriteConsoleText(TConsoleStream AStream, const QString &AText);

// True when standard output goes somewhere: a terminal, a file or a pipe. A
// Windows program without a console that was not redirected has none.
bool HasStandardOutput();

// Tells the user AText in a box of the system's (Windows) or on standard
// error (Linux), for a program that has no window of its own to show it in.
void ShowSystemMessage(const QString &ATitle, const QString &AText);
