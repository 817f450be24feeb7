#include "CertificateBook.h"

#include "BookTestTree.h"

#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

class TestCertificateBook : public QObject
{
    Q_OBJECT

    QTemporaryDir FDir;
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
        qputenv("ZEDEDE_AUTORIDADES", FTree.Authorities.toUtf8());
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
        qputenv("ZEDEDE_AUTORIDADES", (FDir.path() + "/no-hay").toUtf8());
        const TBook without = ReadBook(FTree.Files["vigente"]["crt"].section('/', 0, -2));
        qputenv("ZEDEDE_AUTORIDADES", FTree.Authorities.toUtf8());
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
        // Twelve companies and the truncated file.
        QCOMPARE(FBook.Groups.size(), 13);

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
        if (::geteuid() == 0)
            QSKIP("as root every folder can be read");
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
        for (int i = 1; i < FBook.Groups.size(); ++i) {
            const TBookGroup &a = FBook.Groups.at(i - 1), &b = FBook.Groups.at(i);
            QVERIFY(int(a.State) <= int(b.State));
            if (a.State == b.State && a.HasCertificate && b.HasCertificate)
                QVERIFY(a.DaysLeft <= b.DaysLeft);
        }
        QCOMPARE(FBook.Groups.first().State, TBookState::Expired);
        QVERIFY(BookNeedsAttention(FBook.Groups));
        QVERIFY(!NeedsAttention(TBookState::Replaced));
        QVERIFY(!NeedsAttention(TBookState::RequestPending));
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
