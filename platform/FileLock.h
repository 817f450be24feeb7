#pragma once
// Appending to a file shared by several writers: the file is opened for
// appending and locked exclusively for the duration of one append.

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <functional>

// Outcome of one attempt.
enum class TAppendResult {
    Appended, // every byte is at the end of the file
    Busy,          // another writer holds the file; nothing was written
    MissingFolder, // the file's folder (or a parent) is missing or not a
                   // folder; nothing was written
    Failed         // the file cannot be opened or written
};

// One attempt: opens (creating when missing) FileName for appending, takes an
// exclusive lock, appends all of Data and closes the file. The lock is tried
// without blocking; while another writer holds it, it is tried again every
// millisecond for up to LockWaitMs before the attempt gives up as Busy. A
// failed write is cut back so that no partial data stays. Never throws.
// With OwnerOnly a file created by the attempt is readable and writable by
// its owner only (an existing file keeps its permissions).
TAppendResult AppendExclusive(const QString &FileName, const QByteArray &Data,
                              int LockWaitMs = 0, bool OwnerOnly = false);

// Runs Action while holding the exclusive lock of the existing file
// FileName, and only while the name still refers to the locked file (not to
// one that another process has already renamed away and replaced). Action
// receives the file's size taken under the lock. The lock is waited for as
// in AppendExclusive. False when the file is missing, stays busy or was
// replaced. Never throws.
bool WithExclusiveLock(const QString &FileName, int LockWaitMs,
                       const std::function<void(qint64 Size)> &Action);

// Holds an exclusive lock on a file for as long as the object lives (used to
// keep a file busy, for instance by a writer that needs it alone).
class TExclusiveFileLock
{
public:
    explicit TExclusiveFileLock(const QString &FileName);
    ~TExclusiveFileLock();
    TExclusiveFileLock(const TExclusiveFileLock &) = delete;
    TExclusiveFileLock &operator=(const TExclusiveFileLock &) = delete;

    bool Locked() const { return FHandle >= 0; }

private:
    qintptr FHandle = -1; // a descriptor on Linux, a HANDLE on Windows
};

// An exclusive lock on a lock file, for work that one process at a time may
// do (Linux: flock, Windows: LockFileEx). The system releases it when the
// process ends in any way, so a killed holder leaves no stale lock behind.
// Two objects conflict even within one process.
enum class TLockResult { Locked, Busy, Failed };

class TLockFile
{
public:
    TLockFile() = default;
    ~TLockFile();
    TLockFile(const TLockFile &) = delete;
    TLockFile &operator=(const TLockFile &) = delete;

    // Opens FileName (created owner-only when missing; a symbolic link there
    // is not followed) and tries once, without waiting, to lock it. Failed
    // carries the system's reason in Error.
    TLockResult TryLock(const QString &FileName, QString &Error);
    bool Locked() const { return FHandle != -1; }
    void Unlock();

private:
    qintptr FHandle = -1; // a descriptor on Linux, a HANDLE on Windows
};
