#include "RemindersCommand.h"

#include "Exception.h"
#include "ReminderNames.h"
#include "ReminderSchedule.h"

namespace {

// A value from the command line, printed as text: control characters shown
// as "?" so that they cannot steer the terminal.
QString Printable(const QString &Text)
{
    QString out = Text;
    for (QChar &c : out) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f || (c.unicode() >= 0x80 && c.unicode() < 0xa0))
            c = QLatin1Char('?');
    }
    return out;
}

QString HowText(TReminderSchedule::TKind Kind)
{
    switch (Kind) {
    case TReminderSchedule::rkSystemdTimer:
        return QStringLiteral("todos los días (temporizador de systemd del usuario)");
    case TReminderSchedule::rkAutostart:
        return QStringLiteral("al iniciar la sesión (esta sesión no tiene systemd del usuario)");
    case TReminderSchedule::rkScheduledTask:
        return QStringLiteral("todos los días y al iniciar la sesión (Programador de tareas)");
    case TReminderSchedule::rkNone:
        break;
    }
    return QString();
}

} // namespace

int RunRemindersCommand(const QString &Verb, const QString &Folder, QTextStream &Out,
                        QTextStream &Err)
{
    return RunRemindersCommand(Verb, Folder, QString(), Out, Err);
}

int RunRemindersCommand(const QString &Verb, const QString &Folder, const QString &Program,
                        QTextStream &Out, QTextStream &Err)
{
    const QString verb = Verb.trimmed().toLower();
    if (verb != QLatin1String("activar") && verb != QLatin1String("desactivar")
        && verb != QLatin1String("estado")) {
        Err << QStringLiteral("zedede: --avisos espera «activar», «desactivar» o «estado», no «%1».\n")
                   .arg(Printable(Verb));
        Err.flush();
        return 2;
    }
    if (Folder.isEmpty()) {
        Err << QStringLiteral("zedede: --avisos %1 necesita la carpeta de los certificados.\n").arg(verb);
        Err.flush();
        return 2;
    }
    const QString folder = ReminderFolder(Folder);
    const QString shown = Printable(folder);
    const TReminderSchedule schedule(Program);
    try {
        if (verb == QLatin1String("activar")) {
            schedule.Enable(folder);
            Out << QStringLiteral("Avisos activados para la carpeta «%1»: se revisa %2.\n")
                       .arg(shown, HowText(schedule.Kind(folder)));
        } else if (verb == QLatin1String("desactivar")) {
            schedule.Disable(folder);
            Out << QStringLiteral("Avisos desactivados para la carpeta «%1».\n").arg(shown);
        } else {
            const TReminderSchedule::TKind kind = schedule.Kind(folder);
            if (kind == TReminderSchedule::rkNone)
                Out << QStringLiteral("desactivados\n");
            else
                Out << QStringLiteral("activados: se revisa %1.\n").arg(HowText(kind));
        }
        Out.flush();
        return 0;
    } catch (const Exception &e) {
        Err << QStringLiteral("zedede: ") << Printable(e.Message()) << QLatin1Char('\n');
        Err.flush();
        return 2;
    }
}
