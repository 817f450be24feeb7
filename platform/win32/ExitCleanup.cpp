#include "ExitCleanup.h"

#include <QDir>

#include <windows.h>

#include <mutex>
#include <string>

// Windows calls the console control handler on a thread of its own, so it
// may lock and call the system freely. Processes started to be stopped are
// already in jobs that end with the program (kill-on-job-close); the ones
// registered here are also stopped at once.

namespace {

constexpr int kSlots = 64;

std::mutex GMutex;
DWORD GProcesses[kSlots] = {};
std::wstring GFiles[kSlots];
bool GFileUsed[kSlots] = {};
bool GInstalled = false;

BOOL WINAPI OnControl(DWORD Event)
{
    switch (Event) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
    case CTRL_CLOSE_EVENT:
    case CTRL_LOGOFF_EVENT:
    case CTRL_SHUTDOWN_EVENT:
        break;
    default:
        return FALSE;
    }
    std::lock_guard<std::mutex> lock(GMutex);
    for (DWORD &pid : GProcesses) {
        if (!pid)
            continue;
        if (HANDLE h = OpenProcess(PROCESS_TERMINATE, FALSE, pid)) {
            TerminateProcess(h, 1);
            CloseHandle(h);
        }
    }
    for (int i = 0; i < kSlots; ++i) {
        if (GFileUsed[i])
            DeleteFileW(GFiles[i].c_str());
    }
    return FALSE; // the default handling then ends the program
}

void InstallOnce()
{
    if (GInstalled)
        return;
    GInstalled = true;
    SetConsoleCtrlHandler(OnControl, TRUE);
}

} // namespace

int RemoveProcessAtExit(qint64 Pid)
{
    std::lock_guard<std::mutex> lock(GMutex);
    InstallOnce();
    for (int i = 0; i < kSlots; ++i) {
        if (!GProcesses[i]) {
            GProcesses[i] = static_cast<DWORD>(Pid);
            return i;
        }
    }
    return -1;
}

void ForgetExitProcess(int Ticket)
{
    std::lock_guard<std::mutex> lock(GMutex);
    if (Ticket >= 0 && Ticket < kSlots)
        GProcesses[Ticket] = 0;
}

int RemoveFileAtExit(const QString &Path)
{
    if (Path.isEmpty())
        return -1;
    std::lock_guard<std::mutex> lock(GMutex);
    InstallOnce();
    for (int i = 0; i < kSlots; ++i) {
        if (!GFileUsed[i]) {
            GFiles[i] = QDir::toNativeSeparators(Path).toStdWString();
            GFileUsed[i] = true;
            return i;
        }
    }
    return -1;
}

void ForgetExitFile(int Ticket)
{
    std::lock_guard<std::mutex> lock(GMutex);
    if (Ticket >= 0 && Ticket < kSlots) {
        GFileUsed[Ticket] = false;
        GFiles[Ticket].clear();
    }
}
