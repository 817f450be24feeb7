#include "VerifyCommand.h"

#include "CertificateReport.h"
#include "CommandLine.h"
#include "ConsoleRun.h"
#include "ConsoleText.h"

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
    return RunWithConsoleStreams(argc, argv, [&](QTextStream &Out, QTextStream &Err) {
        return RunVerifyWithoutWindow(AFile, Out, Err, AKeyFile);
    });
}
