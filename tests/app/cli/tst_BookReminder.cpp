// The daily check of a folder: one notification, and only when a
// certificate expires within 30 days or has expired; the book's exit codes.

#include "BookReminder.h"

#include "BookTestTree.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

class TestBookReminder : public QObject
{
    Q_OBJECT
    QTemporaryDir FDir{AccentedTemporaryPattern()};
    TBookTestTree FTree;

    struct TCall
    {
        QList<TDueCertificate> Due;
        QString Folder;
    };

    int Run(const QString &AFolder, QList<TCall> &ACalls, QString *AErr = nullptr)
    {
        TBookCommand command;
        command.Folder = AFolder;
        QString err;
        QTextStream e(&err);
        const int code = RunBookReminder(
            command,
            [&ACalls](const QList<TDueCertificate> &ADue, const QString &AF) {
                ACalls.append({ADue, AF});
            },
            e);
        e.flush();
        if (AErr)
            *AErr = err;
        return code;
    }

    // A folder holding the files of the companies named.
    QString FolderOf(QTemporaryDir &ADir, const QStringList &ACompanies)
    {
        for (const QString &c : ACompanies)
            for (const QString &f : FTree.Files.value(c))
                QFile::copy(f, ADir.path() + "/" + c + "-" + QFileInfo(f).fileName());
        return ADir.path();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(FDir.isValid());
        QVERIFY(FTree.Build(FDir.path()));
        qputenv("ZEDEDE_AUTORIDADES", FTree.Authorities.toLocal8Bit());
    }

    void oneNoticeNamingWhatIsDue()
    {
        QList<TCall> calls;
        QCOMPARE(Run(FTree.Tree, calls), 1);
        QCOMPARE(calls.size(), 1);
        QCOMPARE(calls.at(0).Folder, FTree.Tree);
        QStringList named;
        for (const TDueCertificate &d : calls.at(0).Due) {
            named << d.Company;
            QVERIFY(d.Expiry.isValid());
            QCOMPARE(d.Expired, d.DaysLeft < 0);
        }
        named.sort();
        // Expiring soon and expired only; the replaced one is not to act on.
        QCOMPARE(named, (QStringList{"Pasada SA", "Pronto SRL"}));
    }

    void nothingAtAllWhenNothingIsDue()
    {
        QTemporaryDir calm;
        QList<TCall> calls;
        QString err;
        QCOMPARE(Run(FolderOf(calm, {"vigente", "reemplazado", "reemplazante", "pedido-pendiente"}),
                     calls, &err),
                 0);
        QVERIFY(calls.isEmpty());
        QCOMPARE(err, QString());
        // A problem that is no expiry keeps the book's code, with no notice
        // about expiry.
        QTemporaryDir keyless;
        QCOMPARE(Run(FolderOf(keyless, {"sin-clave"}), calls), 1);
        QVERIFY(calls.isEmpty());
        QCOMPARE(Run(FDir.path() + "/no-existe", calls, &err), 2);
        QVERIFY(err.startsWith(QStringLiteral("No se pudo leer la carpeta")));
        QVERIFY(calls.isEmpty());
    }

    // The program itself, with no display and no session bus: a folder with
    // nothing due ends quietly; an unreadable one says why.
    void theProgramWithoutADesktop()
    {
        QTemporaryDir calm;
        const QString folder = FolderOf(calm, {"vigente"});
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove("DISPLAY");
        env.remove("WAYLAND_DISPLAY");
        env.remove("QT_QPA_PLATFORM");
        env.remove("DBUS_SESSION_BUS_ADDRESS");
        QProcess p;
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(ZEDEDE_WINDOWLESS), {"--certificados", folder, "--avisar"});
        QVERIFY(p.waitForFinished(60000));
        QCOMPARE(p.exitCode(), 0);
        QCOMPARE(p.readAllStandardOutput(), QByteArray());
        QCOMPARE(p.readAllStandardError(), QByteArray());
        p.start(QStringLiteral(ZEDEDE_WINDOWLESS),
                {"--certificados", FDir.path() + "/no-existe", "--avisar"});
        QVERIFY(p.waitForFinished(60000));
        QCOMPARE(p.exitCode(), 2);
        QVERIFY(!p.readAllStandardError().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestBookReminder)
#include "tst_BookReminder.moc"
