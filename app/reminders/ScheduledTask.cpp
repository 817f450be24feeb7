#include "ScheduledTask.h"

#include "Process.h"
#include "ReminderNames.h"

#include <QStringList>

namespace {

QString XmlText(const QString &Text)
{
    return Text.toHtmlEscaped();
}

} // namespace

QString ScheduledTaskName(const QString &UserId, const QString &Folder)
{
    // Windows names are not case-sensitive: one task whatever the case typed.
    return ReminderName(UserId.toLower() + QLatin1Char('\n') + Folder.toLower());
}

QString ScheduledTaskXml(const TScheduledTask &Task)
{
    QStringList arguments;
    for (const QString &a : ReminderCheckArguments(Task.Folder))
        arguments << (a.startsWith(QLatin1String("--")) ? a : QuoteArgument(a));
    const QString user = XmlText(Task.UserId);
    return QStringLiteral(
               "<?xml version=\"1.0\" encoding=\"UTF-16\"?>\n"
               "<Task version=\"1.2\" xmlns=\"http://schemas.microsoft.com/windows/2004/02/mit/task\">\n"
               "  <RegistrationInfo>\n"
               "    <Author>ZeDede</Author>\n"
               "    <Description>Revisa cada día los certificados de %1 y avisa de los que están por vencer.</Description>\n"
               "  </RegistrationInfo>\n"
               "  <Triggers>\n"
               "    <CalendarTrigger>\n"
               "      <StartBoundary>2000-01-01T10:00:00</StartBoundary>\n"
               "      <Enabled>true</Enabled>\n"
               "      <ScheduleByDay>\n"
               "        <DaysInterval>1</DaysInterval>\n"
               "      </ScheduleByDay>\n"
               "    </CalendarTrigger>\n"
               "    <LogonTrigger>\n"
               "      <Enabled>true</Enabled>\n"
               "      <UserId>%2</UserId>\n"
               "      <Delay>PT2M</Delay>\n"
               "    </LogonTrigger>\n"
               "  </Triggers>\n"
               "  <Principals>\n"
               "    <Principal id=\"Author\">\n"
               "      <UserId>%2</UserId>\n"
               "      <LogonType>InteractiveToken</LogonType>\n"
               "      <RunLevel>LeastPrivilege</RunLevel>\n"
               "    </Principal>\n"
               "  </Principals>\n"
               "  <Settings>\n"
               "    <MultipleInstancesPolicy>IgnoreNew</MultipleInstancesPolicy>\n"
               "    <DisallowStartIfOnBatteries>false</DisallowStartIfOnBatteries>\n"
               "    <StopIfGoingOnBatteries>false</StopIfGoingOnBatteries>\n"
               "    <StartWhenAvailable>true</StartWhenAvailable>\n"
               "    <RunOnlyIfNetworkAvailable>false</RunOnlyIfNetworkAvailable>\n"
               "    <ExecutionTimeLimit>PT15M</ExecutionTimeLimit>\n"
               "    <Enabled>true</Enabled>\n"
               "  </Settings>\n"
               "  <Actions Context=\"Author\">\n"
               "    <Exec>\n"
               "      <Command>%3</Command>\n"
               "      <Arguments>%4</Arguments>\n"
               "    </Exec>\n"
               "  </Actions>\n"
               "</Task>\n")
        .arg(XmlText(Task.Folder), user, XmlText(Task.Program), XmlText(arguments.join(QLatin1Char(' '))));
}

QString SchtasksCreateParameters(const QString &Name, const QString &XmlFile)
{
    return QStringLiteral("/Create /F /TN %1 /XML %2").arg(QuoteArgument(Name), QuoteArgument(XmlFile));
}

QString SchtasksDeleteParameters(const QString &Name)
{
    return QStringLiteral("/Delete /F /TN %1").arg(QuoteArgument(Name));
}

QString SchtasksQueryParameters(const QString &Name)
{
    return QStringLiteral("/Query /TN %1").arg(QuoteArgument(Name));
}
