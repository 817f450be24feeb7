#include "CertificateBook.h"

#include "BookTestTree.h"

#include <QTemporaryDir>
#include <QTest>

#ifndef Q_OS_WIN
#include <unistd.h>
#endif

class TestCertificateBook : public QObject
{
    Q_OBJECT

    QTemporaryDir FDir{AccentedTemporaryPattern()};
    TBookTestTree FTree;
    TBook FBook;

    const TBookGroup *GroupWith(const QString &AFile) const
    {
        for (const TBookGroup &g : FBook.Groups)
            if (g.Files.contains(AFile))
                return &g;
        return nullptr;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(FDir.isValid());
        QVERIFY(FTree.Build(FDir.path()));
        qputenv("ZEDEDE_AUTORIDADES", FTree.Authorities.toLocal8Bit());
        FBook = ReadBook(FTree.Tree);
        QVERIFY(FBook.Listing.RootReadable);
    }

    void everyState_data()
    {
        QTest::addColumn<QString>("company");
        QTest::addColumn<QString>("state");
        QTest::addColumn<QString>("environment"); // TIssuerKind as text
        QTest::addColumn<int>("minDays");
        QTest::addColumn<int>("maxDays");
        QTest::addColumn<bool>("hasKey");
        QTest::addColumn<QString>("organization");
        QTest::newRow("vigente") << "vigente" << "vigente" << "produccion" << 199 << 200 << true << "Vigente SA";
        QTest::newRow("por vencer") << "por-vencer" << "por-vencer" << "produccion" << 9 << 10 << true << "Pronto SRL";
        QTest::newRow("vencido") << "vencido" << "vencido" << "produccion" << -6 << -5 << true << "Pasada SA";
        QTest::newRow("reemplazado") << "reemplazado" << "reemplazado" << "produccion" << -31 << -30 << true << "Renovada SA";
        QTest::newRow("el que lo reemplaza") << "reemplazante" << "vigente" << "produccion" << 599 << 600 << true << "Renovada SA";
        QTest::newRow("pedido pendiente") << "pedido-pendiente" << "pedido-pendiente" << "" << 0 << 0 << true << "Nueva; \"Coop\" Ltda";
        QTest::newRow("sin clave") << "sin-clave" << "sin-clave" << "produccion" << 299 << 300 << false << "Sinclave SA";
        QTest::newRow("clave dañada") << "clave-dañada" << "clave-dañada" << "produccion" << 299 << 300 << true << "Dañada SA";
        QTest::newRow("autoridad falsa") << "falsificado" << "no-emitido-por-afip" << "otro" << 299 << 300 << true << "Falsa SA";
        QTest::newRow("firma alterada") << "firma-alterada" << "no-emitido-por-afip" << "otro" << 299 << 300 << true << "Alterada SA";
        QTest::newRow("otro emisor") << "otro" << "no-emitido-por-afip" << "otro" << 299 << 300 << true << "Otra SA";
        QTest::newRow("homologación") << "homologacion" << "vigente" << "homologacion" << 399 << 400 << true << "Prueba SA";
    }

    void everyState()
    {
        QFETCH(QString, company);
        QFETCH(QString, state);
        QFETCH(QString, environment);
        QFETCH(int, minDays);
        QFETCH(int, maxDays);
        QFETCH(bool, hasKey);
        QFETCH(QString, organization);
        const QMap<QString, QString> files = FTree.Files.value(company);
        const TBookGroup *g = GroupWith(files.value("req"));
        QVERIFY2(g, qPrintable(company));
        QCOMPARE(StateWord(g->State), state);
        QCOMPARE(g->Company, organization);
        QCOMPARE(g->RequestFile, files.value("req"));
        QCOMPARE(g->CertificateFile, files.value("crt"));
        QCOMPARE(g->KeyFile, hasKey ? files.value("key") : QString());
        QVERIFY(!g->SourceFile.isEmpty()); // found through the key's or the request's name
        QCOMPARE(g->HasCertificate, files.contains("crt"));
        QVERIFY(g->CUITValid || company == "firma-alterada" || !g->CUIT.isEmpty());
        if (g->HasCertificate) {
            const QString env = g->Environment == TIssuerKind::Production ? "produccion"
                                : g->Environment == TIssuerKind::Testing  ? "homologacion"
                                                                          : "otro";
            QCOMPARE(env, environment);
            QVERIFY2(g->DaysLeft >= minDays && g->DaysLeft <= maxDays,
                     qPrintable(QString::number(g->DaysLeft)));
        }
        // Every file of the company is in its group, and in no other.
        for (const QString &f : files)
            QCOMPARE(GroupWith(f), g);
    }

    void verdicts()
    {
        // Named like the authority, no key identifier, signature not its.
        QCOMPARE(GroupWith(FTree.Files["falsificado"]["crt"])->Verdict, TIssuerVerdict::NotIssuedByAuthority);
        // Named like the authority with a key identifier not known here.
        QTemporaryDir dir;
        int status = 0;
        WriteTestFile(dir.path() + "/ext.cnf", "authorityKeyIdentifier = keyid:always\n");
        RunOpenSSLForTest({"x509", "-req", "-extfile", dir.path() + "/ext.cnf", "-in", FTree.Files["falsificado"]["req"], "-CA",
                           FDir.path() + "/ca-falsa/ca.crt", "-CAkey", FDir.path() + "/ca-falsa/ca.key",
                           "-days", "100", "-out", dir.path() + "/desconocida.crt"}, &status);
        QCOMPARE(status, 0);
        const TBook unknown = ReadBook(dir.path());
        QCOMPARE(unknown.Groups.size(), 1);
        QCOMPARE(unknown.Groups.first().Verdict, TIssuerVerdict::UnknownAuthorityKey);
        QCOMPARE(unknown.Groups.first().State, TBookState::NotIssuedByAuthority);
        QCOMPARE(GroupWith(FTree.Files["firma-alterada"]["crt"])->Verdict, TIssuerVerdict::NotIssuedByAuthority);
        QCOMPARE(GroupWith(FTree.Files["otro"]["crt"])->Verdict, TIssuerVerdict::OtherIssuer);
        QCOMPARE(GroupWith(FTree.Files["vigente"]["crt"])->Verdict, TIssuerVerdict::Authority);
        // Without the authority's keys nothing is the authority's.
        qputenv("ZEDEDE_AUTORIDADES", (FDir.path() + "/no-hay").toLocal8Bit());
        const TBook without = ReadBook(FTree.Files["vigente"]["crt"].section('/', 0, -2));
        qputenv("ZEDEDE_AUTORIDADES", FTree.Authorities.toLocal8Bit());
        QCOMPARE(without.Groups.size(), 1);
        QCOMPARE(without.Groups.first().State, TBookState::NotIssuedByAuthority);
    }

    void keptCopyBelongsToItsGroup()
    {
        const TBookGroup *g = GroupWith(FTree.Files["vigente"]["bak"]);
        QVERIFY(g);
        QCOMPARE(g->KeyFile, FTree.Files["vigente"]["key"]); // the current key before the copy
        QVERIFY(!g->KeyIsKeptCopy);
        // With the current key gone, the copy is the key.
        QTemporaryDir dir;
        QVERIFY(QFile::copy(FTree.Files["vigente"]["bak"], dir.path() + "/Privada_x.key.1.bak"));
        QVERIFY(QFile::copy(FTree.Files["vigente"]["crt"], dir.path() + "/c.crt"));
        const TBook book = ReadBook(dir.path());
        QCOMPARE(book.Groups.size(), 1);
        QVERIFY(book.Groups.first().KeyIsKeptCopy);
        QCOMPARE(book.Groups.first().State, TBookState::Valid);
    }

    void companyFromTheOriginFile()
    {
        QTemporaryDir dir;
        const QString key = FTree.Files["vigente"]["key"];
        QVERIFY(QFile::copy(key, dir.path() + "/" + QFileInfo(key).fileName()));
        QVERIFY(QFile::copy(FTree.Files["vigente"]["crt"], dir.path() + "/c.crt"));
        const QString source = FTree.Files["vigente"]["source"];
        QVERIFY(QFile::copy(source, dir.path() + "/" + QFileInfo(source).fileName()));
        const TBook book = ReadBook(dir.path());
        QCOMPARE(book.Groups.size(), 1);
        QCOMPARE(book.Groups.first().Company, QString("Vigente SA"));
        QVERIFY(book.Groups.first().RequestFile.isEmpty());
    }

    void hostileFolders()
    {
        // The truncated certificate is listed as unreadable; the FIFO, the
        // huge file and the looped folder are not read.
        const TBookGroup *truncated = GroupWith(FTree.Files["truncado"]["crt"]);
        QVERIFY(truncated);
        QCOMPARE(truncated->State, TBookState::Unreadable);
        QVERIFY(!truncated->Reason.isEmpty());
        QVERIFY(!FBook.Listing.Files.contains(FTree.Tree + "/roto/tuberia.crt"));
        QVERIFY(!FBook.Listing.Files.contains(FTree.Tree + "/roto/enorme.crt"));
        QVERIFY(!FBook.Listing.Files.contains(FTree.Tree + "/vigente/factura.pdf"));
        QVERIFY(FBook.Listing.Notes.join('\n').contains("enorme.crt"));
        for (const QString &f : FBook.Listing.Files)
            QVERIFY2(!f.contains("/bucle/"), qPrintable(f));
        // Twelve companies, a renewal and the truncated file.
        QCOMPARE(FBook.Groups.size(), 14);

        // A deep tree is bounded.
        QTemporaryDir deep;
        QString path = deep.path();
        for (int i = 0; i < 30; ++i)
            path += "/n";
        QVERIFY(QDir().mkpath(path));
        QVERIFY(QFile::copy(FTree.Files["vigente"]["crt"], path + "/c.crt"));
        TBookLimits limits;
        limits.MaxDepth = 8;
        const TBook bounded = ReadBook(deep.path(), QDateTime::currentDateTimeUtc(), nullptr, nullptr, limits);
        QVERIFY(bounded.Groups.isEmpty());
        QVERIFY(bounded.Listing.Notes.join('\n').contains("8 niveles"));
        QCOMPARE(ReadBook(deep.path()).Groups.size(), 0); // 30 levels: beyond the default bound too
    }

    void unreadableSubfolder()
    {
#ifdef Q_OS_WIN
        QSKIP("a folder's permissions are not changed on Windows");
#else
        if (::geteuid() == 0)
            QSKIP("as root every folder can be read");
#endif
        QTemporaryDir dir;
        QVERIFY(QDir().mkpath(dir.path() + "/cerrada"));
        QVERIFY(QFile::copy(FTree.Files["vigente"]["crt"], dir.path() + "/c.crt"));
        QFile::setPermissions(dir.path() + "/cerrada", QFileDevice::Permissions());
        const TBook book = ReadBook(dir.path());
        QFile::setPermissions(dir.path() + "/cerrada", QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        QCOMPARE(book.Groups.size(), 2);
        QCOMPARE(book.Groups.first().State, TBookState::NoKey);
        QCOMPARE(book.Groups.last().State, TBookState::Unreadable);
    }

    void folderThatCannotBeRead()
    {
        QVERIFY(!ReadBook(FDir.path() + "/no-existe").Listing.RootReadable);
        QVERIFY(!ReadBook(FTree.Files["vigente"]["crt"]).Listing.RootReadable);
    }

    void sortedByUrgency()
    {
        // By urgency, each renewal left aside: it follows its certificate.
        QList<TBookGroup> own;
        for (int i = 0; i < FBook.Groups.size(); ++i) {
            const TBookGroup &g = FBook.Groups.at(i);
            if (g.RenewalOf.isEmpty())
                own << g;
            else
                QCOMPARE(FBook.Groups.at(i - 1).CertificateFile, g.RenewalOf);
        }
        QCOMPARE(own.size(), FBook.Groups.size() - 1);
        for (int i = 1; i < own.size(); ++i) {
            const TBookGroup &a = own.at(i - 1), &b = own.at(i);
            QVERIFY(int(a.State) <= int(b.State));
            if (a.State == b.State && a.HasCertificate && b.HasCertificate)
                QVERIFY(a.DaysLeft <= b.DaysLeft);
        }
        QCOMPARE(FBook.Groups.first().State, TBookState::Expired);
        QVERIFY(BookNeedsAttention(FBook.Groups));
        QVERIFY(!NeedsAttention(TBookState::Replaced));
        QVERIFY(!NeedsAttention(TBookState::RequestPending));
    }

    // A renewal's key and request, in a renewal folder beside the
    // certificate about to expire: pending, right after that certificate,
    // which keeps its state and names the renewal.
    void renewalBesideItsCertificate()
    {
        const TBookGroup *renewal = GroupWith(FTree.Files["renovacion"]["req"]);
        const TBookGroup *renewed = GroupWith(FTree.Files["por-vencer"]["crt"]);
        QVERIFY(renewal && renewed && renewal != renewed);
        QCOMPARE(renewal->State, TBookState::RequestPending);
        QCOMPARE(renewal->KeyFile, FTree.Files["renovacion"]["key"]);
        QCOMPARE(renewal->RenewalOf, FTree.Files["por-vencer"]["crt"]);
        QCOMPARE(RenewalNote(*renewal), QString("renovación de alias2.crt"));
        QCOMPARE(renewed->State, TBookState::ExpiresSoon);
        QCOMPARE(renewed->RenewalFolder, QFileInfo(FTree.Files["renovacion"]["key"]).path());
        QVERIFY(!renewed->RenewalHasCertificate);
        QCOMPARE(RenewalNote(*renewed),
                 QString("renovación pendiente en «Renovación 2026-03-14»"));
        QCOMPARE(renewal - renewed, 1);
        QVERIFY(GroupWith(FTree.Files["vigente"]["crt"])->RenewalFolder.isEmpty());
        QVERIFY(GroupWith(FTree.Files["pedido-pendiente"]["req"])->RenewalOf.isEmpty());

        // Once its certificate arrives, the renewal is valid and still beside
        // the one it replaces; a renewal folder with another company's
        // request, or one without the certificate in use above it, is
        // nobody's renewal.
        QTemporaryDir dir;
        const QString r1 = dir.path() + "/empresa/Renovación 2026-03-14";
        const QString r2 = dir.path() + "/empresa/Renovación 2026-03-14 (2)";
        const QString r3 = dir.path() + "/otra/Renovación 2026-03-14";
        for (const QString &f : {r1, r2, r3})
            QVERIFY(QDir().mkpath(f));
        for (const QString &k : {"key", "req", "crt"})
            QVERIFY(QFile::copy(FTree.Files["por-vencer"][k], dir.path() + "/empresa/"
                                                              + QFileInfo(FTree.Files["por-vencer"][k]).fileName()));
        for (const QString &k : {"key", "req"}) {
            const QString name = QFileInfo(FTree.Files["renovacion"][k]).fileName();
            QVERIFY(QFile::copy(FTree.Files["renovacion"][k], r1 + "/" + name));
            const QString other = QFileInfo(FTree.Files["pedido-pendiente"][k]).fileName();
            QVERIFY(QFile::copy(FTree.Files["pedido-pendiente"][k], r2 + "/" + other));
        }
        QVERIFY(MakeRsaKey(r3 + "/Privada_x.key"));
        QVERIFY(MakeRequest(r3 + "/Privada_x.key", "/C=AR/O=Pronto SRL/serialNumber=CUIT 30500010912/CN=alias2",
                            r3 + "/Pedido_x.req"));
        QVERIFY(FTree.Production.SignFor(r1 + "/Pedido_ProntoSRL_alias2.req", r1 + "/alias2.crt", 730));
        const TBook book = ReadBook(dir.path());
        QCOMPARE(book.Groups.size(), 4);
        int at = -1;
        for (int i = 0; i < book.Groups.size(); ++i)
            if (book.Groups.at(i).CertificateFile == dir.path() + "/empresa/alias2.crt")
                at = i;
        QVERIFY(at >= 0 && at + 1 < book.Groups.size());
        const TBookGroup &old = book.Groups.at(at), &fresh = book.Groups.at(at + 1);
        QCOMPARE(old.State, TBookState::Replaced);
        QCOMPARE(old.RenewalFolder, r1);
        QVERIFY(old.RenewalHasCertificate);
        QVERIFY(RenewalNote(old).contains("recibida"));
        QCOMPARE(fresh.CertificateFile, r1 + "/alias2.crt");
        QCOMPARE(fresh.State, TBookState::Valid);
        QCOMPARE(fresh.RenewalOf, old.CertificateFile);
        int linked = 0;
        for (const TBookGroup &g : book.Groups)
            linked += g.RenewalOf.isEmpty() ? 0 : 1;
        QCOMPARE(linked, 1);
    }

    void keysJudged()
    {
        QCOMPARE(ReadPrivateKey(FTree.Files["vigente"]["key"]).State, TKeyInfo::Sound);
        const TKeyInfo damaged = ReadPrivateKey(FTree.Files["clave-dañada"]["key"]);
        QCOMPARE(damaged.State, TKeyInfo::Damaged);
        // The public part is intact: it still names its request.
        QCOMPARE(damaged.PublicKey, ReadRequest(FTree.Files["clave-dañada"]["req"]).PublicKey);
        int status = 0;
        const QString encrypted = FDir.path() + "/cifrada.key";
        RunOpenSSLForTest({"pkey", "-in", FTree.Files["vigente"]["key"], "-aes256", "-passout",
                           "pass:secreta", "-out", encrypted}, &status);
        QCOMPARE(ReadPrivateKey(encrypted).State, TKeyInfo::Encrypted);
        QCOMPARE(ReadPrivateKey(FTree.Files["vigente"]["req"]).State, TKeyInfo::Unreadable);
        const TRequestInfo request = ReadRequest(FTree.Files["vigente"]["req"]);
        QVERIFY(request.SignatureValid);
        QCOMPARE(request.CUIT, QString("20123456786"));
        QCOMPARE(request.Mail, QString("a@b.ar"));
    }
};

QTEST_GUILESS_MAIN(TestCertificateBook)
#include "tst_CertificateBook.moc"
