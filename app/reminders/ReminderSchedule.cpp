#include "ReminderSchedule.h"

#include "AutostartEntry.h"
#include "Exception.h"
#include "FileWrite.h"
#include "Paths.h"
#include "Process.h"
#include "ReminderNames.h"
#include "ScheduledTask.h"
#include "SystemdUnits.h"
#include "UserSystemd.h"
#include "uVmWriteToLog.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

namespace {

QString Quoted(const QString &Folder)
{
    return QStringLiteral("«%1»").arg(Folder);
}

[[noreturn]] void EnableFailed(const QString &Folder, const QString &Reason,
                               const QString &Details = QString())
{
    const QString message = QStringLiteral("No se pudieron activar los avisos para la carpeta %1: %2")
                                .arg(Quoted(Folder), Reason);
    TManagedLogFile::Write(ltError, message);
    if (!Details.isEmpty())
        TManagedLogFile::Write(ltError, QStringLiteral("  ") + Details);
    throw Exception(message, Details);
}

[[noreturn]] void DisableFailed(const QString &Folder, const QString &Reason,
                                const QString &Details = QString())
{
    const QString message = QStringLiteral("No se pudieron desactivar los avisos para la carpeta %1: %2")
                                .arg(Quoted(Folder), Reason);
    TManagedLogFile::Write(ltError, message);
    throw Exception(message, Details);
}

void RequireReadableFolder(const QString &Folder)
{
    const QFileInfo info(Folder);
    if (!info.isDir())
        EnableFailed(Folder, QStringLiteral("la carpeta no existe."));
#ifdef Q_OS_WIN
    const bool readable = info.isReadable();
#else
    const bool readable = info.isReadable() && info.isExecutable();
#endif
    if (!readable)
        EnableFailed(Folder, QStringLiteral("no hay permiso para leer la carpeta."));
}

#ifndef Q_OS_WIN

QString UnitName(const QString &Folder)
{
    return ReminderName(Folder);
}

// The link "systemctl enable" makes; removed by hand too when no manager can.
QString WantsLink(const QString &Folder)
{
    return TUserSystemd::UnitFolder() + QStringLiteral("/timers.target.wants/") + UnitName(Folder)
           + QStringLiteral(".timer");
}

bool Present(const QString &Path)
{
    return QFileInfo(Path).exists() || QFileInfo(Path).isSymLink();
}

void WriteFile(const QString &Folder, const QString &Path, const QString &Text)
{
    if (!QDir().mkpath(QFileInfo(Path).path()))
        EnableFailed(Folder, QStringLiteral("no se pudo crear la carpeta %1.").arg(Quoted(QFileInfo(Path).path())));
    TFileError error;
    if (!WriteWholeFile(Path, Text.toUtf8(), false, error))
        EnableFailed(Folder, QStringLiteral("no se pudo escribir %1 (%2).").arg(Quoted(Path), error.Reason()));
}

// Removes Path if it is there; false when it stays.
bool RemoveFile(const QString &Path)
{
    return !Present(Path) || QFile::remove(Path);
}

#endif

} // namespace

TReminderSchedule::TReminderSchedule(const QString &Program)
    : FProgram(Program.isEmpty() ? OwnProgramFile() : Program)
{
}

#ifndef Q_OS_WIN

QString TReminderSchedule::TimerFile(const QString &Folder)
{
    return TUserSystemd::UnitFolder() + QLatin1Char('/') + UnitName(ReminderFolder(Folder))
           + QStringLiteral(".timer");
}

QString TReminderSchedule::ServiceFile(const QString &Folder)
{
    return TUserSystemd::UnitFolder() + QLatin1Char('/') + UnitName(ReminderFolder(Folder))
           + QStringLiteral(".service");
}

QString TReminderSchedule::AutostartFile(const QString &Folder)
{
    return TUserSystemd::ConfigHome() + QStringLiteral("/autostart/")
           + UnitName(ReminderFolder(Folder)) + QStringLiteral(".desktop");
}

void TReminderSchedule::Enable(const QString &Folder) const
{
    const QString folder = ReminderFolder(Folder);
    RequireReadableFolder(folder);
    if (FProgram.isEmpty())
        EnableFailed(folder, QStringLiteral("no se sabe dónde está este programa."));
    const QString name = UnitName(folder);
    const QString timer = TimerFile(folder);
    const QString service = ServiceFile(folder);
    const QString autostart = AutostartFile(folder);

    WriteFile(folder, service, ReminderServiceText(FProgram, folder));
    WriteFile(folder, timer, ReminderTimerText(name + QStringLiteral(".service"), folder));
    const TSystemctlResult reload = TUserSystemd::Run({QStringLiteral("daemon-reload")});
    if (reload.Succeeded) {
        const TSystemctlResult enable = TUserSystemd::Run(
            {QStringLiteral("enable"), QStringLiteral("--now"), name + QStringLiteral(".timer")});
        if (!enable.Succeeded) {
            QFile::remove(timer);
            QFile::remove(service);
            TUserSystemd::Run({QStringLiteral("daemon-reload")});
            EnableFailed(folder,
                         QStringLiteral("el administrador de servicios del usuario (systemd) no "
                                        "pudo activar la revisión diaria."),
                         enable.Output);
        }
        // A session that has systemd now needs no log-in entry besides.
        RemoveFile(autostart);
        TManagedLogFile::Write(ltMsg, QStringLiteral("Avisos activados (systemd) para ") + folder);
        return;
    }

    // No user manager: the check runs at each log-in instead.
    QFile::remove(timer);
    QFile::remove(service);
    TManagedLogFile::Write(ltMsg, QStringLiteral("Sin systemd del usuario (") + reload.Output.trimmed()
                                      + QStringLiteral("); avisos al iniciar la sesión para ") + folder);
    WriteFile(folder, autostart, ReminderAutostartText(FProgram, folder));
}

void TReminderSchedule::Disable(const QString &Folder) const
{
    const QString folder = ReminderFolder(Folder);
    const QString name = UnitName(folder);
    const QString timer = TimerFile(folder);
    const QString service = ServiceFile(folder);
    const QString link = WantsLink(folder);
    const bool hadUnits = Present(timer) || Present(service) || Present(link);
    if (hadUnits) {
        TUserSystemd::Run({QStringLiteral("disable"), QStringLiteral("--now"), name + QStringLiteral(".timer")});
        TUserSystemd::Run({QStringLiteral("stop"), name + QStringLiteral(".service")});
    }
    for (const QString &path : {link, timer, service, AutostartFile(folder)}) {
        if (!RemoveFile(path))
            DisableFailed(folder, QStringLiteral("no se pudo borrar %1.").arg(Quoted(path)));
    }
    if (hadUnits)
        TUserSystemd::Run({QStringLiteral("daemon-reload")});
    TManagedLogFile::Write(ltMsg, QStringLiteral("Avisos desactivados para ") + folder);
}

TReminderSchedule::TKind TReminderSchedule::Kind(const QString &Folder) const
{
    const QString folder = ReminderFolder(Folder);
    if (QFileInfo(TimerFile(folder)).isFile() && QFileInfo(ServiceFile(folder)).isFile()) {
        const TSystemctlResult state =
            TUserSystemd::Run({QStringLiteral("is-enabled"), UnitName(folder) + QStringLiteral(".timer")});
        if (state.Succeeded && state.Output.trimmed() == QLatin1String("enabled"))
            return rkSystemdTimer;
    }
    if (QFileInfo(AutostartFile(folder)).isFile())
        return rkAutostart;
    return rkNone;
}

#else // Q_OS_WIN

namespace {

QString CurrentUserId()
{
    const QString domain = qEnvironmentVariable("USERDOMAIN");
    const QString user = qEnvironmentVariable("USERNAME");
    return domain.isEmpty() ? user : domain + QLatin1Char('\\') + user;
}

QString Schtasks()
{
    const QString root = qEnvironmentVariable("SystemRoot", QStringLiteral("C:\\Windows"));
    return QDir::toNativeSeparators(root + QStringLiteral("/System32/schtasks.exe"));
}

TExecuteOutcome RunSchtasks(const QString &Parameters)
{
    TExecuteOptions options;
    options.StopIfAbandoned = true;
    options.TimeLimit = 30000;
    TExecuteOutcome outcome;
    ExecuteAndWait(Schtasks(), QDir::tempPath(), Parameters, options, outcome);
    return outcome;
}

QString SchtasksReason(const TExecuteOutcome &Outcome)
{
    return Outcome.Started ? LastLines(Outcome.Output, 10) : Outcome.StartError;
}

} // namespace

QString TReminderSchedule::TimerFile(const QString &) { return QString(); }
QString TReminderSchedule::ServiceFile(const QString &) { return QString(); }
QString TReminderSchedule::AutostartFile(const QString &) { return QString(); }

void TReminderSchedule::Enable(const QString &Folder) const
{
    const QString folder = ReminderFolder(Folder);
    RequireReadableFolder(folder);
    TScheduledTask task;
    task.UserId = CurrentUserId();
    task.Name = ScheduledTaskName(task.UserId, folder);
    task.Program = QDir::toNativeSeparators(FProgram);
    task.Folder = folder;
    QTemporaryDir work;
    if (!work.isValid())
        EnableFailed(folder, QStringLiteral("no se pudo crear una carpeta temporal."));
    const QString xml = QDir::toNativeSeparators(work.filePath(QStringLiteral("tarea.xml")));
    // The definition in UTF-16 with its byte-order mark, as it declares.
    const QString text = ScheduledTaskXml(task);
    QByteArray bytes("\xff\xfe", 2);
    bytes.append(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
    TFileError error;
    if (!WriteWholeFile(xml, bytes, true, error))
        EnableFailed(folder, QStringLiteral("no se pudo escribir %1 (%2).").arg(Quoted(xml), error.Reason()));
    const TExecuteOutcome created = RunSchtasks(SchtasksCreateParameters(task.Name, xml));
    if (!created.Succeeded())
        EnableFailed(folder, QStringLiteral("el Programador de tareas no aceptó la tarea."),
                     SchtasksReason(created));
    TManagedLogFile::Write(ltMsg, QStringLiteral("Avisos activados (tarea ") + task.Name
                                      + QStringLiteral(") para ") + folder);
}

void TReminderSchedule::Disable(const QString &Folder) const
{
    const QString folder = ReminderFolder(Folder);
    const QString name = ScheduledTaskName(CurrentUserId(), folder);
    if (!RunSchtasks(SchtasksQueryParameters(name)).Succeeded())
        return;
    const TExecuteOutcome deleted = RunSchtasks(SchtasksDeleteParameters(name));
    if (!deleted.Succeeded())
        DisableFailed(folder, QStringLiteral("el Programador de tareas no borró la tarea."),
                      SchtasksReason(deleted));
    TManagedLogFile::Write(ltMsg, QStringLiteral("Avisos desactivados para ") + folder);
}

TReminderSchedule::TKind TReminderSchedule::Kind(const QString &Folder) const
{
    const QString name = ScheduledTaskName(CurrentUserId(), ReminderFolder(Folder));
    return RunSchtasks(SchtasksQueryParameters(name)).Succeeded() ? rkScheduledTask : rkNone;
}

#endif
