// The autostart entry of a folder's check: its text, and the command a
// desktop launches from it.
#include "AutostartEntry.h"
#include "Exception.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

class TestAutostartEntry : public QObject
{
    Q_OBJECT
private slots:
    void entryText();
    void quoting_data();
    void quoting();
    void programWithPercent();
    void controlCharacterRefused();
    void desktopRunsTheCheck_data();
    void desktopRunsTheCheck();
};

void TestAutostartEntry::entryText()
{
    QCOMPARE(ReminderAutostartText(QStringLiteral("/usr/lib/zedede/ZeDede"),
                                   QStringLiteral("/home/ana/Mis certificados")),
             QStringLiteral(
                 "[Desktop Entry]\n"
                 "Type=Application\n"
                 "Name=ZeDede: aviso de certificados por vencer\n"
                 "Comment=Revisa los certificados de /home/ana/Mis certificados y avisa de los que están por vencer\n"
                 "Exec=\"/usr/lib/zedede/ZeDede\" \"--certificados\" \"/home/ana/Mis certificados\" \"--avisar\"\n"
                 "Icon=ar.com.vemra.ZeDede\n"
                 "Terminal=false\n"
                 "NoDisplay=true\n"
                 "X-GNOME-Autostart-enabled=true\n"));
}

void TestAutostartEntry::quoting_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<QString>("quoted");
    QTest::newRow("blanks and accents") << QStringLiteral("/home/ana/Pérez & Cía")
                                        << QStringLiteral("\"/home/ana/Pérez & Cía\"");
    QTest::newRow("field code") << QStringLiteral("/srv/100%f") << QStringLiteral("\"/srv/100%%f\"");
    QTest::newRow("shell characters") << QStringLiteral("/srv/\"q\" `x` $HOME 'y'")
                                      << QStringLiteral("\"/srv/\\\"q\\\" \\`x\\` \\$HOME 'y'\"");
    QTest::newRow("backslash") << QStringLiteral("/srv/a\\b") << QStringLiteral("\"/srv/a\\\\\\\\b\"");
    QTest::newRow("line break") << QStringLiteral("/srv/a\nb") << QStringLiteral("\"/srv/a\\nb\"");
}

void TestAutostartEntry::quoting()
{
    QFETCH(QString, word);
    QFETCH(QString, quoted);
    QCOMPARE(DesktopExecQuote(word), quoted);
}

void TestAutostartEntry::programWithPercent()
{
    QVERIFY(ReminderAutostartText(QStringLiteral("/opt/100%/ZeDede"), QStringLiteral("/srv"))
                .contains(QStringLiteral("\nExec=/bin/sh \"-c\" \"exec \\\"\\$0\\\" \\\"\\$@\\\"\" "
                                         "\"/opt/100%%/ZeDede\" \"--certificados\" \"/srv\" \"--avisar\"\n")));
}

void TestAutostartEntry::controlCharacterRefused()
{
    QVERIFY_THROWS_EXCEPTION(Exception, ReminderAutostartText(QStringLiteral("/usr/bin/zedede"),
                                                              QStringLiteral("/srv/a\x01")));
}

void TestAutostartEntry::desktopRunsTheCheck_data()
{
    QTest::addColumn<QString>("programFolder");
    QTest::addColumn<QString>("folder");
    QTest::newRow("plain") << QStringLiteral("bin") << QStringLiteral("/home/ana/certificados");
    QTest::newRow("awkward")
        << QStringLiteral("Año \"2\" 100% $x `y` a\\b")
        << QStringLiteral("/home/ana/Pérez & \"Cía\" 'SA' 50% $HOME `id` a\\b\\\nfin");
}

// The entry as desktop-file-validate judges it and as GLib's launcher (the
// one of the desktops that read autostart entries) runs it.
void TestAutostartEntry::desktopRunsTheCheck()
{
    QFETCH(QString, programFolder);
    QFETCH(QString, folder);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(QDir(dir.path()).mkpath(programFolder));
    const QString program = dir.filePath(programFolder + QStringLiteral("/ZeDede"));
    const QString arguments = dir.filePath(QStringLiteral("argumentos.txt"));
    QFile script(program);
    QVERIFY(script.open(QIODevice::WriteOnly));
    script.write("#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"" + arguments.toUtf8()
                 + ".tmp\" && mv \"" + arguments.toUtf8() + ".tmp\" \"" + arguments.toUtf8() + "\"\n");
    script.close();
    QVERIFY(script.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner));
    const QString entry = dir.filePath(QStringLiteral("zedede-avisos-prueba.desktop"));
    QFile file(entry);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(ReminderAutostartText(program, folder).toUtf8());
    file.close();

    const QString validate = QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
    if (!validate.isEmpty()) {
        QProcess check;
        check.setProcessChannelMode(QProcess::MergedChannels);
        check.start(validate, {entry});
        QVERIFY(check.waitForFinished(60000));
        const QString output = QString::fromUtf8(check.readAll());
        QVERIFY2(check.exitCode() == 0 && output.trimmed().isEmpty(), qPrintable(output));
    }
    const QString gio = QStandardPaths::findExecutable(QStringLiteral("gio"));
    if (gio.isEmpty())
        QSKIP("gio is not installed (package libglib2.0-bin): the entry is not launched");
    QProcess launch;
    launch.setProcessChannelMode(QProcess::MergedChannels);
    launch.start(gio, {QStringLiteral("launch"), entry});
    QVERIFY(launch.waitForFinished(60000));
    QVERIFY2(launch.exitCode() == 0, launch.readAll().constData());
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(arguments), 20000);
    QFile got(arguments);
    QVERIFY(got.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(got.readAll()),
             QStringLiteral("--certificados\n") + folder + QStringLiteral("\n--avisar\n"));
}

QTEST_GUILESS_MAIN(TestAutostartEntry)
#include "tst_AutostartEntry.moc"
