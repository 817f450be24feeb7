#pragma once
// The desktop notification of certificates that need attention. Linux: the
// freedesktop notification service over the session's D-Bus; Windows: the
// notification area's balloon. Its one action opens "Mis certificados" on
// the folder. Needs a QCoreApplication.

#include "DueCertificate.h"
#include "DueNotice.h"

#include <QList>
#include <QString>

struct TNotifyOptions
{
    // The program the action starts with "--certificados Folder"; empty:
    // this program.
    QString Program;
    // The longest wait for the user to answer, in milliseconds.
    int WaitLimitMs = 5 * 60 * 1000;
};

// How the wait for the user's answer ended.
enum TNotificationEnd {
    neShown,         // shown; the service offers no action to wait for
    neAction,        // the action was chosen: the program was started
    neClosed,        // the notification was closed
    neTimeLimit,     // no answer within the wait
    neServiceGone    // the notification service went away
};

// Shows Notice, waits for the answer and acts on it. Throws Exception when
// the notification cannot be shown.
TNotificationEnd ShowDueNotification(const TDueNotice &Notice, const QString &Folder,
                                     const TNotifyOptions &Options);

// One notification for Due (nothing at all when Due is empty). Returns the
// number of notifications shown, 0 or 1; throws Exception when it cannot be
// shown.
int NotifyDueCertificates(const QList<TDueCertificate> &Due, const QString &Folder);
int NotifyDueCertificates(const QList<TDueCertificate> &Due, const QString &Folder,
                          const TNotifyOptions &Options);

// Starts Program (empty: this program) with "--certificados Folder" on its
// own; false when it could not be started.
bool OpenCertificatesBook(const QString &Program, const QString &Folder);
