#include "OpenSSLRun.h"

#include "ErrorLog.h"
#include "OpenSSLSetup.h"
#include "Pem.h"

#include <QFileInfo>
#include "Paths.h"
#include "Process.h"
#include "ProgramSafety.h"
#include <QStandardPaths>


QString TToolRun::Reason() const
{
    if (!Started)
        return StartError.isEmpty() ? QStringLiteral("No se pudo iniciar el programa.")
                                    : StartError;
    QString reason = WithoutPemBlocks(Output);
    if (!Finished && reason.isEmpty())
        return QStringLiteral("El programa no terminó a tiempo.");
    if (reason.isEmpty())
        reason = QStringLiteral("El programa terminó con el código %1.").arg(ExitCode);
    return reason;
}

TToolRun RunTool(const QString &Program, const QStringList &Arguments, int TimeoutMs)
{
    QStringList quoted;
    for (const QString &a : Arguments)
        quoted << QuoteArgument(a);
    TExecuteOptions options;
    options.StopIfAbandoned = true;
    options.KeepErrors = true;
    options.TimeLimit = TimeoutMs;
    options.OutputLimit = 1024 * 1024;
    TExecuteOutcome outcome;
    ExecuteAndWait(Program, QString(), quoted.join(QLatin1Char(' ')), options, outcome);
    TToolRun run;
    run.Started = outcome.Started;
    run.StartError = outcome.StartError;
    run.Finished = outcome.Ended && outcome.Exited;
    run.ExitCode = outcome.Exited ? outcome.ExitCode : -1;
    run.Output = outcome.Output;
    return run;
}

QString FindOpenSSLProgram()
{
    const QString dir = GetOpenSSLDir();
    if (!dir.isEmpty()) {
        const QString inFolder = dir + ProgramFileName(QStringLiteral("openssl"));
        if (QFileInfo(inFolder).isExecutable()) {
            const QString unsafe = UnsafeProgramReason(QFileInfo(inFolder).absoluteFilePath());
            if (!unsafe.isEmpty())
                throw EUnreadable(QStringLiteral("Por seguridad no se ejecuta el programa "
                                                 "OpenSSL, necesario para verificar el "
                                                 "certificado."),
                                  unsafe + QLatin1Char('.'));
            return inFolder;
        }
    }
    const QString onPath = QStandardPaths::findExecutable(QStringLiteral("openssl"));
    if (onPath.isEmpty())
        throw EUnreadable(QStringLiteral("No se encontró el programa OpenSSL, necesario para "
                                         "verificar el certificado."));
    const QString unsafe = UnsafeProgramReason(onPath);
    if (!unsafe.isEmpty())
        throw EUnreadable(QStringLiteral("Por seguridad no se ejecuta el programa OpenSSL, "
                                         "necesario para verificar el certificado."),
                          unsafe + QLatin1Char('.'));
    return onPath;
}

TToolRun RunOpenSSL(const QStringList &Arguments)
{
    return RunTool(FindOpenSSLProgram(), Arguments);
}

void LogToolError(const QString &AMessage, const QString &ADetails)
{
    LogError(QStringLiteral("Verificación de certificado"), AMessage, ADetails);
}
