// The systemd user units of a folder's check: their text, the quoting of
// awkward folders and program paths, and systemd's own verdict on them.
#include "ReminderNames.h"
#include "SystemdUnits.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

class TestSystemdUnits : public QObject
{
    Q_OBJECT
private slots:
    void serviceText();
    void timerText();
    void quoting_data();
    void quoting();
    void programPaths();
    void descriptionIsOneLine();
    void namesAreStable();
    void systemdAcceptsUnits_data();
    void systemdAcceptsUnits();
};

void TestSystemdUnits::serviceText()
{
    QCOMPARE(ReminderServiceText(QStringLiteral("/usr/lib/zedede/ZeDede"),
                                 QStringLiteral("/home/ana/Mis certificados")),
             QStringLiteral(
                 "[Unit]\n"
                 "Description=ZeDede: aviso de certificados por vencer en /home/ana/Mis certificados\n"
                 "Documentation=man:zedede(1)\n"
                 "\n"
                 "[Service]\n"
                 "Type=oneshot\n"
                 "ExecStart=\"/usr/lib/zedede/ZeDede\" \"--certificados\" \"/home/ana/Mis certificados\" \"--avisar\"\n"
                 "# 1: something needs attention, which the check has shown.\n"
                 "SuccessExitStatus=1\n"
                 "TimeoutStartSec=15min\n"
                 "Nice=10\n"));
}

void TestSystemdUnits::timerText()
{
    QCOMPARE(ReminderTimerText(QStringLiteral("zedede-avisos-0123456789ab.service"),
                               QStringLiteral("/home/ana/100% seguro")),
             QStringLiteral(
                 "[Unit]\n"
                 "Description=ZeDede: revisión diaria de los certificados de /home/ana/100%% seguro\n"
                 "Documentation=man:zedede(1)\n"
                 "\n"
                 "[Timer]\n"
                 "OnCalendar=daily\n"
                 "Persistent=true\n"
                 "OnStartupSec=2min\n"
                 "Unit=zedede-avisos-0123456789ab.service\n"
                 "\n"
                 "[Install]\n"
                 "WantedBy=timers.target\n"));
}

void TestSystemdUnits::quoting_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<QString>("quoted");
    QTest::newRow("blanks and accents") << QStringLiteral("/home/ana/Pérez & Cía  año")
                                        << QStringLiteral("\"/home/ana/Pérez & Cía  año\"");
    QTest::newRow("specifier") << QStringLiteral("/srv/100%h") << QStringLiteral("\"/srv/100%%h\"");
    QTest::newRow("variables") << QStringLiteral("/srv/$HOME/${USER}")
                               << QStringLiteral("\"/srv/$$HOME/$${USER}\"");
    QTest::newRow("quotes") << QStringLiteral("/srv/\"dobles\" 'simples'")
                            << QStringLiteral("\"/srv/\\\"dobles\\\" 'simples'\"");
    QTest::newRow("backslash at the end") << QStringLiteral("/srv/a\\b\\")
                                          << QStringLiteral("\"/srv/a\\\\b\\\\\"");
    QTest::newRow("control characters") << QStringLiteral("/srv/a\nb\tc\x01")
                                        << QStringLiteral("\"/srv/a\\nb\\tc\\x01\"");
    QTest::newRow("semicolon") << QStringLiteral("/srv/a ; b") << QStringLiteral("\"/srv/a ; b\"");
}

void TestSystemdUnits::quoting()
{
    QFETCH(QString, word);
    QFETCH(QString, quoted);
    QCOMPARE(SystemdQuote(word), quoted);
}

void TestSystemdUnits::programPaths()
{
    // "$" is not expanded in the program's path: only "%" is doubled there.
    QCOMPARE(SystemdCommandLine(QStringLiteral("/opt/Mi $ 100%/ZeDede"), {QStringLiteral("--x")}),
             QStringLiteral("\"/opt/Mi $ 100%%/ZeDede\" \"--x\""));
    // A path systemd refuses is given to a shell as its $0.
    QCOMPARE(SystemdCommandLine(QStringLiteral("/opt/l'Hôtel \"2\"/ZeDede"), {QStringLiteral("--x")}),
             QStringLiteral("/bin/sh \"-c\" \"exec \\\"$$0\\\" \\\"$$@\\\"\" "
                            "\"/opt/l'Hôtel \\\"2\\\"/ZeDede\" \"--x\""));
}

void TestSystemdUnits::descriptionIsOneLine()
{
    const QString text = ReminderServiceText(QStringLiteral("/usr/bin/zedede"),
                                             QStringLiteral("/srv/a\nExecStart=/bin/false\\"));
    QVERIFY(text.contains(QStringLiteral("Description=ZeDede: aviso de certificados por vencer en "
                                         "/srv/a ExecStart=/bin/false\\ \n")));
    QCOMPARE(text.count(QStringLiteral("\nExecStart=")), 1);
}

void TestSystemdUnits::namesAreStable()
{
    const QString name = ReminderName(QStringLiteral("/home/ana/Mis certificados"));
    QCOMPARE(name, ReminderName(QStringLiteral("/home/ana/Mis certificados")));
    QVERIFY(name.startsWith(QStringLiteral("zedede-avisos-")));
    QCOMPARE(name.size(), QStringLiteral("zedede-avisos-").size() + 12);
    QVERIFY(QRegularExpression(QStringLiteral("^zedede-avisos-[0-9a-f]{12}$")).match(name).hasMatch());
    QVERIFY(name != ReminderName(QStringLiteral("/home/ana/Mis certificados2")));

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("real")));
    QVERIFY(QFile::link(dir.filePath(QStringLiteral("real")), dir.filePath(QStringLiteral("enlace"))));
    const QString real = ReminderFolder(dir.filePath(QStringLiteral("real")));
    QCOMPARE(ReminderFolder(dir.filePath(QStringLiteral("enlace"))), real);
    QCOMPARE(ReminderFolder(dir.filePath(QStringLiteral("real/")) + QStringLiteral("/./")), real);
    QCOMPARE(ReminderFolder(QStringLiteral("/no/existe/../tampoco/")), QStringLiteral("/no/tampoco"));
}

void TestSystemdUnits::systemdAcceptsUnits_data()
{
    QTest::addColumn<QString>("programFolder");
    QTest::addColumn<QString>("folder");
    QTest::newRow("plain") << QStringLiteral("bin") << QStringLiteral("/home/ana/certificados");
    QTest::newRow("awkward folder")
        << QStringLiteral("Programas de Año 100% $uno")
        << QStringLiteral("/home/ana/Pérez & \"Cía\" 'SA' 50% $HOME ${X} a\\b\nc");
    QTest::newRow("program with quotes")
        << QStringLiteral("l'Hôtel \"2\" \\x") << QStringLiteral("/home/ana/certificados");
}

void TestSystemdUnits::systemdAcceptsUnits()
{
    const QString analyze = QStandardPaths::findExecutable(QStringLiteral("systemd-analyze"));
    if (analyze.isEmpty())
        QSKIP("systemd-analyze is not installed (package systemd)");
    QFETCH(QString, programFolder);
    QFETCH(QString, folder);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    // systemd checks that the program it is to run exists: the path must
    // come through its quoting intact.
    QVERIFY(QDir(dir.path()).mkpath(programFolder));
    const QString program = dir.filePath(programFolder + QStringLiteral("/ZeDede"));
    QFile file(program);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("#!/bin/sh\nexit 0\n");
    file.close();
    QVERIFY(file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner));

    const QString name = ReminderName(folder);
    const QString units = dir.filePath(QStringLiteral("units"));
    QVERIFY(QDir().mkpath(units));
    const QString service = units + QLatin1Char('/') + name + QStringLiteral(".service");
    const QString timer = units + QLatin1Char('/') + name + QStringLiteral(".timer");
    for (const auto &[path, text] : {std::pair{service, ReminderServiceText(program, folder)},
                                     std::pair{timer, ReminderTimerText(name + QStringLiteral(".service"), folder)}}) {
        QFile unit(path);
        QVERIFY(unit.open(QIODevice::WriteOnly));
        unit.write(text.toUtf8());
    }
    QProcess verify;
    verify.setProcessChannelMode(QProcess::MergedChannels);
    // The manual page is checked by the package's own tests.
    verify.start(analyze, {QStringLiteral("verify"), QStringLiteral("--man=no"), timer, service});
    QVERIFY(verify.waitForFinished(60000));
    const QString output = QString::fromUtf8(verify.readAll());
    if (output.contains(QStringLiteral("Failed to initialize manager")))
        QSKIP(qPrintable(QStringLiteral("systemd-analyze cannot check units here: ") + output.trimmed()));
    QVERIFY2(verify.exitCode() == 0 && output.trimmed().isEmpty(), qPrintable(output));
}

QTEST_GUILESS_MAIN(TestSystemdUnits)
#include "tst_SystemdUnits.moc"
