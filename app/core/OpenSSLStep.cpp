#include "OpenSSLStep.h"

#include "Exception.h"

#include <algorithm>

QString Seconds(qint64 Ms)
{
    if (Ms == 1000)
        return QStringLiteral("1 segundo");
    const QString n = Ms % 1000 == 0 ? QString::number(Ms / 1000)
                                     : QString::number(Ms / 1000.0, 'f', 1).replace('.', ',');
    return n + QStringLiteral(" segundos");
}

TOpenSSLStep::TOpenSSLStep(const QString &Message, const QString &Program,
                           const QString &Directory)
    : FMessage(Message), FProgram(Program), FDirectory(Directory)
{
    const TExecuteWaits waits = ExecuteWaits();
    FLimit = qint64(waits.First) + qint64(waits.Second);
    FClock.start();
}

QByteArray TOpenSSLStep::Run(const QString &Parameters, bool KeepErrors, const QString &Meaning,
                             TOutput Output)
{
    FOutputKind = Output;
    TExecuteOptions options;
    options.StopIfAbandoned = true;
    options.PrivateFiles = true;
    options.KeepErrors = KeepErrors;
    options.TimeLimit = std::max<qint64>(0, FLimit - FClock.elapsed());
    FParameters = Parameters;
    ExecuteAndWait(FProgram, FDirectory, Parameters, options, FOutcome);
    if (FOutcome.Cancelled)
        throw EAbort();
    if (!FOutcome.Started)
        Fail(QStringLiteral("No se pudo ejecutar OpenSSL: %1.").arg(FOutcome.StartError));
    if (!FOutcome.Ended)
        Fail(QStringLiteral("OpenSSL no terminó dentro del límite de %1; se lo detuvo.")
                 .arg(Seconds(FLimit)));
    if (!FOutcome.Exited)
        Fail(QStringLiteral("OpenSSL terminó de forma anormal."));
    if (FOutcome.ExitCode != 0 && !Meaning.isEmpty())
        Fail(QStringLiteral("%1 (OpenSSL terminó con el código %2).")
                 .arg(Meaning)
                 .arg(FOutcome.ExitCode));
    if (FOutcome.ExitCode != 0)
        Fail(QStringLiteral("OpenSSL terminó con el código %1.").arg(FOutcome.ExitCode));
    return FOutcome.Output;
}

void TOpenSSLStep::Fail(const QString &Problem)
{
    QString details = Problem;
    if (!FParameters.isEmpty()) {
        const QString output = LastLines(FOutcome.Output, 20);
        if (FOutputKind == TOutput::Secret)
            details += QStringLiteral("\n\nLa salida de OpenSSL no se muestra: contiene el "
                                      "contenido del pedido, con su contraseña.");
        else
            details += output.isEmpty() ? QStringLiteral("\n\nOpenSSL no mostró ningún mensaje.")
                                        : QStringLiteral("\n\nSalida de OpenSSL:\n") + output;
        details += QStringLiteral("\n\nOrden: %1 %2\nCarpeta de trabajo: %3")
                       .arg(QuoteArgument(FProgram), FParameters, FDirectory);
    }
    throw Exception(FMessage, details);
}

