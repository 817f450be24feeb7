#include "NotificationWait.h"

#include <QTimer>

TNotificationEnd TNotificationWait::Wait(int LimitMs)
{
    if (FDone)
        return FEnd;
    QTimer limit;
    limit.setSingleShot(true);
    connect(&limit, &QTimer::timeout, this, [this] { Finish(neTimeLimit); });
    limit.start(LimitMs);
    FLoop.exec();
    return FEnd;
}

void TNotificationWait::OnActionInvoked(uint Id, const QString &Key)
{
    if (Id == FId && Key == QLatin1String("default"))
        Finish(neAction);
}

void TNotificationWait::OnClosed(uint Id, uint)
{
    if (Id == FId)
        Finish(neClosed);
}

void TNotificationWait::OnServiceGone()
{
    Finish(neServiceGone);
}

void TNotificationWait::Finish(TNotificationEnd End)
{
    if (FDone)
        return;
    FDone = true;
    FEnd = End;
    FLoop.quit();
}
