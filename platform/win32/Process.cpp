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

bool ExecuteAndWait(const QString &FileName, const QString &Directory,
                    const QString &Parameters)
{
    TExecuteOutcome outcome;
    return ExecuteAndWait(FileName, Directory, Parameters, outcome);
}

bool ExecuteAndWait(const QString &FileName, const QString &Directory,
                    const QString &Parameters, TExecuteOutcome &Outcome)
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
    if (!ShellExecuteExW(&info) || !info.hProcess)
        return false;
    Outcome.Started = true;

    const TExecuteWaits waits = ExecuteWaits();
    bool ended = WaitForSingleObject(info.hProcess, static_cast<DWORD>(waits.First)) != WAIT_TIMEOUT;
    if (!ended)
        ended = WaitForSingleObject(info.hProcess, static_cast<DWORD>(waits.Second)) == WAIT_OBJECT_0;
    Outcome.Ended = ended;
    DWORD code = STILL_ACTIVE;
    if (ended && GetExitCodeProcess(info.hProcess, &code) && code != STILL_ACTIVE) {
        Outcome.Exited = true;
        Outcome.ExitCode = static_cast<int>(code);
    }
    // A program still running is left running; only the handle goes.
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
