#include "ConsoleRun.h"

#include "ConsoleText.h"

#include <QCoreApplication>
#include <QString>

#include <optional>

int RunWithConsoleStreams(int argc, char **argv, const TConsoleBody &ABody)
{
    std::optional<QCoreApplication> app;
    if (!QCoreApplication::instance()) {
        app.emplace(argc, argv);
        app->setApplicationName(QStringLiteral("ZeDede"));
    }
    QString out;
    QString err;
    QTextStream outStream(&out);
    QTextStream errStream(&err);
    const int code = ABody(outStream, errStream);
    outStream.flush();
    errStream.flush();
    WriteConsoleText(TConsoleStream::Output, out);
    WriteConsoleText(TConsoleStream::Error, err);
    return code;
}
