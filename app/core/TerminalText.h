#pragma once
// Text written to a terminal that cannot act on it: values read from files
// (names in certificates, file names) may hold characters that move the
// cursor, erase the screen or reorder what is shown.

#include <QString>

// Text with every control character (C0, DEL, C1), format character
// (bidirectional overrides and isolates, marks, zero-width characters), line
// or paragraph separator and unpaired surrogate written as \uXXXX; every
// other character stays as it is.
QString TerminalSafe(const QString &Text);
