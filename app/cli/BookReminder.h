#pragma once
// "--certificados CARPETA --avisar": the daily check the reminders run. It
// reads the folder as the windowless book does and, only when a certificate
// expires within 30 days or has expired, shows one desktop notification whose
// action opens "Mis certificados" on the folder. Nothing is printed or shown
// otherwise; no file is changed. Its exit codes are the book's.

#include "BookCommand.h"
#include "DueCertificate.h"

#include <QList>
#include <QTextStream>

#include <functional>

// The certificates of Groups that expire within the warning period or have
// expired (por-vencer, vencido), as the notification names them.
QList<TDueCertificate> DueCertificatesOf(const QList<TBookGroup> &Groups, const QDateTime &Now);

// Shows the notification for a non-empty list; replaceable by tests.
using TDueNotifier = std::function<void(const QList<TDueCertificate> &Due, const QString &Folder)>;

// Reads ACommand's folder and notifies through ANotify when something is due;
// failures (an unreadable folder, a notification that could not be shown) go
// to Err. Returns the book's exit code.
int RunBookReminder(const TBookCommand &ACommand, const TDueNotifier &ANotify, QTextStream &Err);

// The same from main, with the desktop's notification.
int RunBookReminderWithoutWindow(int argc, char **argv, const QString &AFolder);
