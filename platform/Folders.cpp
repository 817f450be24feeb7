#include "Folders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdlib>

#include <sys/stat.h>
#include <unistd.h>

namespace {

bool IsFolder(const QByteArray &AName)
{
    struct stat st;
    return ::stat(AName.constData(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool Exists(const QByteArray &AName)
{
    struct stat st;
    return ::lstat(AName.constData(), &st) == 0;
}

} // namespace

bool CreateFolderPath(const QString &Folder, TFileError &Error)
{
    const QString clean = QDir::cleanPath(QFileInfo(Folder).absoluteFilePath());
    const QByteArray name = QFile::encodeName(clean);
    if (IsFolder(name))
        return true;
    if (Exists(name)) {
        Error.Code = ENOTDIR;
        return false;
    }
    const QString parent = QFileInfo(clean).path();
    if (parent != clean && !CreateFolderPath(parent, Error))
        return false;
    if (::mkdir(name.constData(), 0777) == 0 || (errno == EEXIST && IsFolder(name)))
        return true;
    Error.Code = errno;
    return false;
}

bool CanCreateFilesIn(const QString &Folder, TFileError &Error)
{
    QByteArray probe = QFile::encodeName(QDir(Folder).absoluteFilePath(
                           QStringLiteral(".zedede-prueba-XXXXXX")));
    const int fd = ::mkstemp(probe.data());
    if (fd < 0) {
        Error.Code = errno;
        return false;
    }
    ::close(fd);
    ::unlink(probe.constData());
    return true;
}
