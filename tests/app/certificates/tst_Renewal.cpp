#include "CertificateSwitch.h"
#include "OriginFile.h"
#include "Renewal.h"
#include "RenewalFolders.h"

#include "AppTestSupport.h"
#include "RenewalTestSupport.h"

#include <QTemporaryDir>
#include <QTest>

class TestRenewal : public QObject
{
    Q_OBJECT
    QTemporaryDir FDir{AccentedTemporaryPattern()};
    TTestAuthority FAuthority;
    const QDate FDay{2026, 3, 14};

    // A renewal folder of Company holding a new key, its request and origin
    // file and a certificate for them valid for Days.
    QString renewIn(const TCompanyFolder &Company, int Days, const QString &Name = QString())
    {
        const QString r = Company.Folder + "/" + (Name.isEmpty() ? RenewalFolderName(FDay) : Name);
        QDir().mkpath(r);
        const QString suffix = QString::fromUtf8(kSuffix);
        const QString key = r + "/Privada_" + suffix + ".key";
        const QString request = r + "/Pedido_" + suffix + ".req";
        if (!MakeRsaKey(key)
            || !MakeRequest(key, "/C=AR/O=Otra/serialNumber=CUIT 20123456786/CN="
                                     + QString::fromUtf8(kOperator), request)
            || !WriteTestFile(r + "/Source_" + suffix + ".txt", "C=AR,O=Otra,serialNumber=CUIT "
                                                               "20123456786,CN=x,emailAddress=y"))
            return QString();
        const QDateTime now = QDateTime::currentDateTimeUtc();
        const QString cert = r + "/nuevo.crt";
        if (!FAuthority.Sign(request, cert, now.addDays(-1), now.addDays(Days)))
            return QString();
        return cert;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(FDir.isValid());
        UseTemporaryHome(FDir.filePath("home"));
        QVERIFY(MakeLocalAuthority(FAuthority, FDir.filePath("ca")));
    }

    void folderNames()
    {
        QCOMPARE(RenewalFolderName(FDay), QStringLiteral("Renovación 2026-03-14"));
        QCOMPARE(RenewalFolderName(FDay, 2), QStringLiteral("Renovación 2026-03-14 (2)"));
        QVERIFY(IsRenewalFolderName(RenewalFolderName(FDay, 12)));
        QVERIFY(!IsRenewalFolderName(QStringLiteral("Renovación 2026-03-14 (0)")));
        QVERIFY(!IsRenewalFolderName(QStringLiteral("Renovación de prueba")));
        // Taken names, a dangling link (a file on Windows) included, are skipped.
        const QString f = FDir.filePath("names");
        QDir().mkpath(f + "/" + RenewalFolderName(FDay));
#ifdef Q_OS_WIN
        QVERIFY(WriteTestFile(f + "/" + RenewalFolderName(FDay, 2), QByteArray()));
#else
        QFile::link(f + "/nada", f + "/" + RenewalFolderName(FDay, 2));
#endif
        QCOMPARE(QFileInfo(NextRenewalFolder(f, FDay)).fileName(), RenewalFolderName(FDay, 3));
        QCOMPARE(QDir(f).relativeFilePath(NextPreviousFolder(f, FDay)),
                 QStringLiteral("Anteriores/2026-03-14"));
    }

    void originLine_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<bool>("read");
        QTest::addColumn<QString>("company");
        QTest::addColumn<QString>("holder");
        QTest::addColumn<QString>("mail");
        QTest::newRow("plain") << "C=AR,O=Acme,serialNumber=CUIT 20123456786,CN=Ana,emailAddress=a@b.c"
                               << true << "Acme" << "Ana" << "a@b.c";
        QTest::newRow("commas") << "C=AR,O=A, B,CN=C,serialNumber=CUIT 20123456786,CN=Ana, Jr,emailAddress=a@b.c"
                                << true << "A, B,CN=C" << "Ana, Jr" << "a@b.c";
        QTest::newRow("line end") << "C=AR,O=X,serialNumber=CUIT 1,CN=Y,emailAddress=z\r\n"
                                  << true << "X" << "Y" << "z";
        QTest::newRow("letters in CUIT") << "C=AR,O=X,serialNumber=CUIT 2a,CN=Y,emailAddress=z"
                                         << false << "" << "" << "";
        QTest::newRow("other") << "CN=Y" << false << "" << "" << "";
    }
    void originLine()
    {
        QFETCH(QString, line);
        const TOriginEntries e = ParseOriginLine(line);
        QTEST(e.Read, "read");
        QTEST(e.Organization, "company");
        QTEST(e.Holder, "holder");
        QTEST(e.Mail, "mail");
    }

    // The data comes from the request, else the origin file, else nothing;
    // nothing in the folder changes.
    void gathersTheCertificatesData()
    {
        const TCompanyFolder c = MakeCompanyFolder(FAuthority, FDir.filePath("gather"));
        QVERIFY(!c.Key.isEmpty());
        const auto before = FolderHashes(c.Folder);
        TRenewal r = PrepareRenewal(c.Certificate, FDay);
        QCOMPARE(r.CUIT, QStringLiteral("20-12345678-6"));
        QCOMPARE(r.Holder, QString::fromUtf8(kOperator));
        QCOMPARE(r.Company, QString::fromUtf8(kCompany));
        QCOMPARE(r.Mail, QString::fromUtf8(kMail));
        QCOMPARE(r.DataFile, c.Request);
        QCOMPARE(r.KeyInUse, c.Key);
        QCOMPARE(r.Folder, c.Folder + "/" + RenewalFolderName(FDay));
        QVERIFY(!QFileInfo::exists(r.Folder));
        QCOMPARE(FolderHashes(c.Folder), before);

        QFile::remove(c.Request);
        r = PrepareRenewal(c.Certificate, FDay);
        QCOMPARE(r.DataFile, c.Origin);
        QCOMPARE(r.Company, QString::fromUtf8(kCompany));
        QCOMPARE(r.Mail, QString::fromUtf8(kMail));

        QFile::remove(c.Origin);
        r = PrepareRenewal(c.Certificate, FDay);
        QVERIFY(r.DataFile.isEmpty());
        QVERIFY(r.Company.isEmpty());
        QCOMPARE(r.CUIT, QStringLiteral("20-12345678-6"));
    }

    // The previous set goes to Anteriores unchanged; the new one takes its
    // names; the emptied renewal folder goes.
    void switchMovesEverySetWhole()
    {
        const TCompanyFolder c = MakeCompanyFolder(FAuthority, FDir.filePath("switch"));
        const QString fresh = renewIn(c, 700);
        QVERIFY(!fresh.isEmpty());
        const auto before = FolderHashes(c.Folder);
        const QString renewal = RenewalFolderName(FDay) + "/";
        const QString suffix = QString::fromUtf8(kSuffix);

        const TSwitchResult r = SwitchCertificate(fresh);
        const QString previous = QDir(c.Folder).relativeFilePath(r.PreviousFolder) + "/";
        QCOMPARE(previous, "Anteriores/" + QDate::currentDate().toString("yyyy-MM-dd") + "/");
        const auto after = FolderHashes(c.Folder);
        QMap<QString, QByteArray> expected;
        for (const QString &name : {"Privada_" + suffix + ".key", "Pedido_" + suffix + ".req",
                                    "Source_" + suffix + ".txt", QStringLiteral("certificado.crt")}) {
            expected.insert(previous + name, before.value(name));
        }
        expected.insert("Privada_" + suffix + ".key", before.value(renewal + "Privada_" + suffix + ".key"));
        expected.insert("Pedido_" + suffix + ".req", before.value(renewal + "Pedido_" + suffix + ".req"));
        expected.insert("Source_" + suffix + ".txt", before.value(renewal + "Source_" + suffix + ".txt"));
        expected.insert("certificado.crt", before.value(renewal + "nuevo.crt"));
        QCOMPARE(after, expected);
        QCOMPARE(r.Certificate, c.Certificate);
        QVERIFY(!QFileInfo::exists(c.Folder + "/" + renewal));
    }

    // Refused: an expired new certificate, one outside a renewal folder,
    // one whose key is not beside it. Nothing moves.
    void switchRefused()
    {
        const TCompanyFolder c = MakeCompanyFolder(FAuthority, FDir.filePath("refused"));
        const QString expired = renewIn(c, -3);
        QVERIFY(!expired.isEmpty());
        const auto before = FolderHashes(c.Folder);
        try {
            SwitchCertificate(expired);
            QFAIL("switched to an expired certificate");
        } catch (const ESwitchRefused &e) {
            QVERIFY2(e.Message().contains("único válido"), qPrintable(e.Message()));
        }
        QVERIFY_THROWS_EXCEPTION(ESwitchRefused, SwitchCertificate(c.Certificate));
        QCOMPARE(FolderHashes(c.Folder), before);
        const QString withoutKey = renewIn(c, 700, RenewalFolderName(FDay, 2));
        QVERIFY(!withoutKey.isEmpty());
        QFile::remove(QFileInfo(withoutKey).path() + "/Privada_" + QString::fromUtf8(kSuffix) + ".key");
        const auto beforeSecond = FolderHashes(c.Folder);
        QVERIFY_THROWS_EXCEPTION(ESwitchRefused, SwitchCertificate(withoutKey));
        QCOMPARE(FolderHashes(c.Folder), beforeSecond);
        QVERIFY(!QFileInfo::exists(c.Folder + "/Anteriores"));
    }

    // A move that fails halfway (injected, then a read-only folder) undoes
    // the moves done: the folder is as it was.
    void failedSwitchUndone_data()
    {
        QTest::addColumn<int>("failAt");
        QTest::newRow("first") << 0;
        QTest::newRow("among the previous") << 2;
        QTest::newRow("among the new") << 5;
        QTest::newRow("last") << 7;
    }
    void failedSwitchUndone()
    {
        QFETCH(int, failAt);
        const TCompanyFolder c =
            MakeCompanyFolder(FAuthority, FDir.filePath(QStringLiteral("undo%1").arg(failAt)));
        const QString fresh = renewIn(c, 700);
        QVERIFY(!fresh.isEmpty());
        const auto before = FolderHashes(c.Folder);
        const TSwitchPlan plan = PlanSwitch(fresh);
        QCOMPARE(plan.Moves.size(), 8);
        int calls = 0;
        const TMoveFile failing = [&](const QString &From, const QString &To, QString &Reason) {
            if (calls++ == failAt) {
                Reason = QStringLiteral("falla de prueba");
                return false;
            }
            return RenameOneFile(From, To, Reason);
        };
        try {
            PerformSwitch(plan, failing);
            QFAIL("the failure was not reported");
        } catch (const Exception &e) {
            QVERIFY2(e.Message().contains("falla de prueba")
                         && e.Message().contains("No se cambió nada"),
                     qPrintable(e.Message()));
        }
        QCOMPARE(FolderHashes(c.Folder), before);
        QVERIFY(!QFileInfo::exists(c.Folder + "/Anteriores"));
    }

    void readOnlyRenewalFolderUndone()
    {
        const TCompanyFolder c = MakeCompanyFolder(FAuthority, FDir.filePath("readonly"));
        const QString fresh = renewIn(c, 700);
        QVERIFY(!fresh.isEmpty());
        const auto before = FolderHashes(c.Folder);
        const QString renewal = QFileInfo(fresh).path();
        if (!MakeReadOnlyFolder(renewal))
            QSKIP("this system cannot make a folder read-only");
        QVERIFY_THROWS_EXCEPTION(Exception, SwitchCertificate(fresh));
        MakeWritableFolder(renewal);
        QCOMPARE(FolderHashes(c.Folder), before);
    }
};

QTEST_GUILESS_MAIN(TestRenewal)
#include "tst_Renewal.moc"
