#include "ExitCleanup.h"

#include <QFile>

#include <atomic>
#include <cerrno>
#include <cstring>

#include <signal.h>
#include <unistd.h>

namespace {

constexpr int kSlots = 64;
constexpr int kPathMax = 4096;

// A slot is free (0), being filled or emptied (1) or in use (2); the
// handler reads only slots in use.
struct TProcessSlot
{
    std::atomic<int> State{0};
    std::atomic<pid_t> Pid{0};
};

struct TFileSlot
{
    std::atomic<int> State{0};
    char Path[kPathMax];
};

TProcessSlot GProcesses[kSlots];
TFileSlot GFiles[kSlots];
std::atomic<bool> GInstalled{false};

const int kSignals[] = {SIGTERM, SIGINT, SIGHUP};

void OnSignal(int Signal)
{
    const int savedErrno = errno;
    for (TProcessSlot &p : GProcesses) {
        if (p.State.load() != 2)
            continue;
        const pid_t pid = p.Pid.load();
        if (pid > 0) {
            ::kill(-pid, SIGKILL);
            ::kill(pid, SIGKILL);
        }
    }
    for (TFileSlot &f : GFiles) {
        if (f.State.load() == 2)
            ::unlink(f.Path);
    }
    // Ends the program as the signal does by default, once the handler
    // returns and the signal is no longer blocked.
    struct sigaction dfl;
    std::memset(&dfl, 0, sizeof dfl);
    dfl.sa_handler = SIG_DFL;
    ::sigaction(Signal, &dfl, nullptr);
    ::raise(Signal);
    errno = savedErrno;
}

void InstallOnce()
{
    if (GInstalled.exchange(true))
        return;
    for (const int s : kSignals) {
        struct sigaction old;
        if (::sigaction(s, nullptr, &old) == 0 && old.sa_handler == SIG_IGN)
            continue;
        struct sigaction sa;
        std::memset(&sa, 0, sizeof sa);
        sa.sa_handler = OnSignal;
        sigemptyset(&sa.sa_mask);
        for (const int other : kSignals)
            sigaddset(&sa.sa_mask, other);
        ::sigaction(s, &sa, nullptr);
    }
}

template <typename Slot>
int Claim(Slot (&Slots)[kSlots])
{
    for (int i = 0; i < kSlots; ++i) {
        int expected = 0;
        if (Slots[i].State.compare_exchange_strong(expected, 1))
            return i;
    }
    return -1;
}

} // namespace

int RemoveProcessAtExit(qint64 Pid)
{
    InstallOnce();
    const int i = Claim(GProcesses);
    if (i < 0)
        return -1;
    GProcesses[i].Pid = static_cast<pid_t>(Pid);
    GProcesses[i].State = 2;
    return i;
}

void ForgetExitProcess(int Ticket)
{
    if (Ticket < 0 || Ticket >= kSlots)
        return;
    GProcesses[Ticket].State = 1;
    GProcesses[Ticket].Pid = 0;
    GProcesses[Ticket].State = 0;
}

int RemoveFileAtExit(const QString &Path)
{
    const QByteArray name = QFile::encodeName(Path);
    if (name.isEmpty() || name.size() >= kPathMax)
        return -1;
    InstallOnce();
    const int i = Claim(GFiles);
    if (i < 0)
        return -1;
    std::memcpy(GFiles[i].Path, name.constData(), static_cast<size_t>(name.size()) + 1);
    GFiles[i].State = 2;
    return i;
}

void ForgetExitFile(int Ticket)
{
    if (Ticket < 0 || Ticket >= kSlots)
        return;
    GFiles[Ticket].State = 1;
    GFiles[Ticket].Path[0] = '\0';
    GFiles[Ticket].State = 0;
}
