#include "VerifyCommand.h"

#include "CertificateReport.h"
#include "CommandLine.h"
#include "ConsoleText.h"

#include <QCoreApplication>
#include <QTextStream>

namespace {

void Print(const QString &AText, TConsoleStream AStream)
{
    WriteConsoleText(AStream, AText);
}

} // namespace

QString VerifyWithoutFileText()
{
    return UsageErrorText(QStringLiteral("indique el archivo a verificar: zedede --verificar "
                                         "ARCHIVO --sin-ventana"));
}

int RunVerifyCommandWithoutWindow(int argc, char **argv, const QString &AFile,
                                  const QString &AKeyFile)
{
    if (AFile.isEmpty()) {
        Print(VerifyWithoutFileText(), TConsoleStream::Error);
        return veUnreadable;
    }
    QCoreApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("ZeDede"));
    QString text, errors;
    QTextStream out(&text), err(&errors);
    const int code = RunVerifyWithoutWindow(AFile, out, err, AKeyFile);
    out.flush();
    err.flush();
    Print(text, TConsoleStream::Output);
    Print(errors, TConsoleStream::Error);
    return code;
}
