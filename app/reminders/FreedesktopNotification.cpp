// The notification through org.freedesktop.Notifications (Linux).
#include "DesktopNotification.h"

#ifndef Q_OS_WIN

#include "Exception.h"
#include "NotificationWait.h"
#include "uVmWriteToLog.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusServiceWatcher>
#include <QStringList>
#include <QVariantMap>

namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
const QString kInterface = QStringLiteral("org.freedesktop.Notifications");
// The longest wait for one answer of the service.
constexpr int kCallTimeoutMs = 10000;

[[noreturn]] void NotShown(const QString &Reason, const QString &Details)
{
    const QString message = QStringLiteral("No se pudo mostrar el aviso en el escritorio: ") + Reason;
    TManagedLogFile::Write(ltError, message + QStringLiteral(" ") + Details);
    throw Exception(message, Details);
}

QDBusMessage Call(QDBusConnection &Bus, const QString &Method, const QVariantList &Arguments = {})
{
    QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kInterface, Method);
    call.setArguments(Arguments);
    return Bus.call(call, QDBus::Block, kCallTimeoutMs);
}

// A service that reads markup in the body shows "&" and "<" only escaped.
QString BodyFor(const QString &Body, const QStringList &Capabilities)
{
    return Capabilities.contains(QStringLiteral("body-markup")) ? Body.toHtmlEscaped() : Body;
}

} // namespace

TNotificationEnd ShowDueNotification(const TDueNotice &Notice, const QString &Folder,
                                     const TNotifyOptions &Options)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        NotShown(QStringLiteral("no hay una sesión de escritorio (D-Bus)."), bus.lastError().message());

    const QDBusMessage caps = Call(bus, QStringLiteral("GetCapabilities"));
    if (caps.type() != QDBusMessage::ReplyMessage)
        NotShown(QStringLiteral("el escritorio no tiene un servicio de notificaciones."),
                 caps.errorMessage());
    const QStringList capabilities =
        caps.arguments().isEmpty() ? QStringList() : caps.arguments().constFirst().toStringList();

    // Listening before the notification exists, so that no answer is missed.
    TNotificationWait wait;
    bus.connect(kService, kPath, kInterface, QStringLiteral("ActionInvoked"), &wait,
                SLOT(OnActionInvoked(uint,QString)));
    bus.connect(kService, kPath, kInterface, QStringLiteral("NotificationClosed"), &wait,
                SLOT(OnClosed(uint,uint)));
    QDBusServiceWatcher watcher(kService, bus, QDBusServiceWatcher::WatchForUnregistration);
    QObject::connect(&watcher, &QDBusServiceWatcher::serviceUnregistered, &wait,
                     &TNotificationWait::OnServiceGone);

    QVariantMap hints;
    hints.insert(QStringLiteral("suppress-sound"), true);
    hints.insert(QStringLiteral("desktop-entry"), QStringLiteral("ar.com.vemra.ZeDede"));
    hints.insert(QStringLiteral("urgency"), QVariant::fromValue(uchar(1)));
    const QStringList actions{QStringLiteral("default"), QStringLiteral("Ver certificados")};
    const QDBusMessage reply = Call(bus, QStringLiteral("Notify"),
        {QStringLiteral("ZeDede"), uint(0), QStringLiteral("ar.com.vemra.ZeDede"), Notice.Summary,
         BodyFor(Notice.Body, capabilities), actions, hints, int(-1)});
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        NotShown(QStringLiteral("el servicio de notificaciones no lo aceptó."), reply.errorMessage());
    wait.SetId(reply.arguments().constFirst().toUInt());
    TManagedLogFile::Write(ltMsg, QStringLiteral("Aviso mostrado: ") + Notice.Summary);

    if (!capabilities.contains(QStringLiteral("actions")))
        return neShown;
    const TNotificationEnd end = wait.Wait(Options.WaitLimitMs);
    if (end == neAction)
        OpenCertificatesBook(Options.Program, Folder);
    return end;
}

#endif
