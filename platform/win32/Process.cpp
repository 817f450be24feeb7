#include "Process.h"

#include <QDir>
#include <QProcess>

#include <windows.h>
#include <shellapi.h>

#include <atomic>

// Programs are started by the shell (ShellExecuteExW) and waited for on
// their process handle; the parameter line reaches the program as it is.

namespace {

std::atomic<int> GFirstWait{TExecuteWaits().First};
std::atomic<int> GSecondWait{TExecuteWaits().Second};
thread_local TWaitRunner *GWaitRunner = nullptr;

// Waits up to Ms for the process, in short slices so that a cancelled wait
// gives up soon. WAIT_OBJECT_0 when it has ended, WAIT_TIMEOUT when the time
// is up or the wait was cancelled, else what the system reported.
DWORD WaitSliced(HANDLE Process, qint64 Ms, const TWaitRunner *Runner, bool &Cancelled)
{
    const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(std::max<qint64>(Ms, 0));
    for (;;) {
        const ULONGLONG now = GetTickCount64();
        const DWORD slice = now >= deadline ? 0 : static_cast<DWORD>(std::min<ULONGLONG>(deadline - now, 50));
        const DWORD r = WaitForSingleObject(Process, Runner ? slice : static_cast<DWORD>(deadline - std::min(now, deadline)));
        if (r != WAIT_TIMEOUT || GetTickCount64() >= deadline)
            return r;
        if (Runner && Runner->Cancelled()) {
            Cancelled = true;
            return WAIT_TIMEOUT;
        }
    }
}

std::wstring Wide(const QString &Text) { return Text.toStdWString(); }

} // namespace

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

QStringList SplitCommandLine(const QString &Parameters)
{
    // The system's own splitting; it reads its first item as a program
    // name by other rules, so a placeholder takes that place.
    QStringList result;
    int count = 0;
    const std::wstring line = L"x " + Wide(Parameters);
    LPWSTR *args = CommandLineToArgvW(line.c_str(), &count);
    if (!args)
        return result;
    for (int i = 1; i < count; ++i)
        result << QString::fromWCharArray(args[i]);
    LocalFree(args);
    return result;
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

TWaitRunner *SetWaitRunner(TWaitRunner *Runner)
{
    TWaitRunner *previous = GWaitRunner;
    GWaitRunner = Runner;
    return previous;
}

TWaitRunner *CurrentWaitRunner() { return GWaitRunner; }

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

bool ExecuteAndWait(const QString &FileName, const QString &Directory,
                    const QString &Parameters, const TExecuteOptions &Options,
                    TExecuteOutcome &Outcome)
{
    Outcome = TExecuteOutcome();
    const std::wstring file = Wide(QDir::toNativeSeparators(FileName));
    const std::wstring directory = Wide(QDir::toNativeSeparators(Directory));
    const std::wstring parameters = Wide(Parameters);

    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI; // 0x440
    info.hwnd = nullptr;
    info.lpVerb = L"open";
    info.lpFile = file.c_str();
    info.lpParameters = parameters.c_str();
    info.lpDirectory = directory.c_str();
    info.nShow = SW_SHOW;
    if (!ShellExecuteExW(&info) || !info.hProcess) {
        const DWORD error = GetLastError();
        wchar_t *text = nullptr;
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM
                           | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, error, MAKELANGID(LANG_SPANISH, SUBLANG_DEFAULT),
                       reinterpret_cast<LPWSTR>(&text), 0, nullptr);
        Outcome.StartError = text ? QString::fromWCharArray(text).trimmed()
                                  : QStringLiteral("error del sistema %1").arg(error);
        if (text)
            LocalFree(text);
        return false;
    }
    Outcome.Started = true;

    // The waits: 1000 ms, then 50000 ms (or the time limit given), on the
    // thread of the wait runner when there is one.
    const TExecuteWaits waits = ExecuteWaits();
    qint64 first = waits.First;
    qint64 second = waits.Second;
    if (Options.TimeLimit >= 0) {
        first = std::min<qint64>(first, Options.TimeLimit);
        second = Options.TimeLimit - first;
    }
    TWaitRunner *runner = GWaitRunner;
    bool ended = false;
    bool cancelled = false;
    const auto wait = [&] {
        ended = WaitSliced(info.hProcess, first, runner, cancelled) != WAIT_TIMEOUT;
        if (!ended && !cancelled)
            ended = WaitSliced(info.hProcess, second, runner, cancelled) == WAIT_OBJECT_0;
    };
    if (runner)
        runner->Run(wait);
    else
        wait();
    Outcome.Ended = ended;
    Outcome.Cancelled = cancelled;
    DWORD code = STILL_ACTIVE;
    if (ended && GetExitCodeProcess(info.hProcess, &code) && code != STILL_ACTIVE) {
        Outcome.Exited = true;
        Outcome.ExitCode = static_cast<int>(code);
    }
    if (!ended && Options.StopIfAbandoned && TerminateProcess(info.hProcess, 1)) {
        WaitForSingleObject(info.hProcess, 5000);
        Outcome.Stopped = true;
    }
    // A program still running is otherwise left running; only the handle goes.
    CloseHandle(info.hProcess);
    return ended;
}

bool ReadProgramOutput(const QString &FileName, const QString &Directory,
                       const QString &Parameters, int TimeoutMs, QByteArray &Output)
{
    Output.clear();
    QProcess process;
    process.setProgram(QDir::toNativeSeparators(FileName));
    // The line reaches the program exactly as given, without a console window.
    process.setNativeArguments(Parameters);
    process.setCreateProcessArgumentsModifier([](QProcess::CreateProcessArguments *Args) {
        Args->flags |= CREATE_NO_WINDOW;
    });
    if (!Directory.isEmpty())
        process.setWorkingDirectory(Directory);
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start();
    if (!process.waitForStarted(TimeoutMs))
        return false;
    if (!process.waitForFinished(TimeoutMs)) {
        process.kill();
        process.waitForFinished(1000);
        return false;
    }
    Output = process.readAllStandardOutput();
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}
