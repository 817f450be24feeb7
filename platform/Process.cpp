#include "Process.h"

#include "ExitCleanup.h"
#include "OutputTail.h"

#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace {

using Clock = std::chrono::steady_clock;

// How often a wait looks at its runner's cancellation.
constexpr int kCancelPollMs = 20;

bool IsBlank(QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); }

// The program file to execute: a name with a delimiter is made absolute
// against the current directory (the child changes its directory first); a
// bare name is looked up on PATH. Empty when there is none.
QByteArray ProgramPath(const QString &FileName)
{
    if (!FileName.contains(QLatin1Char('/'))) {
        const QString found = QStandardPaths::findExecutable(FileName);
        return found.isEmpty() ? QByteArray() : found.toLocal8Bit();
    }
    return QFileInfo(FileName).absoluteFilePath().toLocal8Bit();
}

int OpenPidFd(pid_t Pid)
{
#ifdef SYS_pidfd_open
    return static_cast<int>(syscall(SYS_pidfd_open, Pid, 0));
#else
    (void)Pid;
    errno = ENOSYS;
    return -1;
#endif
}

void CloseFd(int &Fd)
{
    if (Fd >= 0)
        ::close(Fd);
    Fd = -1;
}

QString ErrorText(int Error)
{
    return QString::fromLocal8Bit(std::strerror(Error));
}

// A started child: its process id (also its process group) and the reading
// end of its output.
struct TChild
{
    pid_t Pid = -1;
    int Output = -1;
};

// The child's side between fork and exec: only async-signal-safe calls.
[[noreturn]] void RunChild(const char *Program, char *const *Argv, const char *Directory,
                           int OutWrite, int ErrWrite, int Report, bool PrivateFiles,
                           pid_t Parent)
{
    ::setpgid(0, 0);
    if (Parent > 0) {
        // Ends with this program; if it already ended between fork and
        // here, the signal will not come: give up at once.
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (::getppid() != Parent)
            ::_exit(127);
    }
    if (PrivateFiles)
        ::umask(077);
    struct sigaction dfl;
    std::memset(&dfl, 0, sizeof dfl);
    dfl.sa_handler = SIG_DFL;
    ::sigaction(SIGPIPE, &dfl, nullptr);
    ::sigaction(SIGCHLD, &dfl, nullptr);
    sigset_t none;
    sigemptyset(&none);
    ::sigprocmask(SIG_SETMASK, &none, nullptr);
    int error = 0;
    if (Directory && ::chdir(Directory) != 0)
        error = errno;
    if (!error) {
        const int in = ::open("/dev/null", O_RDONLY);
        if (in < 0 || ::dup2(in, 0) < 0 || ::dup2(OutWrite, 1) < 0 || ::dup2(ErrWrite, 2) < 0)
            error = errno;
    }
    if (!error) {
        ::execve(Program, Argv, environ);
        error = errno;
    }
    while (::write(Report, &error, sizeof error) < 0 && errno == EINTR) {
    }
    ::_exit(127);
}

// Starts the program; false (with the reason) when it cannot be started.
bool StartChild(const QString &FileName, const QString &Directory, const QString &Parameters,
                const TExecuteOptions &Options, TChild &Child, QString &Error)
{
    const QByteArray program = ProgramPath(FileName);
    if (program.isEmpty()) {
        Error = ErrorText(ENOENT);
        return false;
    }
    const QByteArray directory = Directory.toLocal8Bit();
    std::vector<QByteArray> argStore;
    argStore.push_back(program);
    for (const QString &a : SplitCommandLine(Parameters))
        argStore.push_back(a.toLocal8Bit());
    std::vector<char *> argv;
    for (QByteArray &a : argStore)
        argv.push_back(a.data());
    argv.push_back(nullptr);

    int out[2] = {-1, -1};
    int report[2] = {-1, -1};
    if (::pipe2(out, O_CLOEXEC) != 0) {
        Error = ErrorText(errno);
        return false;
    }
    if (::pipe2(report, O_CLOEXEC) != 0) {
        Error = ErrorText(errno);
        CloseFd(out[0]);
        CloseFd(out[1]);
        return false;
    }
    int errWrite = out[1];
    int devNull = -1;
    if (!Options.KeepErrors) {
        devNull = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
        if (devNull >= 0)
            errWrite = devNull;
    }

    const pid_t parent = Options.StopIfAbandoned ? ::getpid() : 0;
    const pid_t pid = ::fork();
    if (pid == 0)
        RunChild(program.constData(), argv.data(),
                 directory.isEmpty() ? nullptr : directory.constData(), out[1], errWrite,
                 report[1], Options.PrivateFiles, parent);
    const int forkError = errno;
    CloseFd(out[1]);
    CloseFd(report[1]);
    CloseFd(devNull);
    if (pid < 0) {
        Error = ErrorText(forkError);
        CloseFd(out[0]);
        CloseFd(report[0]);
        return false;
    }
    ::setpgid(pid, pid); // the child does the same; whichever comes first

    // The report pipe closes on a successful exec, or carries the error.
    int childError = 0;
    ssize_t n;
    do {
        n = ::read(report[0], &childError, sizeof childError);
    } while (n < 0 && errno == EINTR);
    CloseFd(report[0]);
    if (n == static_cast<ssize_t>(sizeof childError)) {
        int status = 0;
        while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
        CloseFd(out[0]);
        Error = ErrorText(childError);
        return false;
    }
    Child.Pid = pid;
    Child.Output = out[0];
    return true;
}

// Reads what Fd holds into Tail; false at end of file or on an error.
bool ReadInto(int Fd, TOutputTail &Tail)
{
    char buffer[8192];
    for (;;) {
        const ssize_t n = ::read(Fd, buffer, sizeof buffer);
        if (n > 0) {
            Tail.Append(buffer, n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno == EAGAIN)
            return true;
        return false;
    }
}

enum class TWaitEnd { Ended, Late, Cancelled };

// Waits until the child ends, the deadline passes or the runner cancels,
// collecting its output meanwhile.
TWaitEnd WaitForChild(const TChild &Child, Clock::time_point Deadline, const TWaitRunner *Runner,
                      TOutputTail &Tail, int &Status)
{
    const int pidFd = OpenPidFd(Child.Pid);
    int output = Child.Output;
    ::fcntl(output, F_SETFL, ::fcntl(output, F_GETFL) | O_NONBLOCK);
    TWaitEnd end = TWaitEnd::Late;
    for (;;) {
        const pid_t r = ::waitpid(Child.Pid, &Status, WNOHANG);
        if (r == Child.Pid) {
            end = TWaitEnd::Ended;
            break;
        }
        if (r < 0 && errno != EINTR) {
            Status = 0;
            end = TWaitEnd::Ended;
            break;
        }
        if (Runner && Runner->Cancelled()) {
            end = TWaitEnd::Cancelled;
            break;
        }
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(Deadline - Clock::now()).count();
        if (left <= 0) {
            end = TWaitEnd::Late;
            break;
        }
        int slice = static_cast<int>(std::min<long long>(left, kCancelPollMs));
        pollfd fds[2];
        int count = 0;
        if (output >= 0)
            fds[count++] = {output, POLLIN, 0};
        if (pidFd >= 0)
            fds[count++] = {pidFd, POLLIN, 0};
        else
            slice = std::min(slice, 5);
        ::poll(fds, count, slice);
        if (output >= 0 && count > 0 && fds[0].revents != 0 && !ReadInto(output, Tail))
            output = -1; // end of the output; the wait goes on for the process
    }
    if (pidFd >= 0)
        ::close(pidFd);
    return end;
}

// Collects what the output still holds without waiting for it.
void DrainOutput(int Fd, TOutputTail &Tail)
{
    if (Fd < 0)
        return;
    ::fcntl(Fd, F_SETFL, ::fcntl(Fd, F_GETFL) | O_NONBLOCK);
    ReadInto(Fd, Tail);
}

// A program left running: its output is still read (so that it is not
// stopped by writing to a closed pipe) and it is reaped when it ends.
void LeaveRunning(pid_t Pid, int Output)
{
    std::thread([Pid, Output] {
        ::fcntl(Output, F_SETFL, ::fcntl(Output, F_GETFL) & ~O_NONBLOCK);
        char buffer[4096];
        for (;;) {
            const ssize_t n = ::read(Output, buffer, sizeof buffer);
            if (n > 0 || (n < 0 && errno == EINTR))
                continue;
            break;
        }
        ::close(Output);
        int st = 0;
        while (::waitpid(Pid, &st, 0) < 0 && errno == EINTR) {
        }
    }).detach();
}

} // namespace

bool ProcessAlive(qint64 Pid)
{
    if (Pid <= 0)
        return false;
    if (::kill(static_cast<pid_t>(Pid), 0) != 0 && errno != EPERM)
        return false;
    // A process that has ended but was not yet reaped runs no more.
    QFile stat(QStringLiteral("/proc/%1/stat").arg(Pid));
    if (!stat.open(QIODevice::ReadOnly))
        return true;
    const QByteArray line = stat.readAll();
    const qsizetype end = line.lastIndexOf(')');
    return end < 0 || end + 2 >= line.size() || line.at(end + 2) != 'Z';
}

QStringList SplitCommandLine(const QString &Parameters)
{
    QStringList args;
    QString current;
    bool inQuotes = false;
    bool haveArg = false;
    const int n = Parameters.size();
    int i = 0;
    while (i < n) {
        const QChar c = Parameters.at(i);
        if (IsBlank(c) && !inQuotes) {
            if (haveArg)
                args << current;
            current.clear();
            haveArg = false;
            ++i;
        } else if (c == QLatin1Char('\\')) {
            int k = 0;
            while (i + k < n && Parameters.at(i + k) == QLatin1Char('\\'))
                ++k;
            haveArg = true;
            if (i + k < n && Parameters.at(i + k) == QLatin1Char('"')) {
                current += QString(k / 2, QLatin1Char('\\'));
                if (k % 2) {
                    current += QLatin1Char('"');
                    i += k + 1;
                } else {
                    i += k; // the quote is read next, as a quote
                }
            } else {
                current += QString(k, QLatin1Char('\\'));
                i += k;
            }
        } else if (c == QLatin1Char('"')) {
            haveArg = true;
            if (inQuotes && i + 1 < n && Parameters.at(i + 1) == QLatin1Char('"')) {
                current += QLatin1Char('"');
                i += 2;
            } else {
                inQuotes = !inQuotes;
                ++i;
            }
        } else {
            current += c;
            haveArg = true;
            ++i;
        }
    }
    if (haveArg)
        args << current;
    return args;
}

bool ExecuteAndWait(const QString &FileName, const QString &Directory,
                    const QString &Parameters, const TExecuteOptions &Options,
                    TExecuteOutcome &Outcome)
{
    Outcome = TExecuteOutcome();
    if (FileName.isEmpty()) {
        Outcome.StartError = ErrorText(ENOENT);
        return false;
    }
    TChild child;
    if (!StartChild(FileName, Directory, Parameters, Options, child, Outcome.StartError))
        return false;
    Outcome.Started = true;
    // Stopped, with its process group, when this program is ended by a signal.
    struct TTicket
    {
        int Value;
        ~TTicket() { ForgetExitProcess(Value); }
    } ticket{Options.StopIfAbandoned ? RemoveProcessAtExit(child.Pid) : -1};

    const TExecuteWaits waits = ExecuteWaits();
    const qint64 limit = Options.TimeLimit >= 0 ? Options.TimeLimit
                                                : qint64(waits.First) + qint64(waits.Second);
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(limit);
    TWaitRunner *runner = CurrentWaitRunner();
    TOutputTail tail(Options.OutputLimit);
    int status = 0;
    TWaitEnd end = TWaitEnd::Late;
    const auto wait = [&] {
        end = WaitForChild(child, deadline, runner, tail, status);
        if (end != TWaitEnd::Ended && Options.StopIfAbandoned) {
            // The whole process group: the program and whatever it started.
            ::kill(-child.Pid, SIGKILL);
            ::kill(child.Pid, SIGKILL);
            while (::waitpid(child.Pid, &status, 0) < 0 && errno == EINTR) {
            }
        }
        DrainOutput(child.Output, tail);
    };
    if (runner)
        runner->Run(wait);
    else
        wait();
    Outcome.Output = tail.Take(Outcome.OutputCut);

    if (end != TWaitEnd::Ended) {
        Outcome.Cancelled = end == TWaitEnd::Cancelled;
        if (Options.StopIfAbandoned) {
            Outcome.Stopped = true;
            ::close(child.Output);
        } else {
            LeaveRunning(child.Pid, child.Output);
        }
        return false;
    }
    ::close(child.Output);
    Outcome.Ended = true;
    Outcome.Exited = WIFEXITED(status);
    Outcome.ExitCode = Outcome.Exited ? WEXITSTATUS(status) : -1;
    return true;
}

