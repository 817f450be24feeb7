#include "ProgramSafety.h"

#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>
#include <unistd.h>

namespace {

// Empty when Path is owned by the user or root and no group or other user
// may write it.
QString UnsafePathReason(const QString &Path, bool Folder)
{
    struct stat st {};
    if (::stat(QFile::encodeName(Path).constData(), &st) != 0)
        return Folder ? QStringLiteral("No se encuentra la carpeta %1.").arg(Path)
                      : QStringLiteral("No se encuentra el programa %1.").arg(Path);
    const QString what = Folder ? QStringLiteral("la carpeta %1").arg(Path)
                                : QStringLiteral("el programa %1").arg(Path);
    if (st.st_uid != ::getuid() && st.st_uid != 0)
        return QStringLiteral("%1 pertenece a otro usuario (%2), que podría cambiarlo.")
            .arg(what.front().toUpper() + what.mid(1))
            .arg(st.st_uid);
    if (st.st_mode & (S_IWGRP | S_IWOTH))
        return QStringLiteral("Otros usuarios pueden modificar %1 (permisos %2).")
            .arg(what)
            .arg(st.st_mode & 07777, 4, 8, QLatin1Char('0'));
    return QString();
}

} // namespace

QString UnsafeProgramReason(const QString &Program)
{
    if (Program.isEmpty())
        return QStringLiteral("No se indicó el programa.");
    const QFileInfo given(Program);
    QStringList folders;
    // Whoever may write the folder of a link may point it elsewhere.
    if (given.isSymLink())
        folders << given.absolutePath();
    const QString target = given.canonicalFilePath();
    if (target.isEmpty())
        return QStringLiteral("No se encuentra el programa %1.").arg(Program);
    QString reason = UnsafePathReason(target, false);
    folders << QFileInfo(target).absolutePath();
    for (const QString &f : folders) {
        if (!reason.isEmpty())
            break;
        reason = UnsafePathReason(QFileInfo(f).canonicalFilePath().isEmpty()
                                      ? f
                                      : QFileInfo(f).canonicalFilePath(),
                                  true);
    }
    return reason;
}
