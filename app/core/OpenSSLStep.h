#pragma once
// One step of a generation that runs openssl ("fallo genrsa", "fallo req"):
// its runs share the time limit of one run of ExecuteAndWait, openssl is
// stopped with everything it started when the limit passes, and any failure
// is an Exception with the step's message whose details hold the reason,
// OpenSSL's own output (its last lines), the command line and the working
// folder. Output that can hold a secret (a dump of a request's attributes,
// with its challenge password) is never put in them: such runs are marked
// by what they are, and their output is left out whole. Nothing else is
// altered, paths included. A cancelled wait is EAbort.

#include "Process.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QString>

// "51 segundos", "1 segundo", "0,5 segundos".
QString Seconds(qint64 Ms);

class TOpenSSLStep
{
public:
    TOpenSSLStep(const QString &Message, const QString &Program, const QString &Directory);

    // What a run prints: Plain output may be shown; Secret output (the
    // dump of a request with "asn1parse", "req -text") may hold the
    // challenge password and is never shown or logged.
    enum class TOutput { Plain, Secret };

    // Runs openssl with Parameters and returns its output; a run that cannot
    // be started, does not end within the step's limit or does not exit with
    // 0 fails the step (with Meaning, when given, as what a non-zero exit
    // means).
    QByteArray Run(const QString &Parameters, bool KeepErrors = true,
                   const QString &Meaning = QString(), TOutput Output = TOutput::Plain);

    // Fails the step for Problem, with the last run as the details.
    [[noreturn]] void Fail(const QString &Problem);

private:
    QString FMessage;
    QString FProgram;
    QString FDirectory;
    qint64 FLimit = 0;
    QElapsedTimer FClock;
    QString FParameters;
    TExecuteOutcome FOutcome;
    TOutput FOutputKind = TOutput::Plain;
};
