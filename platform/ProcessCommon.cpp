// The parts of the program runner that do not depend on the system: the
// waits, where a wait runs, quoting, the output's last lines and the short
// forms of ExecuteAndWait. Process.cpp (Linux) and win32/Process.cpp start
// and wait for the programs themselves.
#include "Process.h"

#include <atomic>

namespace {

std::atomic<int> GFirstWait{TExecuteWaits().First};
std::atomic<int> GSecondWait{TExecuteWaits().Second};
thread_local TWaitRunner *GWaitRunner = nullptr;

} // namespace

bool ExecuteAndWait(const QString &FileName, const QString &Directory,
                    const QString &Parameters)
{
    TExecuteOutcome outcome;
    return ExecuteAndWait(FileName, Directory, Parameters, outcome);
}

bool ExecuteAndWait(const QString &FileName, const QString &Directory,
                    const QString &Parameters, TExecuteOutcome &Outcome)
{
    return ExecuteAndWait(FileName, Directory, Parameters, TExecuteOptions(), Outcome);
}

TExecuteWaits ExecuteWaits()
{
    TExecuteWaits w;
    w.First = GFirstWait.load();
    w.Second = GSecondWait.load();
    return w;
}

void SetExecuteWaits(const TExecuteWaits &Waits)
{
    GFirstWait = Waits.First;
    GSecondWait = Waits.Second;
}

TWaitRunner *SetWaitRunner(TWaitRunner *Runner)
{
    TWaitRunner *previous = GWaitRunner;
    GWaitRunner = Runner;
    return previous;
}

TWaitRunner *CurrentWaitRunner()
{
    return GWaitRunner;
}

QString QuoteArgument(const QString &Argument)
{
    QString result(QLatin1Char('"'));
    const int n = Argument.size();
    for (int i = 0; i < n;) {
        int k = 0;
        while (i + k < n && Argument.at(i + k) == QLatin1Char('\\'))
            ++k;
        if (i + k == n) {
            result += QString(2 * k, QLatin1Char('\\'));
            break;
        }
        if (Argument.at(i + k) == QLatin1Char('"')) {
            result += QString(2 * k + 1, QLatin1Char('\\'));
            result += QLatin1Char('"');
        } else {
            result += QString(k, QLatin1Char('\\'));
            result += Argument.at(i + k);
        }
        i += k + 1;
    }
    result += QLatin1Char('"');
    return result;
}

bool ReadProgramOutput(const QString &FileName, const QString &Directory,
                       const QString &Parameters, int TimeoutMs, QByteArray &Output)
{
    TExecuteOptions options;
    options.StopIfAbandoned = true;
    options.KeepErrors = false;
    options.TimeLimit = TimeoutMs;
    TExecuteOutcome outcome;
    ExecuteAndWait(FileName, Directory, Parameters, options, outcome);
    Output = outcome.Succeeded() ? outcome.Output : QByteArray();
    return outcome.Succeeded();
}

QString LastLines(const QByteArray &Output, int Count)
{
    const QString text = Output.isValidUtf8() ? QString::fromUtf8(Output)
                                              : QString::fromLatin1(Output);
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString &l : lines) {
        if (l.endsWith(QLatin1Char('\r')))
            l.chop(1);
    }
    while (!lines.isEmpty() && lines.last().trimmed().isEmpty())
        lines.removeLast();
    if (lines.size() > Count)
        lines = lines.mid(lines.size() - Count);
    return lines.join(QLatin1Char('\n'));
}
