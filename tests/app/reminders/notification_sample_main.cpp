// Shows the notification for a few sample certificates and waits for it to
// be answered (at most the seconds given as the first argument, 20 by
// default): the picture of tools/notification-screenshot.sh.
#include "DesktopNotification.h"
#include "Exception.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    TNotifyOptions options;
    options.WaitLimitMs = (args.size() > 1 ? args.at(1).toInt() : 20) * 1000;
    const QDate today = QDate::currentDate();
    const QList<TDueCertificate> due{
        {QStringLiteral("Pérez & Hijos S.A."), QStringLiteral("30-71234567-1"), QStringLiteral("facturacion"),
         today.addDays(6), 6, false},
        {QStringLiteral("Molinos del Sur S.R.L."), QStringLiteral("30-70000001-5"), QStringLiteral("fe"),
         today.addDays(-12), -12, true},
        {QStringLiteral("Cooperativa Agrícola Ñandú Ltda."), QStringLiteral("30-69999999-7"), QStringLiteral("wsfe"),
         today.addDays(23), 23, false}};
    try {
        NotifyDueCertificates(due, QStringLiteral("/home/ana/Mis certificados"), options);
    } catch (const Exception &e) {
        QTextStream(stderr) << e.Message() << '\n';
        return 2;
    }
    return 0;
}
