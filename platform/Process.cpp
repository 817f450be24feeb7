#include "Process.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace {

std::atomic<int> GFirstWait{TExecuteWaits().First};
std::atomic<int> GSecondWait{TExecuteWaits().Second};

bool IsBlank(QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); }

// The program to hand to exec: a name with a delimiter is made absolute
// against the current directory (the child changes its directory first).
QByteArray ProgramPath(const QString &FileName, bool &SearchPath)
{
    SearchPath = !FileName.contains(QLatin1Char('/'));
    if (SearchPath)
        return FileName.toLocal8Bit();
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

// Waits up to Ms for Pid to end and reaps it. True when it has ended.
bool WaitForChild(pid_t Pid, int PidFd, int Ms, int &Status)
{
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(Ms);
    for (;;) {
        const pid_t r = waitpid(Pid, &Status, WNOHANG);
        if (r == Pid)
            return true;
        if (r < 0 && errno != EINTR)
            return false;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                              deadline - Clock::now()).count();
        if (left <= 0)
            return false;
        if (PidFd >= 0) {
            pollfd p{PidFd, POLLIN, 0};
            poll(&p, 1, static_cast<int>(left));
        } else {
            std::this_thread::sleep_for(std::chrono::milliseconds(std::min<long long>(left, 5)));
        }
    }
}

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
    if (FileName.isEmpty())
        return false;

    bool searchPath = false;
    const QByteArray program = ProgramPath(FileName, searchPath);
    const QByteArray directory = Directory.toLocal8Bit();
    std::vector<QByteArray> argStore;
    argStore.push_back(program);
    for (const QString &a : SplitCommandLine(Parameters))
        argStore.push_back(a.toLocal8Bit());
    std::vector<char *> argv;
    for (QByteArray &a : argStore)
        argv.push_back(a.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (!directory.isEmpty())
        posix_spawn_file_actions_addchdir_np(&actions, directory.constData());
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);

    posix_spawnattr_t attr;
    posix_spawnattr_init(&attr);
    sigset_t defaults;
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGPIPE);
    sigaddset(&defaults, SIGCHLD);
    posix_spawnattr_setsigdefault(&attr, &defaults);
    sigset_t none;
    sigemptyset(&none);
    posix_spawnattr_setsigmask(&attr, &none);
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);

    pid_t pid = -1;
    const int rc = searchPath
        ? posix_spawnp(&pid, program.constData(), &actions, &attr, argv.data(), environ)
        : posix_spawn(&pid, program.constData(), &actions, &attr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attr);
    if (rc != 0 || pid <= 0)
        return false;
    Outcome.Started = true;

    const TExecuteWaits waits = ExecuteWaits();
    const int pidFd = OpenPidFd(pid);
    int status = 0;
    bool ended = WaitForChild(pid, pidFd, waits.First, status);
    if (!ended)
        ended = WaitForChild(pid, pidFd, waits.Second, status);
    if (pidFd >= 0)
        close(pidFd);

    if (!ended) {
        // Left running; reap it whenever it ends so it leaves no zombie.
        std::thread([pid] {
            int st = 0;
            while (waitpid(pid, &st, 0) < 0 && errno == EINTR) {
            }
        }).detach();
        return false;
    }
    Outcome.Ended = true;
    Outcome.Exited = WIFEXITED(status);
    Outcome.ExitCode = Outcome.Exited ? WEXITSTATUS(status) : -1;
    return true;
}

bool ReadProgramOutput(const QString &FileName, const QString &Directory,
                       const QString &Parameters, int TimeoutMs, QByteArray &Output)
{
    Output.clear();
    QProcess process;
    process.setProgram(FileName);
    process.setArguments(SplitCommandLine(Parameters));
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
