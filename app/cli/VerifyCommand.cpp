#include "VerifyCommand.h"

#include "CertificateReport.h"
#include "CommandLine.h"

#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>

namespace {

void Print(const QString &AText, FILE *AStream)
{
    const QByteArray bytes = AText.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), AStream);
    std::fflush(AStream);
}

} // namespace

QString VerifyWithoutFileText()
{
    return UsageErrorText(QStringLiteral("indique el archivo a verificar: zedede --verificar "
                                         "ARCHIVO --sin-ventana"));
}

int RunVerifyCommandWithoutWindow(int argc, char **argv, const QString &AFile)
{
    if (AFile.isEmpty()) {
        Print(VerifyWithoutFileText(), stderr);
        return veUnreadable;
    }
    QCoreApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("ZeDede"));
    QString text;
    QTextStream out(&text);
    const int code = RunVerifyWithoutWindow(AFile, out);
    out.flush();
    Print(text, stdout);
    return code;
}
