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
