#include "OpenSSLRun.h"

#include "OpenSSLSetup.h"
#include "uVmWriteToLog.h"

#include <QFileInfo>
#include <QProcess>
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
    QString reason = WithoutPemBlocks(Errors);
    if (!Started)
        return QStringLiteral("No se pudo iniciar el programa.");
    if (!Finished && reason.isEmpty())
        return QStringLiteral("El programa no terminó a tiempo.");
    if (reason.isEmpty())
        reason = WithoutPemBlocks(Output);
    if (reason.isEmpty())
        reason = QStringLiteral("El programa terminó con el código %1.").arg(ExitCode);
    return reason;
}

TToolRun RunTool(const QString &Program, const QStringList &Arguments, int TimeoutMs)
{
    TToolRun run;
    QProcess process;
    process.setProgram(Program);
    process.setArguments(Arguments);
    process.setStandardInputFile(QProcess::nullDevice());
    process.start();
    if (!process.waitForStarted(TimeoutMs)) {
        run.Errors = process.errorString().toLocal8Bit();
        return run;
    }
    run.Started = true;
    if (!process.waitForFinished(TimeoutMs)) {
        process.kill();
        process.waitForFinished(1000);
        run.Output = process.readAllStandardOutput();
        run.Errors = process.readAllStandardError();
        return run;
    }
    run.Output = process.readAllStandardOutput();
    run.Errors = process.readAllStandardError();
    run.Finished = process.exitStatus() == QProcess::NormalExit;
    run.ExitCode = run.Finished ? process.exitCode() : -1;
    return run;
}

QString CheckOpenSSLProgram()
{
    const QString dir = GetOpenSSLDir();
    if (!dir.isEmpty()) {
        const QString inFolder = dir + QStringLiteral("openssl");
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
    QString entry = AMessage;
    if (!ADetails.isEmpty())
        entry += QStringLiteral(" | ") + QString(ADetails).replace(QLatin1Char('\n'), QStringLiteral(" | "));
    TManagedLogFile::Write(ltError, entry);
}
