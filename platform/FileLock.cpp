#include "FileLock.h"

#include <QElapsedTimer>
#include <QFile>

#include <cstring>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

int OpenForAppend(const QString &FileName, mode_t Mode = 0666)
{
    if (FileName.isEmpty())
        return -1;
    const QByteArray name = QFile::encodeName(FileName);
    int fd;
    do {
        fd = ::open(name.constData(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, Mode);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

int LockExclusive(int fd)
{
    int rc;
    do {
        rc = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (rc != 0 && errno == EINTR);
    return rc;
}

} // namespace

// Takes the exclusive lock, trying again every millisecond for up to WaitMs.
// Returns 0, or the errno of the last try.
int LockWithin(int fd, int WaitMs)
{
    QElapsedTimer waited;
    waited.start();
    while (LockExclusive(fd) != 0) {
        const int error = errno;
        if ((error != EWOULDBLOCK && error != EAGAIN) || waited.elapsed() >= WaitMs)
            return error;
        ::usleep(1000);
    }
    return 0;
}

TAppendResult AppendExclusive(const QString &FileName, const QByteArray &Data, int LockWaitMs,
                              bool OwnerOnly)
{
    const int fd = OpenForAppend(FileName, OwnerOnly ? 0600 : 0666);
    if (fd < 0)
        return errno == ENOENT || errno == ENOTDIR ? TAppendResult::MissingFolder
                                                   : TAppendResult::Failed;
    if (const int error = LockWithin(fd, LockWaitMs)) {
        ::close(fd);
        return error == EWOULDBLOCK || error == EAGAIN ? TAppendResult::Busy
                                                       : TAppendResult::Failed;
    }
    const char *p = Data.constData();
    qint64 left = Data.size();
    bool ok = true;
    while (left > 0) {
        const ssize_t n = ::write(fd, p, static_cast<size_t>(left));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            ok = false;
            break;
        }
        p += n;
        left -= n;
    }
    if (!ok && left < Data.size()) {
        // Cut a partial line back off: under the lock nobody else appended,
        // so the data written so far ends at the current offset.
        const off_t end = ::lseek(fd, 0, SEEK_CUR);
        const off_t written = static_cast<off_t>(Data.size() - left);
        if (end >= written) {
            while (::ftruncate(fd, end - written) != 0 && errno == EINTR) {
            }
        }
    }
    // Closing the descriptor releases the lock.
    if (::close(fd) != 0)
        ok = false;
    return ok ? TAppendResult::Appended : TAppendResult::Failed;
}

bool WithExclusiveLock(const QString &FileName, int LockWaitMs,
                       const std::function<void(qint64 Size)> &Action)
{
    if (FileName.isEmpty())
        return false;
    const QByteArray name = QFile::encodeName(FileName);
    int fd;
    do {
        fd = ::open(name.constData(), O_WRONLY | O_APPEND | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return false;
    bool done = false;
    struct stat locked, current;
    if (LockWithin(fd, LockWaitMs) == 0 && ::fstat(fd, &locked) == 0
        && ::stat(name.constData(), &current) == 0 && locked.st_dev == current.st_dev
        && locked.st_ino == current.st_ino) {
        try {
            Action(static_cast<qint64>(locked.st_size));
            done = true;
        } catch (...) {
        }
    }
    ::close(fd);
    return done;
}

TExclusiveFileLock::TExclusiveFileLock(const QString &FileName)
{
    const int fd = OpenForAppend(FileName);
    if (fd < 0)
        return;
    if (LockExclusive(fd) != 0) {
        ::close(fd);
        return;
    }
    FHandle = fd;
}

TExclusiveFileLock::~TExclusiveFileLock()
{
    if (FHandle >= 0)
        ::close(FHandle);
}

TLockFile::~TLockFile() { Unlock(); }

TLockResult TLockFile::TryLock(const QString &FileName, QString &Error)
{
    Unlock();
    const QByteArray name = QFile::encodeName(FileName);
    int fd;
    do {
        fd = ::open(name.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        Error = QString::fromLocal8Bit(std::strerror(errno));
        return TLockResult::Failed;
    }
    if (LockExclusive(fd) != 0) {
        const int error = errno;
        ::close(fd);
        if (error == EWOULDBLOCK || error == EAGAIN)
            return TLockResult::Busy;
        Error = QString::fromLocal8Bit(std::strerror(error));
        return TLockResult::Failed;
    }
    FHandle = fd;
    return TLockResult::Locked;
}

void TLockFile::Unlock()
{
    if (FHandle != -1)
        ::close(static_cast<int>(FHandle));
    FHandle = -1;
}
