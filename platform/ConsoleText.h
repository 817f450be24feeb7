#pragma once
// Text for a terminal: written so that it arrives as the characters it
// holds. Linux: UTF-8 bytes. Windows: to a console in Unicode (WriteConsoleW,
// whatever its code page); redirected to a file or a pipe, UTF-8 bytes.

#include <QString>

enum class TConsoleStream { Output, Error };

// Writes AText to standard output or standard error and flushes it; false
// when it could not be written whole.
bool WriteConsoleText(TConsoleStream AStream, const QString &AText);
