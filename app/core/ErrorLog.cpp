#include "ErrorLog.h"

#include "uVmWriteToLog.h"

#include <QStringList>

void LogError(const QString &Context, const QString &Message, const QString &Details)
{
    TManagedLogFile::Write(ltError, Context + QStringLiteral(": ") + Message);
    for (const QString &line : Details.split(QLatin1Char('\n'))) {
        if (!line.trimmed().isEmpty())
            TManagedLogFile::Write(ltError, QStringLiteral("  ") + line);
    }
}
