#pragma once
// Errors written to the program's log: the message on one line, prefixed by
// what the program was doing, then each line of its details indented.

#include <QString>

// Context: what was under way ("Verificación de certificado").
void LogError(const QString &Context, const QString &Message, const QString &Details = QString());
