#include "FileLock.h"

#include <QDir>
#include <QElapsedTimer>

#include <windows.h>

#include <thread>

// An exclusive open is the lock: the file is opened with a share mode that
// lets no other handle read or write it. Renaming or deleting it stays
// allowed (FILE_SHARE_DELETE), so that a writer holding it can set the file
// aside.

namespace {

std::wstring NativeName(const QString &FileName)
{
    return QDir::toNativeSeparators(FileName).toStdWString();
}

// Opens FileName exclusively, trying again every millisecond for up to
// WaitMs while another handle holds it. INVALID_HANDLE_VALUE and the last
// error on failure.
HANDLE OpenExclusive(const QString &FileName, DWORD Access, DWORD Disposition, int WaitMs,
                     DWORD &Error)
{
    const std::wstring name = NativeName(FileName);
    QElapsedTimer waited;
    waited.start();
    for (;;) {
        HANDLE h = CreateFileW(name.c_str(), Access, FILE_SHARE_DELETE, nullptr, Disposition,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h != INVALID_HANDLE_VALUE) {
            Error = ERROR_SUCCESS;
            return h;
        }
        Error = GetLastError();
        if (Error != ERROR_SHARING_VIOLATION && Error != ERROR_LOCK_VIOLATION)
            return INVALID_HANDLE_VALUE;
        if (waited.elapsed() >= WaitMs)
            return INVALID_HANDLE_VALUE;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

qint64 FileSize(HANDLE h)
{
    LARGE_INTEGER size;
    return GetFileSizeEx(h, &size) ? static_cast<qint64>(size.QuadPart) : -1;
}

} // namespace

// OwnerOnly: a new log file takes the permissions of its folder, which in
// the user's own folders only its owner (and administrators) may read.
TAppendResult AppendExclusive(const QString &FileName, const QByteArray &Data, int LockWaitMs,
                              bool /*OwnerOnly*/)
{
    if (FileName.isEmpty())
        return TAppendResult::Failed;
    DWORD error;
    HANDLE h = OpenExclusive(FileName, GENERIC_READ | GENERIC_WRITE, OPEN_ALWAYS, LockWaitMs, error);
    if (h == INVALID_HANDLE_VALUE) {
        if (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION)
            return TAppendResult::Busy;
        if (error == ERROR_PATH_NOT_FOUND || error == ERROR_DIRECTORY
            || error == ERROR_INVALID_NAME)
            return TAppendResult::MissingFolder;
        return TAppendResult::Failed;
    }
    LARGE_INTEGER end;
    const LARGE_INTEGER zero{};
    bool ok = SetFilePointerEx(h, zero, &end, FILE_END);
    const char *p = Data.constData();
    qint64 left = Data.size();
    while (ok && left > 0) {
        DWORD written = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<qint64>(left, 1 << 30));
        ok = WriteFile(h, p, chunk, &written, nullptr) && written > 0;
        p += written;
        left -= written;
    }
    if (!ok) {
        // No partial line stays behind.
        SetFilePointerEx(h, end, nullptr, FILE_BEGIN);
        SetEndOfFile(h);
    }
    CloseHandle(h);
    return ok ? TAppendResult::Appended : TAppendResult::Failed;
}

bool WithExclusiveLock(const QString &FileName, int LockWaitMs,
                       const std::function<void(qint64 Size)> &Action)
{
    if (FileName.isEmpty())
        return false;
    DWORD error;
    // While the handle is open no other writer can open the file, and the
    // name cannot be taken by another file: a rename needs this handle's
    // consent, which only the Action of this very writer uses.
    HANDLE h = OpenExclusive(FileName, GENERIC_READ, OPEN_EXISTING, LockWaitMs, error);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    bool done = false;
    const qint64 size = FileSize(h);
    if (size >= 0) {
        try {
            Action(size);
            done = true;
        } catch (...) {
        }
    }
    CloseHandle(h);
    return done;
}

TExclusiveFileLock::TExclusiveFileLock(const QString &FileName)
{
    if (FileName.isEmpty())
        return;
    HANDLE h = CreateFileW(NativeName(FileName).c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                           nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h != INVALID_HANDLE_VALUE)
        FHandle = reinterpret_cast<qintptr>(h);
}

TExclusiveFileLock::~TExclusiveFileLock()
{
    if (FHandle >= 0)
        CloseHandle(reinterpret_cast<HANDLE>(FHandle));
}

TLockFile::~TLockFile() { Unlock(); }

TLockResult TLockFile::TryLock(const QString &FileName, QString &Error)
{
    Unlock();
    HANDLE h = CreateFileW(NativeName(FileName).c_str(), GENERIC_READ | GENERIC_WRITE,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT,
                           nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        Error = QStringLiteral("error del sistema %1").arg(GetLastError());
        return TLockResult::Failed;
    }
    OVERLAPPED whole{};
    if (!LockFileEx(h, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, MAXDWORD, MAXDWORD,
                    &whole)) {
        const DWORD error = GetLastError();
        CloseHandle(h);
        if (error == ERROR_LOCK_VIOLATION || error == ERROR_IO_PENDING)
            return TLockResult::Busy;
        Error = QStringLiteral("error del sistema %1").arg(error);
        return TLockResult::Failed;
    }
    FHandle = reinterpret_cast<qintptr>(h);
    return TLockResult::Locked;
}

void TLockFile::Unlock()
{
    if (FHandle != -1)
        CloseHandle(reinterpret_cast<HANDLE>(FHandle)); // closing releases the lock
    FHandle = -1;
}
