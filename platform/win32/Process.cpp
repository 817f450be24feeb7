#include "Process.h"

#include "OutputTail.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <vector>

// Programs are started directly (CreateProcessW) with their output read
// through a pipe, or by the shell (ShellExecuteExW) when they talk to the
// user themselves; either way they are waited for on their process handle
// and the parameter line reaches the program as it is.

namespace {

std::wstring Wide(const QString &Text) { return Text.toStdWString(); }

// How often a wait reads the output and looks at its runner's cancellation.
constexpr DWORD kSliceMs = 20;

QString SystemErrorText(DWORD Error)
{
    wchar_t *text = nullptr;
    FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM
                       | FORMAT_MESSAGE_IGNORE_INSERTS,
                   nullptr, Error, MAKELANGID(LANG_SPANISH, SUBLANG_DEFAULT),
                   reinterpret_cast<LPWSTR>(&text), 0, nullptr);
    if (!text)
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM
                           | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, Error, 0, reinterpret_cast<LPWSTR>(&text), 0, nullptr);
    const QString result = text ? QString::fromWCharArray(text).trimmed()
                                : QStringLiteral("error del sistema %1").arg(Error);
    if (text)
        LocalFree(text);
    return result;
}

void CloseIf(HANDLE &Handle)
{
    if (Handle && Handle != INVALID_HANDLE_VALUE)
        CloseHandle(Handle);
    Handle = nullptr;
}

// A started program: its process, the job that holds it and what it starts
// (when it was started directly) and the reading end of its output.
struct TStarted
{
    HANDLE Process = nullptr;
    HANDLE Job = nullptr;
    HANDLE Output = nullptr;

    void Close()
    {
        CloseIf(Output);
        CloseIf(Job);
        CloseIf(Process);
    }
};

// Reads what Pipe holds now into Tail, without waiting for more.
void ReadAvailable(HANDLE Pipe, TOutputTail &Tail)
{
    if (!Pipe)
        return;
    char buffer[8192];
    for (;;) {
        DWORD available = 0;
        if (!PeekNamedPipe(Pipe, nullptr, 0, nullptr, &available, nullptr) || available == 0)
            return;
        DWORD n = 0;
        if (!ReadFile(Pipe, buffer, std::min<DWORD>(available, sizeof buffer), &n, nullptr)
            || n == 0)
            return;
        Tail.Append(buffer, n);
    }
}

// Waits up to Ms for the process in short slices, reading its output
// meanwhile, so that the pipe never fills and a cancelled wait gives up soon.
// WAIT_OBJECT_0 when it has ended, WAIT_TIMEOUT when the time is up or the
// wait was cancelled, else what the system reported.
DWORD WaitSliced(HANDLE Process, qint64 Ms, const TWaitRunner *Runner, HANDLE Output,
                 TOutputTail &Tail, bool &Cancelled)
{
    const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(std::max<qint64>(Ms, 0));
    for (;;) {
        const ULONGLONG now = GetTickCount64();
        const DWORD left = now >= deadline ? 0 : static_cast<DWORD>(deadline - now);
        const bool sliced = Runner || Output;
        const DWORD ms = sliced ? std::min(left, kSliceMs) : left;
        // Without a runner the wait may block a window's thread: messages
        // that other programs send to its windows (an installer announcing
        // a changed setting to every window, and waiting for the answers)
        // are answered meanwhile; nothing posted is taken from the queue.
        const DWORD r = Runner ? WaitForSingleObject(Process, ms)
                               : MsgWaitForMultipleObjects(1, &Process, FALSE, ms, QS_SENDMESSAGE);
        if (!Runner && r == WAIT_OBJECT_0 + 1) {
            MSG message;
            PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
            ReadAvailable(Output, Tail);
            if (GetTickCount64() >= deadline)
                return WAIT_TIMEOUT;
            continue;
        }
        ReadAvailable(Output, Tail);
        if (r != WAIT_TIMEOUT || GetTickCount64() >= deadline)
            return r;
        if (Runner && Runner->Cancelled()) {
            Cancelled = true;
            return WAIT_TIMEOUT;
        }
    }
}

// Starts the program as the shell opens a file: ShellExecuteExW with
// SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI (0x440) and SW_SHOW.
bool StartThroughShell(const QString &FileName, const QString &Directory,
                       const QString &Parameters, TStarted &Started, QString &Error)
{
    const std::wstring file = Wide(QDir::toNativeSeparators(FileName));
    const std::wstring directory = Wide(QDir::toNativeSeparators(Directory));
    const std::wstring parameters = Wide(Parameters);
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    info.hwnd = nullptr;
    info.lpVerb = L"open";
    info.lpFile = file.c_str();
    info.lpParameters = parameters.c_str();
    info.lpDirectory = directory.c_str();
    info.nShow = SW_SHOW;
    if (!ShellExecuteExW(&info) || !info.hProcess) {
        Error = SystemErrorText(GetLastError());
        return false;
    }
    Started.Process = info.hProcess;
    return true;
}

// The program file to start: a bare name is looked for on PATH (never in the
// current folder); a path is made absolute, with ".exe" added when the name
// has no extension and the file without one does not exist. Empty when there
// is none.
QString ProgramPath(const QString &FileName)
{
    const QString native = QDir::toNativeSeparators(FileName);
    if (!native.contains(QLatin1Char('\\')) && !native.contains(QLatin1Char(':')))
        return QDir::toNativeSeparators(QStandardPaths::findExecutable(FileName));
    QFileInfo info(QDir::fromNativeSeparators(native));
    if (!info.isFile() && info.suffix().isEmpty())
        info.setFile(info.filePath() + QStringLiteral(".exe"));
    return info.isFile() ? QDir::toNativeSeparators(info.absoluteFilePath()) : QString();
}

// Opens the null device for the child, inheritable.
HANDLE OpenNul(DWORD Access)
{
    SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, TRUE};
    return CreateFileW(L"NUL", Access, FILE_SHARE_READ | FILE_SHARE_WRITE, &sa, OPEN_EXISTING,
                       0, nullptr);
}

// Starts the program with CreateProcessW: no console window, standard input
// empty, standard output (and error) into a pipe read by the waits, and the
// program in a job of its own, so that it can be stopped together with
// everything it starts. The command line is the quoted program file and
// Parameters as they are; only the three standard handles are inherited.
bool StartDirectly(const QString &FileName, const QString &Directory, const QString &Parameters,
                   const TExecuteOptions &Options, TStarted &Started, QString &Error)
{
    const QString program = ProgramPath(FileName);
    if (program.isEmpty()) {
        Error = SystemErrorText(ERROR_FILE_NOT_FOUND);
        return false;
    }
    SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, TRUE};
    HANDLE outRead = nullptr;
    HANDLE outWrite = nullptr;
    if (!CreatePipe(&outRead, &outWrite, &sa, 64 * 1024)) {
        Error = SystemErrorText(GetLastError());
        return false;
    }
    SetHandleInformation(outRead, HANDLE_FLAG_INHERIT, 0);
    HANDLE in = OpenNul(GENERIC_READ);
    HANDLE errNul = Options.KeepErrors ? nullptr : OpenNul(GENERIC_WRITE);
    HANDLE err = errNul && errNul != INVALID_HANDLE_VALUE ? errNul : outWrite;
    const auto closeAll = [&] {
        CloseIf(outRead);
        CloseIf(outWrite);
        CloseIf(in);
        CloseIf(errNul);
    };

    std::vector<HANDLE> inherited{outWrite};
    if (in != INVALID_HANDLE_VALUE)
        inherited.push_back(in);
    if (err != outWrite)
        inherited.push_back(err);
    SIZE_T size = 0;
    InitializeProcThreadAttributeList(nullptr, 1, 0, &size);
    std::vector<char> attrStore(size);
    auto attributes = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(attrStore.data());
    const bool haveList = size > 0 && InitializeProcThreadAttributeList(attributes, 1, 0, &size)
                          && UpdateProcThreadAttribute(attributes, 0,
                                                       PROC_THREAD_ATTRIBUTE_HANDLE_LIST,
                                                       inherited.data(),
                                                       inherited.size() * sizeof(HANDLE),
                                                       nullptr, nullptr);

    STARTUPINFOEXW si{};
    si.StartupInfo.cb = sizeof si;
    si.StartupInfo.dwFlags = STARTF_USESTDHANDLES;
    si.StartupInfo.hStdInput = in;
    si.StartupInfo.hStdOutput = outWrite;
    si.StartupInfo.hStdError = err;
    si.lpAttributeList = haveList ? attributes : nullptr;

    std::wstring commandLine = Wide(QuoteArgument(program));
    if (!Parameters.isEmpty())
        commandLine += L" " + Wide(Parameters);
    const std::wstring application = Wide(program);
    const std::wstring directory = Wide(QDir::toNativeSeparators(Directory));
    PROCESS_INFORMATION pi{};
    const DWORD flags = CREATE_NO_WINDOW | CREATE_SUSPENDED | CREATE_UNICODE_ENVIRONMENT
                        | (haveList ? EXTENDED_STARTUPINFO_PRESENT : 0);
    const BOOL created = CreateProcessW(application.c_str(), commandLine.data(), nullptr, nullptr,
                                        TRUE, flags, nullptr,
                                        directory.empty() ? nullptr : directory.c_str(),
                                        &si.StartupInfo, &pi);
    const DWORD createError = GetLastError();
    if (haveList)
        DeleteProcThreadAttributeList(attributes);
    if (!created) {
        closeAll();
        Error = SystemErrorText(createError);
        return false;
    }
    // The job is joined before the program runs its first instruction, so
    // nothing it starts escapes it. Should that fail, the program runs alone
    // and only it can be stopped.
    // A program that is to be stopped when abandoned also goes, with what it
    // started, when this process ends before its wait does.
    HANDLE job = CreateJobObjectW(nullptr, nullptr);
    if (job && Options.StopIfAbandoned) {
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
        limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
        SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof limits);
    }
    if (job && !AssignProcessToJobObject(job, pi.hProcess))
        CloseIf(job);
    ResumeThread(pi.hThread);
    CloseHandle(pi.hThread);
    CloseIf(outWrite); // the child holds its own; the pipe ends when all are gone
    CloseIf(in);
    CloseIf(errNul);
    Started.Process = pi.hProcess;
    Started.Job = job;
    Started.Output = outRead;
    return true;
}

} // namespace

bool ProcessAlive(qint64 Pid)
{
    if (Pid <= 0)
        return false;
    HANDLE h = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(Pid));
    if (!h)
        return GetLastError() == ERROR_ACCESS_DENIED; // exists, but not ours to open
    DWORD code = 0;
    const bool alive = GetExitCodeProcess(h, &code) && code == STILL_ACTIVE;
    CloseHandle(h);
    return alive;
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

bool ExecuteAndWait(const QString &FileName, const QString &Directory,
                    const QString &Parameters, const TExecuteOptions &Options,
                    TExecuteOutcome &Outcome)
{
    Outcome = TExecuteOutcome();
    TStarted started;
    const bool ok = Options.ThroughShell
                        ? StartThroughShell(FileName, Directory, Parameters, started, Outcome.StartError)
                        : StartDirectly(FileName, Directory, Parameters, Options, started,
                                        Outcome.StartError);
    if (!ok)
        return false;
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
    TWaitRunner *runner = CurrentWaitRunner();
    TOutputTail tail(Options.OutputLimit);
    bool ended = false;
    bool cancelled = false;
    bool stopped = false;
    const auto wait = [&] {
        ended = WaitSliced(started.Process, first, runner, started.Output, tail, cancelled)
                == WAIT_OBJECT_0;
        if (!ended && !cancelled)
            ended = WaitSliced(started.Process, second, runner, started.Output, tail, cancelled)
                    == WAIT_OBJECT_0;
        if (!ended && Options.StopIfAbandoned) {
            // The job holds the program and whatever it started.
            const bool killed = started.Job ? TerminateJobObject(started.Job, 1)
                                            : TerminateProcess(started.Process, 1);
            if (killed && WaitForSingleObject(started.Process, 5000) == WAIT_OBJECT_0)
                stopped = true;
        }
        ReadAvailable(started.Output, tail);
    };
    if (runner)
        runner->Run(wait);
    else
        wait();
    Outcome.Output = tail.Take(Outcome.OutputCut);
    Outcome.Ended = ended;
    Outcome.Cancelled = cancelled;
    Outcome.Stopped = stopped;
    DWORD code = STILL_ACTIVE;
    if (ended && GetExitCodeProcess(started.Process, &code)) {
        Outcome.Exited = true;
        Outcome.ExitCode = static_cast<int>(code);
    }
    // A program still running is otherwise left running: its job does not
    // stop it when the handle goes.
    started.Close();
    return ended;
}

