#include "BookReminder.h"

#include "ConsoleRun.h"
#include "Cuit.h"
#include "DesktopNotification.h"
#include "Exception.h"
#include "TerminalText.h"
#include "WellKnownFolders.h"

#include <QDir>

QList<TDueCertificate> DueCertificatesOf(const QList<TBookGroup> &Groups, const QDateTime &Now)
{
    Q_UNUSED(Now);
    QList<TDueCertificate> due;
    for (const TBookGroup &g : Groups) {
        if (g.State != TBookState::ExpiresSoon && g.State != TBookState::Expired)
            continue;
        TDueCertificate d;
        d.Company = g.Company;
        d.Cuit = g.CUITValid ? FormatCUIT(g.CUIT) : g.CUIT;
        d.Holder = g.Holder;
        d.Expiry = g.ValidUntil.toLocalTime().date();
        d.DaysLeft = g.DaysLeft;
        d.Expired = g.State == TBookState::Expired;
        due << d;
    }
    return due;
}

int RunBookReminder(const TBookCommand &ACommand, const TDueNotifier &ANotify, QTextStream &Err)
{
    const QString folder = ACommand.Folder.isEmpty() ? DefaultCertificatesFolder()
                                                     : ACommand.Folder;
    const TBook book = ReadBook(folder, ACommand.Now);
    if (!book.Listing.RootReadable) {
        Err << QStringLiteral("No se pudo leer la carpeta %1: %2.\n")
                   .arg(TerminalSafe(QDir::toNativeSeparators(folder)),
                        TerminalSafe(book.Listing.RootReason));
        return beUnreadable;
    }
    const QList<TDueCertificate> due = DueCertificatesOf(book.Groups, ACommand.Now);
    if (!due.isEmpty() && ANotify) {
        try {
            ANotify(due, folder);
        } catch (const Exception &e) {
            Err << QStringLiteral("No se pudo mostrar el aviso: %1\n").arg(TerminalSafe(e.Message()));
            if (!e.Details().isEmpty())
                Err << TerminalSafe(e.Details()) << '\n';
        }
    }
    return BookNeedsAttention(book.Groups) ? beAttention : beOk;
}

int RunBookReminderWithoutWindow(int argc, char **argv, const QString &AFolder)
{
    TBookCommand command;
    command.Folder = AFolder.isEmpty() ? QString() : QDir(AFolder).absolutePath();
    return RunWithConsoleStreams(argc, argv, [&command](QTextStream &, QTextStream &Err) {
        return RunBookReminder(
            command,
            [](const QList<TDueCertificate> &ADue, const QString &AFolder) {
                NotifyDueCertificates(ADue, AFolder);
            },
            Err);
    });
}
