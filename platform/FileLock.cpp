#include "FileLock.h"

#include <QElapsedTimer>
#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

int OpenForAppend(const QString &FileName)
{
    if (FileName.isEmpty())
        return -1;
    const QByteArray name = QFile::encodeName(FileName);
    int fd;
    do {
        fd = ::open(name.constData(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
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

TAppendResult AppendExclusive(const QString &FileName, const QByteArray &Data, int LockWaitMs)
{
    const int fd = OpenForAppend(FileName);
    if (fd < 0)
        return errno == ENOENT || errno == ENOTDIR ? TAppendResult::MissingFolder
                                                   : TAppendResult::Failed;
    QElapsedTimer waited;
    waited.start();
    while (LockExclusive(fd) != 0) {
        const bool busy = errno == EWOULDBLOCK || errno == EAGAIN;
        if (!busy || waited.elapsed() >= LockWaitMs) {
            ::close(fd);
            return busy ? TAppendResult::Busy : TAppendResult::Failed;
        }
        ::usleep(1000);
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
