#pragma once
// Starting external programs and waiting for them.
//
// A program is started directly (no shell) with its parameter line split the
// way Windows splits a command line: blanks separate arguments, double quotes
// group, and backslashes escape a double quote only when they precede one.
// Its standard input, output and error are /dev/null.

#include <QByteArray>
#include <QString>
#include <QStringList>

// The two waits of ExecuteAndWait, in milliseconds.
struct TExecuteWaits
{
    int First = 1000;
    int Second = 50000;
};

// The waits every ExecuteAndWait uses; tests shorten them.
TExecuteWaits ExecuteWaits();
void SetExecuteWaits(const TExecuteWaits &Waits);

// What became of one run.
struct TExecuteOutcome
{
    bool Started = false;   // the program could be started
    bool Ended = false;     // it ended within the waits
    bool Exited = false;    // it ended by exiting (not by a signal)
    int ExitCode = -1;      // its exit status when Exited

    // Ended in time with exit status 0.
    bool Succeeded() const { return Ended && Exited && ExitCode == 0; }
};

// Starts FileName in Directory with the parameter line Parameters, waits
// First ms and, if it is still running, Second ms more. True when the program
// started and ended within the waits, whatever its exit status. A program
// still running afterwards is left running (and reaped when it ends).
bool ExecuteAndWait(const QString &FileName, const QString &Directory,
                    const QString &Parameters);
bool ExecuteAndWait(const QString &FileName, const QString &Directory,
                    const QString &Parameters, TExecuteOutcome &Outcome);

// Starts FileName with Parameters in Directory, waits at most TimeoutMs and
// returns its standard output; false when it could not be started, did not
// end in time (it is then stopped) or did not exit with status 0.
bool ReadProgramOutput(const QString &FileName, const QString &Directory,
                       const QString &Parameters, int TimeoutMs, QByteArray &Output);

// Splits a parameter line by the Windows command-line rules.
QStringList SplitCommandLine(const QString &Parameters);

// Encloses Argument in double quotes so that SplitCommandLine gives it back
// unchanged, whatever quotes, backslashes or blanks it holds.
QString QuoteArgument(const QString &Argument);
