#pragma once
// Running the openssl program for the certificate checks through the
// program's process runner: arguments passed as a list (each quoted for the
// runner's parameter line; no shell), an empty standard input (secrets go
// through owner-only files, never the command line), its exit status and its
// output kept, and a time limit after which it is stopped.

#include "Exception.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// An error whose message is the user's text and whose details are the
// program's own reason, shown apart and logged.
class EToolError : public Exception
{
public:
    explicit EToolError(const QString &AMessage, const QString &ADetails = QString())
        : Exception(AMessage, ADetails) {}
};

// The file to check cannot be read at all (missing, not a file, no
// permission) or the openssl program is missing: nothing could be judged.
class EUnreadable : public EToolError
{
public:
    using EToolError::EToolError;
};

// What became of one run.
struct TToolRun
{
    bool Started = false;
    QString StartError;     // the system's reason when it could not start
    bool Finished = false;  // ended by itself within the time limit
    int ExitCode = -1;      // its exit status when it exited normally
    QByteArray Output;      // standard output and error

    bool Succeeded() const { return Finished && ExitCode == 0; }
    // The output as text for an error's details, without PEM blocks.
    QString Reason() const;
};

// The time limit of every openssl run of the checks, in milliseconds.
constexpr int kToolTimeoutMs = 30000;

// Starts Program with Arguments and waits at most TimeoutMs (stopping it
// after that).
TToolRun RunTool(const QString &Program, const QStringList &Arguments,
                 int TimeoutMs = kToolTimeoutMs);

// The openssl the checks use: the one in the OpenSSL folder the wizard uses
// when that holds one, else the one on the search path. Throws EUnreadable
// when there is none.
QString FindOpenSSLProgram();

// RunTool with FindOpenSSLProgram().
TToolRun RunOpenSSL(const QStringList &Arguments);

// Writes Message and Details to the program's log as an error entry.
void LogToolError(const QString &AMessage, const QString &ADetails);
