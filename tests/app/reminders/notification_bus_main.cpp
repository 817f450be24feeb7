// The desktop notification against a notification service of this test's
// own, on a private session bus: run under dbus-run-session. The service
// lives in a thread of its own, since the notification's calls block.
#include "DesktopNotification.h"
#include "DueNotice.h"
#include "Exception.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QMutex>
#include <QMutexLocker>
#include <QSemaphore>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

// One Notify call as the service received it.
struct TNotifyCall
{
    QString AppName;
    QString Icon;
    QString Summary;
    QString Body;
    QStringList Actions;
    QVariantMap Hints;
};

// What the service does once it has shown a notification.
enum TAnswer { anNothing, anInvokeAction, anClose, anGoAway };

class TFakeNotifications : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    explicit TFakeNotifications(const QString &Connection) : FConnection(Connection) {}

    QMutex Lock;
    QList<TNotifyCall> Calls;
    TAnswer Answer = anNothing;
    QStringList Capabilities{QStringLiteral("actions"), QStringLiteral("body")};

public slots:
    QStringList GetCapabilities()
    {
        QMutexLocker lock(&Lock);
        return Capabilities;
    }
    uint Notify(const QString &AppName, uint, const QString &Icon, const QString &Summary,
                const QString &Body, const QStringList &Actions, const QVariantMap &Hints, int)
    {
        QMutexLocker lock(&Lock);
        Calls.append({AppName, Icon, Summary, Body, Actions, Hints});
        const uint id = uint(Calls.size()) + 40;
        // After the reply to this call has gone.
        QMetaObject::invokeMethod(this, [this, id] { Respond(id); }, Qt::QueuedConnection);
        return id;
    }
    void CloseNotification(uint) {}
    QString GetServerInformation(QString &Vendor, QString &Version, QString &SpecVersion)
    {
        Vendor = QStringLiteral("prueba");
        Version = QStringLiteral("1");
        SpecVersion = QStringLiteral("1.2");
        return QStringLiteral("falso");
    }

private:
    void Respond(uint Id)
    {
        QDBusConnection bus(FConnection);
        TAnswer answer;
        {
            QMutexLocker lock(&Lock);
            answer = Answer;
        }
        const QString path = QStringLiteral("/org/freedesktop/Notifications");
        const QString interface = QStringLiteral("org.freedesktop.Notifications");
        if (answer == anInvokeAction) {
            QDBusMessage signal = QDBusMessage::createSignal(path, interface, QStringLiteral("ActionInvoked"));
            signal << Id << QStringLiteral("default");
            bus.send(signal);
        }
        if (answer == anInvokeAction || answer == anClose) {
            QDBusMessage signal = QDBusMessage::createSignal(path, interface, QStringLiteral("NotificationClosed"));
            signal << Id << uint(answer == anClose ? 2 : 3);
            bus.send(signal);
        }
        if (answer == anGoAway)
            bus.unregisterService(QStringLiteral("org.freedesktop.Notifications"));
    }

    QString FConnection;
};

// The service's thread: its own connection to the session bus.
class TServiceThread : public QThread
{
public:
    TFakeNotifications *Service = nullptr;
    QSemaphore Ready;
    bool Registered = false;

protected:
    void run() override
    {
        const QString name = QStringLiteral("servicio-falso");
        {
            QDBusConnection bus = QDBusConnection::connectToBus(QDBusConnection::SessionBus, name);
            TFakeNotifications service(name);
            Service = &service;
            bus.registerObject(QStringLiteral("/org/freedesktop/Notifications"), &service,
                               QDBusConnection::ExportAllSlots);
            Ready.release();
            exec();
            bus.unregisterObject(QStringLiteral("/org/freedesktop/Notifications"));
            Service = nullptr;
        }
        QDBusConnection::disconnectFromBus(name);
    }
};

class TestNotificationBus : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();
    void dueCertificatesGiveOneNotification();
    void emptyListGivesNone();
    void actionOpensTheBook();
    void closedEndsTheWait();
    void serviceGoneEndsTheWait();
    void waitIsBounded();
    void markupIsEscaped();
    void noServiceIsAnError();

private:
    // Runs Work in the service's thread and waits for it.
    void InService(const std::function<void(QDBusConnection &, TFakeNotifications &)> &Work);
    bool Register(bool On);
    QList<TNotifyCall> Calls();
    QList<TDueCertificate> SampleDue() const;
    QString Recorder(const QString &ArgumentsFile);

    TServiceThread FThread;
    QTemporaryDir FDir;
};

void TestNotificationBus::InService(const std::function<void(QDBusConnection &, TFakeNotifications &)> &Work)
{
    QMetaObject::invokeMethod(FThread.Service, [&] {
        QDBusConnection bus(QStringLiteral("servicio-falso"));
        Work(bus, *FThread.Service);
    }, Qt::BlockingQueuedConnection);
}

bool TestNotificationBus::Register(bool On)
{
    bool done = false;
    InService([&](QDBusConnection &Bus, TFakeNotifications &) {
        const QString name = QStringLiteral("org.freedesktop.Notifications");
        done = On ? Bus.registerService(name) : Bus.unregisterService(name);
    });
    return done;
}

QList<TNotifyCall> TestNotificationBus::Calls()
{
    QMutexLocker lock(&FThread.Service->Lock);
    return FThread.Service->Calls;
}

QList<TDueCertificate> TestNotificationBus::SampleDue() const
{
    return {{QStringLiteral("Pérez & Hijos <SA>"), QStringLiteral("30-71234567-1"), QStringLiteral("factura"),
             QDate(2025, 5, 12), 5, false},
            {QStringLiteral("Molinos del Sur S.R.L."), QStringLiteral("30-70000001-5"), QStringLiteral("fe"),
             QDate(2025, 4, 1), -36, true}};
}

// A stand-in program that writes its arguments, one a line, to ArgumentsFile.
QString TestNotificationBus::Recorder(const QString &ArgumentsFile)
{
    const QString path = FDir.filePath(QStringLiteral("zedede-falso"));
    QFile script(path);
    if (!script.open(QIODevice::WriteOnly))
        return QString();
    script.write("#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"" + ArgumentsFile.toUtf8()
                 + ".tmp\" && mv \"" + ArgumentsFile.toUtf8() + ".tmp\" \"" + ArgumentsFile.toUtf8() + "\"\n");
    script.close();
    script.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    return path;
}

void TestNotificationBus::initTestCase()
{
    if (qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"))
        QSKIP("no session bus: run this test under dbus-run-session");
    QVERIFY(FDir.isValid());
    FThread.start();
    FThread.Ready.acquire();
    QVERIFY(Register(true));
}

void TestNotificationBus::init()
{
    InService([](QDBusConnection &Bus, TFakeNotifications &Service) {
        QMutexLocker lock(&Service.Lock);
        Service.Calls.clear();
        Service.Answer = anClose;
        Service.Capabilities = {QStringLiteral("actions"), QStringLiteral("body")};
        Bus.registerService(QStringLiteral("org.freedesktop.Notifications"));
    });
}

void TestNotificationBus::cleanupTestCase()
{
    if (FThread.isRunning()) {
        FThread.quit();
        FThread.wait();
    }
}

void TestNotificationBus::dueCertificatesGiveOneNotification()
{
    TNotifyOptions options;
    options.Program = Recorder(FDir.filePath(QStringLiteral("nunca.txt")));
    QCOMPARE(NotifyDueCertificates(SampleDue(), QStringLiteral("/srv/certificados"), options), 1);
    const QList<TNotifyCall> calls = Calls();
    QCOMPARE(calls.size(), 1);
    const TNotifyCall &call = calls.first();
    QCOMPARE(call.AppName, QStringLiteral("ZeDede"));
    QCOMPARE(call.Icon, QStringLiteral("ar.com.vemra.ZeDede"));
    QCOMPARE(call.Summary, QStringLiteral("2 certificados vencidos o por vencer"));
    QCOMPARE(call.Body, QStringLiteral("1 ya venció y 1 vence en los próximos 30 días.\n"
                                       "El próximo en vencer: Pérez & Hijos <SA>, el 12/05/2025 (dentro de 5 días).\n"
                                       "Renuévelos desde «Mis certificados»."));
    QCOMPARE(call.Actions, (QStringList{QStringLiteral("default"), QStringLiteral("Ver certificados")}));
    QCOMPARE(call.Hints.value(QStringLiteral("suppress-sound")).toBool(), true);
    QCOMPARE(call.Hints.value(QStringLiteral("desktop-entry")).toString(), QStringLiteral("ar.com.vemra.ZeDede"));
    // Closed, not chosen: nothing was started.
    QVERIFY(!QFile::exists(FDir.filePath(QStringLiteral("nunca.txt"))));
}

void TestNotificationBus::emptyListGivesNone()
{
    QCOMPARE(NotifyDueCertificates({}, QStringLiteral("/srv/certificados")), 0);
    // A later notification is the first call the service sees.
    TNotifyOptions options;
    options.WaitLimitMs = 60000;
    QCOMPARE(ShowDueNotification(DueNoticeFor(SampleDue()), QStringLiteral("/srv"), options), neClosed);
    QCOMPARE(Calls().size(), 1);
}

void TestNotificationBus::actionOpensTheBook()
{
    InService([](QDBusConnection &, TFakeNotifications &Service) { Service.Answer = anInvokeAction; });
    const QString arguments = FDir.filePath(QStringLiteral("argumentos.txt"));
    TNotifyOptions options;
    options.Program = Recorder(arguments);
    options.WaitLimitMs = 60000;
    const QString folder = QStringLiteral("/srv/Pérez & \"Cía\" $HOME");
    QCOMPARE(ShowDueNotification(DueNoticeFor(SampleDue()), folder, options), neAction);
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(arguments), 20000);
    QFile file(arguments);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(file.readAll()), QStringLiteral("--certificados\n") + folder + QLatin1Char('\n'));
}

void TestNotificationBus::closedEndsTheWait()
{
    TNotifyOptions options;
    options.Program = Recorder(FDir.filePath(QStringLiteral("cerrado.txt")));
    options.WaitLimitMs = 60000;
    QCOMPARE(ShowDueNotification(DueNoticeFor(SampleDue()), QStringLiteral("/srv"), options), neClosed);
    QVERIFY(!QFile::exists(FDir.filePath(QStringLiteral("cerrado.txt"))));
}

void TestNotificationBus::serviceGoneEndsTheWait()
{
    InService([](QDBusConnection &, TFakeNotifications &Service) { Service.Answer = anGoAway; });
    TNotifyOptions options;
    options.WaitLimitMs = 60000;
    QCOMPARE(ShowDueNotification(DueNoticeFor(SampleDue()), QStringLiteral("/srv"), options), neServiceGone);
}

void TestNotificationBus::waitIsBounded()
{
    InService([](QDBusConnection &, TFakeNotifications &Service) { Service.Answer = anNothing; });
    TNotifyOptions options;
    options.WaitLimitMs = 200;
    QCOMPARE(ShowDueNotification(DueNoticeFor(SampleDue()), QStringLiteral("/srv"), options), neTimeLimit);
    // A service without actions: nothing to wait for.
    InService([](QDBusConnection &, TFakeNotifications &Service) { Service.Capabilities = {QStringLiteral("body")}; });
    options.WaitLimitMs = 600000;
    QCOMPARE(ShowDueNotification(DueNoticeFor(SampleDue()), QStringLiteral("/srv"), options), neShown);
}

void TestNotificationBus::markupIsEscaped()
{
    InService([](QDBusConnection &, TFakeNotifications &Service) {
        Service.Capabilities = {QStringLiteral("actions"), QStringLiteral("body"), QStringLiteral("body-markup")};
    });
    TNotifyOptions options;
    options.WaitLimitMs = 60000;
    ShowDueNotification(DueNoticeFor(SampleDue()), QStringLiteral("/srv"), options);
    const QList<TNotifyCall> calls = Calls();
    QCOMPARE(calls.size(), 1);
    QVERIFY2(calls.first().Body.contains(QStringLiteral("Pérez &amp; Hijos &lt;SA&gt;")), qPrintable(calls.first().Body));
    QCOMPARE(calls.first().Summary, QStringLiteral("2 certificados vencidos o por vencer"));
}

void TestNotificationBus::noServiceIsAnError()
{
    QVERIFY(Register(false));
    try {
        NotifyDueCertificates(SampleDue(), QStringLiteral("/srv"));
        QFAIL("no error without a notification service");
    } catch (const Exception &e) {
        QCOMPARE(e.Message(), QStringLiteral("No se pudo mostrar el aviso en el escritorio: el "
                                             "escritorio no tiene un servicio de notificaciones."));
    }
}

QTEST_GUILESS_MAIN(TestNotificationBus)
#include "notification_bus_main.moc"
