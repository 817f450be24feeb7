#pragma once
// Starting external programs and waiting for them.
//
// A program is started directly (no shell) with its parameter line split the
// way Windows splits a command line: blanks separate arguments, double quotes
// group, and backslashes escape a double quote only when they precede one.
// Its standard input is empty; its standard output and error are kept (the
// last part of them) so that a failure can show the program's own reason.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>

// The two waits of ExecuteAndWait, in milliseconds.
struct TExecuteWaits
{
    int First = 1000;
    int Second = 50000;
};

// The waits every ExecuteAndWait uses; tests shorten them.
TExecuteWaits ExecuteWaits();
void SetExecuteWaits(const TExecuteWaits &Waits);

// How one run is done.
struct TExecuteOptions
{
    // When the wait is given up (time limit passed, or cancelled), stop the
    // program together with every process it started. Otherwise it is left
    // running on its own. Such a program never outlives this one either: it
    // is stopped when this program ends, crashes or is killed (Linux: a
    // parent-death signal, and SIGTERM, SIGINT and SIGHUP stop it first;
    // Windows: its job ends with this program).
    bool StopIfAbandoned = false;
    // Files the program creates are readable and writable by their owner only.
    bool PrivateFiles = false;
    // Keep the standard error along with the standard output.
    bool KeepErrors = true;
    // The longest wait in milliseconds; negative: the two waits of
    // ExecuteWaits() together.
    qint64 TimeLimit = -1;
    // How much of the output is kept: its last OutputLimit bytes.
    int OutputLimit = 64 * 1024;
    // The program deals with the user through windows of its own (an
    // installer). On Windows the shell starts it, as if it were opened from
    // the desktop, so that it can ask for the rights it needs; no output is
    // kept then, and a program abandoned is stopped alone, without what it
    // started. Other programs are started directly, without a console
    // window. Elsewhere this changes nothing.
    bool ThroughShell = false;
};

// What became of one run.
struct TExecuteOutcome
{
    bool Started = false;   // the program could be started
    bool Ended = false;     // it ended within the waits
    bool Exited = false;    // it ended by exiting (not by a signal)
    int ExitCode = -1;      // its exit status when Exited
    bool Cancelled = false; // the wait was given up because it was cancelled
    bool Stopped = false;   // it was stopped after the wait was given up
    QString StartError;     // the system's reason when it could not be started
    QByteArray Output;      // standard output (and error), the last part
    bool OutputCut = false; // Output lost its beginning to OutputLimit

    // Ended in time with exit status 0.
    bool Succeeded() const { return Ended && Exited && ExitCode == 0; }
};

// Where a thread spends the time while a program it started runs. Without a
// runner the thread blocks. A user interface installs one that hands the
// blocking wait to another thread and keeps its own events flowing until it
// returns; it can also ask running waits to give up.
class TWaitRunner
{
public:
    virtual ~TWaitRunner() = default;
    // Runs Wait (which blocks) to its end.
    virtual void Run(const std::function<void()> &Wait) = 0;
    // True when the waits it runs should give up now. Asked from the thread
    // that runs Wait.
    virtual bool Cancelled() const = 0;
};

// The calling thread's runner (null: block); returns the one it replaces.
TWaitRunner *SetWaitRunner(TWaitRunner *Runner);
TWaitRunner *CurrentWaitRunner();

// Starts FileName in Directory with the parameter line Parameters, waits
// First ms and, if it is still running, Second ms more. True when the program
// started and ended within the waits, whatever its exit status. A program
// still running afterwards is left running (and reaped when it ends).
bool ExecuteAndWait(const QString &FileName, const QString &Directory,
                    const QString &Parameters);
bool ExecuteAndWait(const QString &FileName, const QString &Directory,
                    const QString &Parameters, TExecuteOutcome &Outcome);
bool ExecuteAndWait(const QString &FileName, const QString &Directory,
                    const QString &Parameters, const TExecuteOptions &Options,
                    TExecuteOutcome &Outcome);

// Starts FileName with Parameters in Directory, waits at most TimeoutMs and
// returns its standard output; false when it could not be started, did not
// end in time (it is then stopped) or did not exit with status 0.
bool ReadProgramOutput(const QString &FileName, const QString &Directory,
                       const QString &Parameters, int TimeoutMs, QByteArray &Output);

// True while a process with that id exists (also one of another user).
bool ProcessAlive(qint64 Pid);

// Splits a parameter line by the Windows command-line rules.
QStringList SplitCommandLine(const QString &Parameters);

// Encloses Argument in double quotes so that SplitCommandLine gives it back
// unchanged, whatever quotes, backslashes or blanks it holds.
QString QuoteArgument(const QString &Argument);

// The last Count lines of Output, as text (invalid UTF-8 taken as Latin-1).
QString LastLines(const QByteArray &Output, int Count);
