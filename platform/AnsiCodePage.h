#pragma once
// Conversion between in-memory text and the 8-bit code page of every file the
// program writes itself (Windows-1252).

#include <QByteArray>
#include <QString>

// Converts to Windows-1252. A character the code page lacks becomes its base
// letter when it decomposes to an ASCII letter plus combining marks (ő -> o),
// otherwise "?".
QByteArray ToAnsi(const QString &Text);

// Converts Windows-1252 bytes to text.
QString FromAnsi(const QByteArray &Bytes);

// True when Windows-1252 holds the character (its five unassigned positions
// count as holding the C1 control of the same value).
bool AnsiHolds(char32_t Character);

// The first character of Text that a program reading its command line in
// the system's ANSI code page would not receive as it is (openssl.exe on
// Windows opens the files its arguments name that way); 0 when there is
// none. Always 0 where programs get their arguments unchanged (Linux).
char32_t CharacterProgramsLose(const QString &Text);
