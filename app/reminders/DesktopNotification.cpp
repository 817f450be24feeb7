#include "DesktopNotification.h"

#include "Exception.h"
#include "Paths.h"
#include "uVmWriteToLog.h"

#include <QCoreApplication>
#include <QProcess>

int NotifyDueCertificates(const QList<TDueCertificate> &Due, const QString &Folder)
{
    return NotifyDueCertificates(Due, Folder, TNotifyOptions());
}

int NotifyDueCertificates(const QList<TDueCertificate> &Due, const QString &Folder,
                          const TNotifyOptions &Options)
{
    if (Due.isEmpty())
        return 0;
    if (!QCoreApplication::instance())
        throw Exception(QStringLiteral("No se pudo mostrar el aviso: el programa no está listo."));
    ShowDueNotification(DueNoticeFor(Due), Folder, Options);
    return 1;
}

bool OpenCertificatesBook(const QString &Program, const QString &Folder)
{
    const QString program = Program.isEmpty() ? OwnProgramFile() : Program;
    const bool started =
        QProcess::startDetached(program, {QStringLiteral("--certificados"), Folder});
    if (!started)
        TManagedLogFile::Write(ltError, QStringLiteral("No se pudo abrir «Mis certificados» con ") + program);
    return started;
}
