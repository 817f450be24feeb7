#include "ConsoleText.h"

#include <QByteArray>

#include <cstdio>

bool WriteConsoleText(TConsoleStream AStream, const QString &AText)
{
    FILE *stream = AStream == TConsoleStream::Output ? stdout : stderr;
    const QByteArray bytes = AText.toUtf8();
    return std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream) == size_t(bytes.size())
           && std::fflush(stream) == 0;
}

bool HasStandardOutput()
{
    return true;
}

void ShowSystemMessage(const QString &, const QString &AText)
{
    WriteConsoleText(TConsoleStream::Error,
                     AText.endsWith(QLatin1Char('\n')) ? AText : AText + QLatin1Char('\n'));
}
