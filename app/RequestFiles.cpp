#include "RequestFiles.h"

#include "Exception.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>

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

void RemoveFile(const QString &Path)
{
    if (!Path.isEmpty())
        ::unlink(QFile::encodeName(Path).constData());
}

} // namespace

QString SystemReason(int Error)
{
    switch (Error) {
    case EACCES:
    case EPERM: return QStringLiteral("Acceso denegado.");
    case ENOENT:
    case ENOTDIR: return QStringLiteral("El sistema no puede encontrar la ruta especificada.");
    case EISDIR: return QStringLiteral("Acceso denegado.");
    case EROFS: return QStringLiteral("El medio está protegido contra escritura.");
    case ENOSPC:
    case EDQUOT: return QStringLiteral("No hay espacio suficiente en el disco.");
    case EWOULDBLOCK:
        return QStringLiteral("El proceso no tiene acceso al archivo porque está siendo "
                              "utilizado por otro proceso.");
    case ENAMETOOLONG: return QStringLiteral("El nombre del archivo es demasiado largo.");
    default: return QStringLiteral("Error del sistema %1.").arg(Error);
    }
}

bool PathExists(const QString &Path)
{
    const QFileInfo fi(Path);
    return fi.exists() || fi.isSymLink();
}

QString TemporaryName(const QString &Path)
{
    return Path + QStringLiteral(".%1.tmp").arg(QRandomGenerator::system()->generate(), 8, 16,
                                                 QLatin1Char('0'));
}

bool WriteNewPrivateFile(const QString &Path, const QByteArray &Bytes)
{
    const QByteArray name = QFile::encodeName(Path);
    const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                          0600);
    if (fd < 0)
        return false;
    bool ok = ::fchmod(fd, 0600) == 0 && WriteAll(fd, Bytes);
    int err = errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        err = errno;
    }
    if (!ok) {
        ::unlink(name.constData());
        errno = err;
    }
    return ok;
}

void MakePrivate(const QString &Path)
{
    const int fd = ::open(QFile::encodeName(Path).constData(),
                          O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return;
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode))
        ::fchmod(fd, 0600);
    ::close(fd);
}

TTemporaryFiles::~TTemporaryFiles()
{
    for (const QString &f : FFiles)
        RemoveFile(f);
}

QString TTemporaryFiles::Add(const QString &Path)
{
    FFiles << Path;
    return Path;
}

void TTemporaryFiles::Keep(const QString &Path)
{
    FFiles.removeAll(Path);
}

void SaveBytesToFile(const QString &FileName, const QByteArray &Bytes, bool Append)
{
    const QByteArray path = QFile::encodeName(FileName);
    int fd = -1;
    if (Append && PathExists(FileName)) {
        fd = ::open(path.constData(), O_RDWR | O_APPEND | O_CLOEXEC);
        if (fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            const int err = errno;
            ::close(fd);
            errno = err;
            fd = -1;
        }
        if (fd < 0)
            throw Exception(QStringLiteral("Cannot open file \"%1\". %2")
                                .arg(FileName, SystemReason(errno)));
    } else {
        fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
        if (fd < 0)
            throw Exception(QStringLiteral("Cannot create file \"%1\". %2")
                                .arg(FileName, SystemReason(errno)));
    }
    const bool ok = WriteAll(fd, Bytes);
    const int err = errno;
    ::close(fd);
    if (!ok)
        throw Exception(QStringLiteral("Cannot create file \"%1\". %2")
                            .arg(FileName, SystemReason(err)));
}

QString KeepExistingFile(const QString &FileName, const QDateTime &Stamp)
{
    if (!PathExists(FileName))
        return QString();
    const QString base = FileName + QLatin1Char('.') + Stamp.toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString target = base + QStringLiteral(".bak");
    for (int i = 2; PathExists(target); ++i)
        target = base + QStringLiteral("-%1.bak").arg(i);
    if (::rename(QFile::encodeName(FileName).constData(),
                 QFile::encodeName(target).constData()) != 0)
        throw Exception(QStringLiteral("No se pudo conservar el archivo existente %1: %2")
                            .arg(FileName, SystemReason(errno)));
    MakePrivate(target);
    return target;
}

QStringList PlaceNewFiles(const QList<QPair<QString, QString>> &NewToFinal)
{
    const QDateTime stamp = QDateTime::currentDateTime();
    QStringList kept;        // .bak names, parallel to keptFinal
    QStringList keptFinal;
    QStringList placed;
    try {
        for (const auto &f : NewToFinal) {
            const QString bak = KeepExistingFile(f.second, stamp);
            if (!bak.isEmpty()) {
                kept << bak;
                keptFinal << f.second;
            }
            if (::rename(QFile::encodeName(f.first).constData(),
                         QFile::encodeName(f.second).constData())
                != 0)
                throw Exception(QStringLiteral("Cannot create file \"%1\". %2")
                                    .arg(f.second, SystemReason(errno)));
            placed << f.second;
        }
    } catch (...) {
        for (const QString &p : placed)
            RemoveFile(p);
        for (int i = 0; i < kept.size(); ++i)
            ::rename(QFile::encodeName(kept[i]).constData(),
                     QFile::encodeName(keptFinal[i]).constData());
        throw;
    }
    return kept;
}
