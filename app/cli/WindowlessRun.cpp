#include "WindowlessRun.h"

#include "BookCommand.h"
#include "BookReminder.h"
#include "ConsoleRun.h"
#include "ConsoleText.h"
#include "RemindersCommand.h"
#include "RenewCommand.h"
#include "SwitchCommand.h"
#include "VerifyCommand.h"

#include <QTextStream>

namespace {

int Print(const QString &AText, TConsoleStream AStream = TConsoleStream::Output)
{
    return WriteConsoleText(AStream, AText) ? 0 : 1;
}

// --avisos ACCIÓN CARPETA: the folder is the first argument that is no option.
int RunReminders(const TCommandLine &ACommandLine, int argc, char **argv)
{
    return RunWithConsoleStreams(argc, argv, [&ACommandLine](QTextStream &Out, QTextStream &Err) {
        return RunRemindersCommand(ACommandLine.Values.value(QStringLiteral("avisos")),
                                   ACommandLine.Positional.value(0), Out, Err);
    });
}

} // namespace

bool RunsWithoutWindow(TStartAction Action)
{
    return Action == TStartAction::UsageError || Action == TStartAction::Help
           || Action == TStartAction::Version || Action == TStartAction::VerifyWithoutWindow
           || Action == TStartAction::Reminders || Action == TStartAction::RenewWithoutWindow
           || Action == TStartAction::SwitchWithoutWindow
           || Action == TStartAction::BookWithoutWindow || Action == TStartAction::BookReminder;
}

int RunWithoutWindow(const TCommandLine &ACommandLine, int argc, char **argv)
{
    switch (ACommandLine.Action) {
    case TStartAction::UsageError:
        Print(UsageErrorText(ACommandLine.Error), TConsoleStream::Error);
        return 2;
    case TStartAction::Help:
        return Print(HelpText());
    case TStartAction::Version:
        return Print(VersionText());
    case TStartAction::BookWithoutWindow:
        return RunBookCommandWithoutWindow(argc, argv,
                                           ACommandLine.Values.value(QStringLiteral("certificados")),
                                           ACommandLine.Values.value(QStringLiteral("formato")));
    case TStartAction::BookReminder:
        return RunBookReminderWithoutWindow(
            argc, argv, ACommandLine.Values.value(QStringLiteral("certificados")));
    case TStartAction::VerifyWithoutWindow: {
        // Without --verificar ARCHIVO there is nothing to check: it says so
        // and ends with the code of a file that could not be read.
        const QString verify = QStringLiteral("verificar");
        return RunVerifyCommandWithoutWindow(
            argc, argv,
            ACommandLine.Given.contains(verify) ? ACommandLine.Values.value(verify) : QString(),
            ACommandLine.Values.value(QStringLiteral("clave")));
    }
    case TStartAction::Reminders:
        return RunReminders(ACommandLine, argc, argv);
    case TStartAction::RenewWithoutWindow: {
        TRenewOptions options;
        options.Certificate = ACommandLine.Values.value(QStringLiteral("renovar"));
        options.CompanyGiven = ACommandLine.Given.contains(QStringLiteral("empresa"));
        options.Company = ACommandLine.Values.value(QStringLiteral("empresa"));
        options.MailGiven = ACommandLine.Given.contains(QStringLiteral("mail"));
        options.Mail = ACommandLine.Values.value(QStringLiteral("mail"));
        return RunRenewCommandWithoutWindow(argc, argv, options);
    }
    case TStartAction::SwitchWithoutWindow:
        return RunSwitchCommandWithoutWindow(
            argc, argv, ACommandLine.Values.value(QStringLiteral("usar-certificado")));
    case TStartAction::Renew:
    case TStartAction::Verify:
    case TStartAction::Book:
    case TStartAction::Window:
        break;
    }
    return 0;
}
