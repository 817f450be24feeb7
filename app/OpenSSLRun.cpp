#include "OpenSSLRun.h"

#include "OpenSSLSetup.h"
#include "uVmWriteToLog.h"

#include <QFileInfo>
#include "Paths.h"
#include "Process.h"
#include <QStandardPaths>

namespace {

// Text without its PEM blocks: what openssl printed of keys or certificates
// never reaches an error's details or the log.
QString WithoutPemBlocks(const QByteArray &AText)
{
    QStringList kept;
    bool inBlock = false;
    for (const QString &line : QString::fromLocal8Bit(AText).split(QLatin1Char('\n'))) {
        if (line.startsWith(QLatin1String("-----BEGIN ")))
            inBlock = true;
        else if (!inBlock)
            kept << line;
        if (inBlock && line.startsWith(QLatin1String("-----END ")))
            inBlock = false;
    }
    return kept.join(QLatin1Char('\n')).trimmed();
}

} // namespace

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

QString CheckOpenSSLProgram()
{
    const QString dir = GetOpenSSLDir();
    if (!dir.isEmpty()) {
        const QString inFolder = dir + ProgramFileName(QStringLiteral("openssl"));
        if (QFileInfo(inFolder).isExecutable())
            return inFolder;
    }
    const QString onPath = QStandardPaths::findExecutable(QStringLiteral("openssl"));
    if (onPath.isEmpty())
        throw EUnreadable(QStringLiteral("No se encontró el programa OpenSSL, necesario para "
                                         "verificar el certificado."));
    return onPath;
}

TToolRun RunOpenSSL(const QStringList &Arguments)
{
    return RunTool(CheckOpenSSLProgram(), Arguments);
}

void LogToolError(const QString &AMessage, const QString &ADetails)
{
    TManagedLogFile::Write(ltError, QStringLiteral("Verificación de certificado: ") + AMessage);
    for (const QString &line : ADetails.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        TManagedLogFile::Write(ltError, QStringLiteral("  ") + line);
}
