#include "VerifyCommand.h"

#include "CertificateReport.h"

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
    return QStringLiteral("Indique el archivo a verificar: zedede --verificar ARCHIVO "
                          "--sin-ventana\n");
}

int RunVerifyCommandWithoutWindow(int argc, char **argv, const QString &AFile,
                                  const QString &AKeyFile)
{
    if (AFile.isEmpty()) {
        Print(VerifyWithoutFileText(), stderr);
        return veUnreadable;
    }
    QCoreApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("ZeDede"));
    QString text, errors;
    QTextStream out(&text), err(&errors);
    const int code = RunVerifyWithoutWindow(AFile, out, err, AKeyFile);
    out.flush();
    err.flush();
    Print(text, stdout);
    Print(errors, stderr);
    return code;
}
