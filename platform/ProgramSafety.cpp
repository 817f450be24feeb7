#include "ProgramSafety.h"

#include <QFile>
#include <QStringList>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

#include <sys/stat.h>
#include <unistd.h>

namespace {

QString Octal(mode_t Mode) { return QStringLiteral("%1").arg(Mode & 07777, 4, 8, QLatin1Char('0')); }

QString FolderOf(const QString &Path)
{
    const int slash = Path.lastIndexOf(QLatin1Char('/'));
    return slash <= 0 ? QStringLiteral("/") : Path.left(slash);
}

// Why Path (a folder when Folder) may be changed by others; empty when it
// may not. Above: a folder higher up, where the sticky bit protects what
// others own.
QString NodeReason(const QString &Path, bool Folder, bool Above)
{
    struct stat st {};
    if (::lstat(QFile::encodeName(Path).constData(), &st) != 0)
        return QStringLiteral("no se pudo examinar %1 (%2)")
            .arg(Path, QString::fromLocal8Bit(std::strerror(errno)));
    const QString what = Folder ? QStringLiteral("la carpeta %1").arg(Path)
                                : QStringLiteral("el archivo %1").arg(Path);
    if (st.st_uid != 0 && st.st_uid != ::geteuid())
        return QStringLiteral("%1 pertenece a otro usuario (uid %2)").arg(what).arg(st.st_uid);
    if ((st.st_mode & (S_IWGRP | S_IWOTH)) && !(Above && (st.st_mode & S_ISVTX)))
        return QStringLiteral("%1 la pueden modificar otros usuarios (permisos %2)")
            .arg(what, Octal(st.st_mode));
    return QString();
}

// The folder (already free of links) and the folders above it.
QString FolderChainReason(const QString &Folder)
{
    QString f = Folder;
    bool above = false;
    for (;;) {
        const QString reason = NodeReason(f, true, above);
        if (!reason.isEmpty())
            return reason;
        if (f == QLatin1String("/"))
            return QString();
        f = FolderOf(f);
        above = true;
    }
}

QString RealFolder(const QString &Folder)
{
    char resolved[PATH_MAX];
    if (!::realpath(QFile::encodeName(Folder).constData(), resolved))
        return QString();
    return QFile::decodeName(resolved);
}

} // namespace

QString UnsafeProgramReason(const QString &Program)
{
    QString path = Program;
    for (int hop = 0; hop < 40; ++hop) {
        if (!path.startsWith(QLatin1Char('/')))
            return QStringLiteral("%1 no es una ruta completa").arg(path);
        // The folder the name lies in decides what the name leads to.
        const QString folder = RealFolder(FolderOf(path));
        if (folder.isEmpty())
            return QStringLiteral("no se pudo examinar la carpeta %1 (%2)")
                .arg(FolderOf(path), QString::fromLocal8Bit(std::strerror(errno)));
        const QString reason = FolderChainReason(folder);
        if (!reason.isEmpty())
            return reason;
        const QString here = (folder == QLatin1String("/") ? QString() : folder)
                             + path.mid(path.lastIndexOf(QLatin1Char('/')));
        struct stat st {};
        if (::lstat(QFile::encodeName(here).constData(), &st) != 0)
            return QStringLiteral("no se pudo examinar %1 (%2)")
                .arg(here, QString::fromLocal8Bit(std::strerror(errno)));
        if (!S_ISLNK(st.st_mode)) {
            if (!S_ISREG(st.st_mode))
                return QStringLiteral("%1 no es un archivo").arg(here);
            return NodeReason(here, false, false);
        }
        char target[PATH_MAX];
        const ssize_t n = ::readlink(QFile::encodeName(here).constData(), target, sizeof target - 1);
        if (n < 0)
            return QStringLiteral("no se pudo leer el enlace %1").arg(here);
        target[n] = '\0';
        const QString next = QFile::decodeName(target);
        path = next.startsWith(QLatin1Char('/')) ? next : folder + QLatin1Char('/') + next;
    }
    return QStringLiteral("%1 lleva a demasiados enlaces").arg(Program);
}
