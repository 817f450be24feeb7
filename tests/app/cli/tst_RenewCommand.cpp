#include "CommandLine.h"
#include "RenewCommand.h"
#include "RenewalFolders.h"
#include "SwitchCommand.h"

#include "AppTestSupport.h"
#include "RenewalTestSupport.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

class TestRenewCommand : public QObject
{
    Q_OBJECT
    QTemporaryDir FDir{AccentedTemporaryPattern()};
    TTestAuthority FAuthority;
    const QDate FDay{2026, 3, 14};

    static TPasswordSource Typed(const QString &APassword, const QString &ARepetition)
    {
        return [=](QString &P, QString &R) {
            P = APassword;
            R = ARepetition;
            return true;
        };
    }

    int renew(const TRenewOptions &AOptions, QString &AOut, QString &AErr,
              const TPasswordSource &APassword = Typed("secreto", "secreto"))
    {
        AOut.clear();
        AErr.clear();
        QTextStream out(&AOut), err(&AErr);
        const int code = RunRenew(AOptions, APassword, out, err, FDay);
        out.flush();
        err.flush();
        return code;
    }

    // Subject entries of a request, as openssl prints them.
    static QString Subject(const QString &ARequest)
    {
        return QString::fromUtf8(RunOpenSSLForTest({"req", "-in", ARequest, "-noout", "-subject",
                                                    "-nameopt", "utf8,sep_comma_plus,lname"}))
            .trimmed();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(FDir.isValid());
        UseTemporaryHome(FDir.filePath("home"));
        StandInOpenSSLFolder(FDir.filePath("openssl/"));
        QVERIFY(MakeLocalAuthority(FAuthority, FDir.filePath("ca")));
    }

    void cleanupTestCase() { ForgetOpenSSLFolder(); }

    void commandLine_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("action");
        QTest::newRow("window") << QStringList{"--renovar", "c.crt"} << int(TStartAction::Renew);
        QTest::newRow("windowless") << QStringList{"--renovar", "c.crt", "--sin-ventana"}
                                    << int(TStartAction::RenewWithoutWindow);
        QTest::newRow("windowless first") << QStringList{"--sin-ventana", "--renovar", "c.crt",
                                                         "--empresa", "A, B", "--mail", "m@x"}
                                          << int(TStartAction::RenewWithoutWindow);
        QTest::newRow("switch") << QStringList{"--usar-certificado", "n.crt", "--sin-ventana"}
                                << int(TStartAction::SwitchWithoutWindow);
        QTest::newRow("switch shown") << QStringList{"--usar-certificado", "n.crt"}
                                      << int(TStartAction::Verify);
        QTest::newRow("help wins") << QStringList{"--renovar", "c.crt", "--sin-ventana", "-h"}
                                   << int(TStartAction::Help);
    }
    void commandLine()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, action);
        QCOMPARE(int(ParseCommandLine(arguments).Action), action);
    }

    void helpFitsATerminal()
    {
        for (const QString &line : HelpText().split('\n'))
            QVERIFY2(line.size() <= 80, qPrintable(line));
    }

    // The renewal writes its folder only; twice the same day a second one.
    void renewsBesideTheKeyInUse()
    {
        const TCompanyFolder c = MakeCompanyFolder(FAuthority, FDir.filePath("acme"));
        QVERIFY(!c.Key.isEmpty());
        const auto before = FolderHashes(c.Folder);
        TRenewOptions o;
        o.Certificate = c.Certificate;
        QString out, err;
        QCOMPARE(renew(o, out, err), 0);
        QVERIFY2(err.isEmpty(), qPrintable(err));
        const QString first = c.Folder + "/" + RenewalFolderName(FDay);
        const QString suffix = QString::fromUtf8(kSuffix);
        QVERIFY(out.contains(QDir::toNativeSeparators(first + "/Pedido_" + suffix + ".req")));
        auto after = FolderHashes(c.Folder);
        for (auto it = before.cbegin(); it != before.cend(); ++it)
            QCOMPARE(after.take(it.key()), it.value());
        const QString r = RenewalFolderName(FDay) + "/";
        QCOMPARE(after.keys(), QStringList({r + "Pedido_" + suffix + ".req",
                                            r + "Privada_" + suffix + ".key",
                                            r + "Source_" + suffix + ".txt"}));
        QCOMPARE(Subject(first + "/Pedido_" + suffix + ".req"),
                 QString("subject=countryName=AR,serialNumber=CUIT 20123456786,organizationName="
                         "Compañía, Hijos y Cía. S.A.,commonName=José Pérez,"
                         "emailAddress=jose@example.com"));
        QCOMPARE(ReadTestFile(first + "/Source_" + suffix + ".txt"), ReadTestFile(c.Origin));

        QCOMPARE(renew(o, out, err), 0);
        QVERIFY(QFileInfo(c.Folder + "/" + RenewalFolderName(FDay, 2) + "/Privada_" + suffix
                          + ".key").isFile());
        QCOMPARE(FolderHashes(c.Folder).value("Privada_" + suffix + ".key"),
                 before.value("Privada_" + suffix + ".key"));
    }

    // Without its request and origin file the company must be given.
    void requestGone()
    {
        const TCompanyFolder c = MakeCompanyFolder(FAuthority, FDir.filePath("gone"));
        QFile::remove(c.Request);
        QFile::remove(c.Origin);
        const auto before = FolderHashes(c.Folder);
        TRenewOptions o;
        o.Certificate = c.Certificate;
        QString out, err;
        QCOMPARE(renew(o, out, err), 1);
        QVERIFY2(err.contains("--empresa"), qPrintable(err));
        QCOMPARE(FolderHashes(c.Folder), before);

        o.CompanyGiven = o.MailGiven = true;
        o.Company = QStringLiteral("Nueva Razón S.R.L.");
        o.Mail = QStringLiteral("admin@example.com");
        QCOMPARE(renew(o, out, err), 0);
        const QString request = c.Folder + "/" + RenewalFolderName(FDay)
                                + "/Pedido_NuevaRaznSRL_JosPrez.req";
        QVERIFY(Subject(request).contains("organizationName=Nueva Razón S.R.L."));
        QVERIFY(Subject(request).contains("emailAddress=admin@example.com"));
    }

    void refusals()
    {
        const TCompanyFolder c = MakeCompanyFolder(FAuthority, FDir.filePath("refusals"));
        const auto before = FolderHashes(c.Folder);
        TRenewOptions o;
        o.Certificate = c.Certificate;
        QString out, err;
        QCOMPARE(renew(o, out, err, Typed("secreto", "otro")), 1);
        QVERIFY(!err.isEmpty());
        QCOMPARE(renew(o, out, err, [](QString &, QString &) { return false; }), 1);
        QVERIFY(err.contains("contraseña"));
        o.Certificate = c.Folder + "/no-existe.crt";
        QCOMPARE(renew(o, out, err), 2);
        QCOMPARE(FolderHashes(c.Folder), before);
    }

    // The program itself: the password on standard input, then the switch.
    void withoutWindow()
    {
        const TCompanyFolder c = MakeCompanyFolder(FAuthority, FDir.filePath("script"));
        QProcess p;
        p.start(QStringLiteral(ZEDEDE_WINDOWLESS),
                {"--renovar", c.Certificate, "--sin-ventana", "--mail", "otra@example.com"});
        QVERIFY(p.waitForStarted());
        p.write("secreto\n");
        p.closeWriteChannel();
        QVERIFY(p.waitForFinished(120000));
        const QString out = QString::fromUtf8(p.readAllStandardOutput());
        QVERIFY2(p.exitCode() == 0, qPrintable(QString::fromUtf8(p.readAllStandardError())));
        const QString folder = c.Folder + "/" + RenewalFolderName(QDate::currentDate());
        const QString suffix = QString::fromUtf8(kSuffix);
        QVERIFY2(out.contains("Carpeta de la renovación: " + QDir::toNativeSeparators(folder)),
                 qPrintable(out));
        QVERIFY(Subject(folder + "/Pedido_" + suffix + ".req").contains("emailAddress=otra@example.com"));

        // The authority's answer arrives and is put in use.
        const QString fresh = folder + "/certificado-nuevo.crt";
        QVERIFY(FAuthority.SignFor(folder + "/Pedido_" + suffix + ".req", fresh, 730));
        const QByteArray newKey = ReadTestFile(folder + "/Privada_" + suffix + ".key");
        const QByteArray oldKey = ReadTestFile(c.Key);
        p.start(QStringLiteral(ZEDEDE_WINDOWLESS), {"--usar-certificado", fresh, "--sin-ventana"});
        QVERIFY(p.waitForFinished(120000));
        QVERIFY2(p.exitCode() == 0, qPrintable(QString::fromUtf8(p.readAllStandardError())));
        QCOMPARE(ReadTestFile(c.Key), newKey);
        QCOMPARE(ReadTestFile(c.Folder + "/Anteriores/"
                              + QDate::currentDate().toString("yyyy-MM-dd") + "/Privada_" + suffix
                              + ".key"),
                 oldKey);

        // Switching again: nothing in a renewal folder any more.
        p.start(QStringLiteral(ZEDEDE_WINDOWLESS), {"--usar-certificado", c.Certificate, "--sin-ventana"});
        QVERIFY(p.waitForFinished(60000));
        QCOMPARE(p.exitCode(), 1);
        QVERIFY(QString::fromUtf8(p.readAllStandardError()).contains("carpeta de renovación"));
    }
};

QTEST_GUILESS_MAIN(TestRenewCommand)
#include "tst_RenewCommand.moc"
