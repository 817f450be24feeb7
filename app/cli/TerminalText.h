#pragma once
// A value for a terminal line: control characters, bidirectional controls
// and zero-width characters written as \uXXXX, so that nothing in a file's
// name or data can move the cursor or reorder the line.

#include <QString>

QString TerminalText(const QString &Value);
