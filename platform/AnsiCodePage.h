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
