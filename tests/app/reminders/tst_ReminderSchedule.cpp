// Turning a folder's check on and off with a stand-in systemctl on PATH
// (one with a user manager, one without), the "--avisos" command, and a
// real user manager where the machine has one.
#include "AutostartEntry.h"
#include "Exception.h"
#include "ReminderNames.h"
#include "ReminderSchedule.h"
#include "RemindersCommand.h"
#include "SystemdUnits.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <unistd.h>

// Records each call in $FAKE_SYSTEMCTL/calls; "mode" holds "manager",
// "refuse" (enable fails) or "none" (no user manager).
static const char kFakeSystemctl[] = R"(#!/bin/sh
printf '%s\n' "$*" >> "$FAKE_SYSTEMCTL/calls"
mode=$(cat "$FAKE_SYSTEMCTL/mode")
if [ "$mode" = none ]; then echo "Failed to connect to bus: No medium found" >&2; exit 1; fi
[ "$1" = --user ] || exit 3
wants="$XDG_CONFIG_HOME/systemd/user/timers.target.wants"
case "$2" in
  daemon-reload|stop) exit 0 ;;
  enable)
    if [ "$mode" = refuse ]; then echo "Failed to enable unit: Access denied" >&2; exit 1; fi
    mkdir -p "$wants" && ln -sf "../$4" "$wants/$4" ;;
  disable) rm -f "$wants/$4" ;;
  is-enabled) if [ -L "$wants/$3" ]; then echo enabled; else echo disabled; exit 1; fi ;;
  *) exit 1 ;;
esac
)";

class TestReminderSchedule : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void withUserManager();
    void withoutUserManager();
    void refusedLeavesNothing();
    void disableWithoutManagerRemovesUnits();
    void sameFolderWhateverTheSpelling();
    void command();
    void realUserManager();

private:
    void SetMode(const char *Mode);
    QStringList Calls();
    QString Folder(const QString &Name);

    QTemporaryDir FDir;
    QString FFake;
    QString FConfig;
    QString FProgram = QStringLiteral("/usr/lib/zedede/ZeDede");
    QByteArray FRealPath;
};

void TestReminderSchedule::initTestCase()
{
    QVERIFY(FDir.isValid());
    FFake = FDir.filePath(QStringLiteral("bin"));
    QVERIFY(QDir().mkpath(FFake));
    QFile script(FFake + QStringLiteral("/systemctl"));
    QVERIFY(script.open(QIODevice::WriteOnly));
    script.write(kFakeSystemctl);
    script.close();
    QVERIFY(script.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner));
    FRealPath = qgetenv("PATH");
    qputenv("PATH", FFake.toLocal8Bit() + ':' + FRealPath);
    qputenv("FAKE_SYSTEMCTL", FFake.toLocal8Bit());
}

void TestReminderSchedule::init()
{
    FConfig = FDir.filePath(QStringLiteral("config-%1").arg(QTest::currentTestFunction()));
    qputenv("XDG_CONFIG_HOME", FConfig.toLocal8Bit());
    QFile::remove(FFake + QStringLiteral("/calls"));
    SetMode("manager");
}

void TestReminderSchedule::SetMode(const char *Mode)
{
    QFile file(FFake + QStringLiteral("/mode"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(Mode);
}

QStringList TestReminderSchedule::Calls()
{
    QFile file(FFake + QStringLiteral("/calls"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QStringList calls = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    file.close();
    file.remove();
    return calls;
}

QString TestReminderSchedule::Folder(const QString &Name)
{
    const QString path = FDir.filePath(Name);
    QDir().mkpath(path);
    return ReminderFolder(path);
}

static QString Contents(const QString &Path)
{
    QFile file(Path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

void TestReminderSchedule::withUserManager()
{
    const QString folder = Folder(QStringLiteral("Pérez & \"Cía\" 100% $HOME"));
    const QString name = ReminderName(folder);
    const TReminderSchedule schedule(FProgram);
    // A log-in entry of an earlier session without systemd goes away.
    QDir().mkpath(FConfig + QStringLiteral("/autostart"));
    QFile(TReminderSchedule::AutostartFile(folder)).open(QIODevice::WriteOnly);
    QCOMPARE(schedule.Kind(folder), TReminderSchedule::rkAutostart);
    Calls();

    schedule.Enable(folder);
    QCOMPARE(TReminderSchedule::TimerFile(folder), FConfig + QStringLiteral("/systemd/user/") + name + QStringLiteral(".timer"));
    QCOMPARE(Contents(TReminderSchedule::ServiceFile(folder)), ReminderServiceText(FProgram, folder));
    QCOMPARE(Contents(TReminderSchedule::TimerFile(folder)), ReminderTimerText(name + QStringLiteral(".service"), folder));
    QVERIFY(!QFile::exists(TReminderSchedule::AutostartFile(folder)));
    QCOMPARE(Calls(), (QStringList{QStringLiteral("--user daemon-reload"),
                                   QStringLiteral("--user enable --now ") + name + QStringLiteral(".timer")}));
    QCOMPARE(schedule.Kind(folder), TReminderSchedule::rkSystemdTimer);
    QVERIFY(schedule.IsEnabled(folder));
    Calls();

    schedule.Disable(folder);
    QCOMPARE(Calls(), (QStringList{QStringLiteral("--user disable --now ") + name + QStringLiteral(".timer"),
                                   QStringLiteral("--user stop ") + name + QStringLiteral(".service"),
                                   QStringLiteral("--user daemon-reload")}));
    QCOMPARE(QDir(FConfig + QStringLiteral("/systemd/user")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System),
             QStringList{QStringLiteral("timers.target.wants")});
    QVERIFY(QDir(FConfig + QStringLiteral("/systemd/user/timers.target.wants")).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System));
    QCOMPARE(schedule.Kind(folder), TReminderSchedule::rkNone);
    // Nothing to remove is not an error.
    schedule.Disable(folder);
}

void TestReminderSchedule::withoutUserManager()
{
    SetMode("none");
    const QString folder = Folder(QStringLiteral("sin systemd"));
    const TReminderSchedule schedule(FProgram);
    schedule.Enable(folder);
    QCOMPARE(Contents(TReminderSchedule::AutostartFile(folder)), ReminderAutostartText(FProgram, folder));
    QCOMPARE(TReminderSchedule::AutostartFile(folder),
             FConfig + QStringLiteral("/autostart/") + ReminderName(folder) + QStringLiteral(".desktop"));
    QVERIFY(!QFile::exists(TReminderSchedule::TimerFile(folder)));
    QVERIFY(!QFile::exists(TReminderSchedule::ServiceFile(folder)));
    QCOMPARE(schedule.Kind(folder), TReminderSchedule::rkAutostart);
    schedule.Disable(folder);
    QVERIFY(!QFile::exists(TReminderSchedule::AutostartFile(folder)));
    QCOMPARE(schedule.Kind(folder), TReminderSchedule::rkNone);
}

void TestReminderSchedule::refusedLeavesNothing()
{
    SetMode("refuse");
    const QString folder = Folder(QStringLiteral("rechazada"));
    try {
        TReminderSchedule(FProgram).Enable(folder);
        QFAIL("no error when systemd refuses");
    } catch (const Exception &e) {
        QCOMPARE(e.Message(), QStringLiteral("No se pudieron activar los avisos para la carpeta «%1»: el "
                                             "administrador de servicios del usuario (systemd) no pudo "
                                             "activar la revisión diaria.").arg(folder));
        QVERIFY2(e.Details().contains(QStringLiteral("Access denied")), qPrintable(e.Details()));
    }
    QVERIFY(!QFile::exists(TReminderSchedule::TimerFile(folder)));
    QVERIFY(!QFile::exists(TReminderSchedule::ServiceFile(folder)));
    QVERIFY(!QFile::exists(TReminderSchedule::AutostartFile(folder)));
    QCOMPARE(TReminderSchedule(FProgram).Kind(folder), TReminderSchedule::rkNone);
}

void TestReminderSchedule::disableWithoutManagerRemovesUnits()
{
    const QString folder = Folder(QStringLiteral("antes con systemd"));
    TReminderSchedule(FProgram).Enable(folder);
    SetMode("none");
    TReminderSchedule(FProgram).Disable(folder);
    QVERIFY(!QFile::exists(TReminderSchedule::TimerFile(folder)));
    QVERIFY(!QFile::exists(TReminderSchedule::ServiceFile(folder)));
    QVERIFY(!QFileInfo(FConfig + QStringLiteral("/systemd/user/timers.target.wants/") + ReminderName(folder)
                       + QStringLiteral(".timer")).isSymLink());
}

void TestReminderSchedule::sameFolderWhateverTheSpelling()
{
    const QString folder = Folder(QStringLiteral("real"));
    QVERIFY(QFile::link(folder, FDir.filePath(QStringLiteral("enlace"))));
    const TReminderSchedule schedule(FProgram);
    schedule.Enable(FDir.filePath(QStringLiteral("real/./")));
    QVERIFY(schedule.IsEnabled(FDir.filePath(QStringLiteral("enlace"))));
    schedule.Disable(FDir.filePath(QStringLiteral("enlace/")));
    QVERIFY(!schedule.IsEnabled(folder));
}

void TestReminderSchedule::command()
{
    const QString folder = Folder(QStringLiteral("orden"));
    auto run = [&](const QString &Verb, const QString &Where, QString &Out, QString &Err) {
        Out.clear();
        Err.clear();
        QTextStream out(&Out), err(&Err);
        return RunRemindersCommand(Verb, Where, FProgram, out, err);
    };
    QString out, err;
    QCOMPARE(run(QStringLiteral("encender"), folder, out, err), 2);
    QCOMPARE(err, QStringLiteral("zedede: --avisos espera «activar», «desactivar» o «estado», no «encender».\n"));
    QCOMPARE(run(QStringLiteral("activar\x1b[2J"), folder, out, err), 2);
    QVERIFY2(!err.contains(QLatin1Char('\x1b')), qPrintable(err));
    QCOMPARE(run(QStringLiteral("activar"), QString(), out, err), 2);
    QCOMPARE(err, QStringLiteral("zedede: --avisos activar necesita la carpeta de los certificados.\n"));

    const QString missing = FDir.filePath(QStringLiteral("no existe"));
    QCOMPARE(run(QStringLiteral("activar"), missing, out, err), 2);
    QCOMPARE(err, QStringLiteral("zedede: No se pudieron activar los avisos para la carpeta «%1»: la carpeta no existe.\n")
                      .arg(missing));
    QVERIFY(out.isEmpty());

    QCOMPARE(run(QStringLiteral("estado"), folder, out, err), 0);
    QCOMPARE(out, QStringLiteral("desactivados\n"));
    QCOMPARE(run(QStringLiteral("Activar"), folder, out, err), 0);
    QCOMPARE(out, QStringLiteral("Avisos activados para la carpeta «%1»: se revisa todos los días (temporizador "
                                 "de systemd del usuario).\n").arg(folder));
    QVERIFY(err.isEmpty());
    QCOMPARE(run(QStringLiteral("estado"), folder, out, err), 0);
    QCOMPARE(out, QStringLiteral("activados: se revisa todos los días (temporizador de systemd del usuario).\n"));
    QCOMPARE(run(QStringLiteral("desactivar"), folder, out, err), 0);
    QCOMPARE(out, QStringLiteral("Avisos desactivados para la carpeta «%1».\n").arg(folder));
    // A folder that is gone can still be turned off.
    QCOMPARE(run(QStringLiteral("desactivar"), missing, out, err), 0);

    if (::geteuid() != 0) {
        const QString locked = Folder(QStringLiteral("cerrada"));
        QVERIFY(QFile::setPermissions(locked, QFileDevice::WriteOwner));
        QCOMPARE(run(QStringLiteral("activar"), locked, out, err), 2);
        QVERIFY2(err.contains(QStringLiteral("no hay permiso para leer la carpeta")), qPrintable(err));
        QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }
}

// Against the user's own service manager, where there is one: its unit
// folder is the real one, so only a folder of this test's own is used.
void TestReminderSchedule::realUserManager()
{
    const QString systemctl = QStandardPaths::findExecutable(QStringLiteral("systemctl"),
        QString::fromLocal8Bit(FRealPath).split(QLatin1Char(':')));
    if (systemctl.isEmpty())
        QSKIP("no systemctl on this machine");
    QProcess probe;
    probe.setProcessChannelMode(QProcess::MergedChannels);
    probe.start(systemctl, {QStringLiteral("--user"), QStringLiteral("show-environment")});
    QVERIFY(probe.waitForFinished(30000));
    const QString environment = QString::fromUtf8(probe.readAll());
    if (probe.exitCode() != 0)
        QSKIP(qPrintable(QStringLiteral("no systemd user manager here (systemctl --user: %1)").arg(environment.trimmed())));
    QString config, home;
    for (const QString &line : environment.split(QLatin1Char('\n'))) {
        if (line.startsWith(QStringLiteral("XDG_CONFIG_HOME=")))
            config = line.mid(16);
        if (line.startsWith(QStringLiteral("HOME=")))
            home = line.mid(5);
    }
    qputenv("XDG_CONFIG_HOME", (config.isEmpty() ? home + QStringLiteral("/.config") : config).toLocal8Bit());
    qputenv("PATH", FRealPath);
    const QString folder = Folder(QStringLiteral("real manager"));
    const QString timer = ReminderName(folder) + QStringLiteral(".timer");
    const TReminderSchedule schedule(QStringLiteral("/bin/true"));
    schedule.Enable(folder);
    const bool enabled = schedule.Kind(folder) == TReminderSchedule::rkSystemdTimer;
    QProcess active;
    active.start(systemctl, {QStringLiteral("--user"), QStringLiteral("is-active"), timer});
    active.waitForFinished(30000);
    const QString state = QString::fromUtf8(active.readAll()).trimmed();
    schedule.Disable(folder);
    qputenv("PATH", FFake.toLocal8Bit() + ':' + FRealPath);
    QVERIFY(enabled);
    QCOMPARE(state, QStringLiteral("active"));
    QVERIFY(!QFile::exists(TReminderSchedule::TimerFile(folder)));
    QVERIFY(!QFile::exists(TReminderSchedule::ServiceFile(folder)));
    QCOMPARE(schedule.Kind(folder), TReminderSchedule::rkNone);
}

QTEST_GUILESS_MAIN(TestReminderSchedule)
#include "tst_ReminderSchedule.moc"
