#include "FileWrite.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool WriteAll(int Fd, const QByteArray &Bytes)
{
    qint64 done = 0;
    while (done < Bytes.size()) {
        const ssize_t n = ::write(Fd, Bytes.constData() + done, size_t(Bytes.size() - done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        done += n;
    }
    return true;
}

bool Fail(TFileError &Error, int Code)
{
    Error.Code = Code;
    return false;
}

bool WriteAndClose(int Fd, const QByteArray &Bytes, TFileError &Error)
{
    const bool ok = WriteAll(Fd, Bytes);
    const int err = errno;
    ::close(Fd);
    return ok || Fail(Error, err);
}

} // namespace

QString TFileError::Reason() const
{
    switch (Code) {
    case EACCES:
    case EPERM:
    case EISDIR: return QStringLiteral("Acceso denegado.");
    case ENOENT:
    case ENOTDIR: return QStringLiteral("El sistema no puede encontrar la ruta especificada.");
    case EROFS: return QStringLiteral("El medio está protegido contra escritura.");
    case ENOSPC:
    case EDQUOT: return QStringLiteral("No hay espacio suficiente en el disco.");
    case EWOULDBLOCK:
        return QStringLiteral("El proceso no tiene acceso al archivo porque está siendo "
                              "utilizado por otro proceso.");
    case EEXIST: return QStringLiteral("No se puede crear un archivo que ya existe.");
    case ENAMETOOLONG: return QStringLiteral("El nombre del archivo es demasiado largo.");
    default: return QStringLiteral("Error del sistema %1.").arg(Code);
    }
}

bool WriteWholeFile(const QString &FileName, const QByteArray &Bytes, bool OwnerOnly,
                    TFileError &Error)
{
    const int fd = ::open(QFile::encodeName(FileName).constData(),
                          O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, OwnerOnly ? 0600 : 0666);
    if (fd < 0)
        return Fail(Error, errno);
    if (OwnerOnly)
        ::fchmod(fd, 0600);
    return WriteAndClose(fd, Bytes, Error);
}

bool CreateNewFile(const QString &FileName, const QByteArray &Bytes, bool OwnerOnly,
                   TFileError &Error)
{
    const QByteArray name = QFile::encodeName(FileName);
    const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                          OwnerOnly ? 0600 : 0666);
    if (fd < 0)
        return Fail(Error, errno);
    bool ok = (!OwnerOnly || ::fchmod(fd, 0600) == 0) && WriteAll(fd, Bytes);
    int err = errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        err = errno;
    }
    if (!ok)
        ::unlink(name.constData());
    return ok || Fail(Error, err);
}

QString AccessDeniedReason() { return TFileError{EACCES}.Reason(); }

bool AppendToExistingFile(const QString &FileName, const QByteArray &Bytes, TFileError &Error)
{
    const int fd = ::open(QFile::encodeName(FileName).constData(), O_RDWR | O_APPEND | O_CLOEXEC);
    if (fd < 0)
        return Fail(Error, errno);
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int err = errno;
        ::close(fd);
        return Fail(Error, err);
    }
    return WriteAndClose(fd, Bytes, Error);
}

bool CopyWholeFile(const QString &Source, const QString &Target, bool OwnerOnly, TFileError &Error)
{
    QFile in(Source);
    if (!in.open(QIODevice::ReadOnly))
        return Fail(Error, ENOENT);
    return WriteWholeFile(Target, in.readAll(), OwnerOnly, Error);
}

void RestrictToOwner(const QString &FileName)
{
    const int fd = ::open(QFile::encodeName(FileName).constData(),
                          O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return;
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode))
        ::fchmod(fd, 0600);
    ::close(fd);
}

bool CreateOwnerOnlyFolder(const QString &Path, TFileError &Error)
{
    const QByteArray name = QFile::encodeName(QDir::cleanPath(Path));
    const QString parent = QFileInfo(QDir::cleanPath(Path)).path();
    if (!QDir().mkpath(parent))
        return Fail(Error, ENOENT);
    if (::mkdir(name.constData(), 0700) == 0)
        return true;
    if (errno != EEXIST)
        return Fail(Error, errno);
    // O_NOFOLLOW: a link in the folder's place is refused, not followed.
    const int fd = ::open(name.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return Fail(Error, errno == ELOOP ? ENOTDIR : errno);
    const bool ok = ::fchmod(fd, 0700) == 0;
    const int err = errno;
    ::close(fd);
    return ok || Fail(Error, err);
}

bool RenameFile(const QString &From, const QString &To, TFileError &Error)
{
    if (::rename(QFile::encodeName(From).constData(), QFile::encodeName(To).constData()) != 0)
        return Fail(Error, errno);
    return true;
}

bool MoveOver(const QString &From, const QString &To, TFileError &Error)
{
    return RenameFile(From, To, Error);
}

QString SharedFileWorkName(const QString &Target)
{
    return Target;
}

bool PutSharedFile(const QString &Work, const QString &Target, TFileError &Error)
{
    return MoveOver(Work, Target, Error);
}

bool PrepareOutputFile(const QString &, TFileError &)
{
    return true;
}
