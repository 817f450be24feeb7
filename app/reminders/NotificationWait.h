#pragma once
// Waiting, with the event loop running, for the answer to one notification.

#include "DesktopNotification.h"

#include <QEventLoop>
#include <QObject>
#include <QString>

class TNotificationWait : public QObject
{
    Q_OBJECT
public:
    // The notification's id, once the service has given it.
    void SetId(uint Id) { FId = Id; }
    // Runs the events until an answer or the service's end, at most LimitMs.
    TNotificationEnd Wait(int LimitMs);

public slots:
    void OnActionInvoked(uint Id, const QString &Key);
    void OnClosed(uint Id, uint Reason);
    void OnServiceGone();

private:
    void Finish(TNotificationEnd End);

    uint FId = 0;
    bool FDone = false;
    TNotificationEnd FEnd = neTimeLimit;
    QEventLoop FLoop;
};
