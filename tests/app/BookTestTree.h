#pragma once
// A folder tree with a company in every state of the certificate book, made
// with the host's openssl: a production and a testing authority of the
// tests' own (their public keys in Root/autoridades, for ZEDEDE_AUTORIDADES),
// a forged one named like the production authority, and another issuer. The
// company about to expire has a renewal under way (key and request in a
// renewal folder beside its certificate).

#include "CertificateTestSupport.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QMap>
#include <QRegularExpression>

#ifndef Q_OS_WIN
#include <sys/stat.h>
#endif

struct TBookTestTree
{
    QString Root;          // the authorities and the tree
    QString Tree;          // the folder the book reads
    QString Authorities;   // for ZEDEDE_AUTORIDADES
    // Company folder -> its files, e.g. Files["vigente"]["key"].
    QMap<QString, QMap<QString, QString>> Files;
    // The production authority's stand-in, for certificates made later.
    TTestAuthority Production;

    // Makes one company: key, request (O=Company, CUIT, CN=Holder) and, when
    // Days is set, a certificate of Authority valid from a year ago (expired
    // when Days < 0) until Days from now.
    bool Company(TTestAuthority *AAuthority, const QString &AName, const QString &AFolder,
                 const QString &ACompany, const QString &ACuit, const QString &AHolder,
                 int ADays, bool AKeepKey = true, bool ACertificate = true)
    {
        const QString dir = Tree + QLatin1Char('/') + AFolder;
        QDir().mkpath(dir);
        const QString suffix = QString(ACompany).remove(QRegularExpression("[^A-Za-z0-9]"))
                               + QLatin1Char('_') + QString(AHolder).remove(QRegularExpression("[^A-Za-z0-9]"));
        const QString key = dir + "/Privada_" + suffix + ".key";
        const QString req = dir + "/Pedido_" + suffix + ".req";
        const QString crt = dir + "/" + AHolder + ".crt";
        if (!MakeRsaKey(key)
            || !MakeRequest(key, "/C=AR/O=" + ACompany + "/serialNumber=CUIT " + ACuit + "/CN="
                                     + AHolder + "/emailAddress=a@b.ar",
                            req))
            return false;
        WriteTestFile(dir + "/Source_" + suffix + ".txt",
                      ("C=AR,O=" + ACompany + ",serialNumber=CUIT " + ACuit + ",CN=" + AHolder
                       + ",emailAddress=a@b.ar").toUtf8());
        Files[AName]["key"] = key;
        Files[AName]["req"] = req;
        Files[AName]["source"] = dir + "/Source_" + suffix + ".txt";
        if (ACertificate && AAuthority) {
            const QDateTime now = QDateTime::currentDateTimeUtc();
            const QDateTime from = ADays < 0 ? now.addDays(ADays - 365) : now.addDays(-1);
            if (!AAuthority->Sign(req, crt, from, now.addDays(ADays).addSecs(3600)))
                return false;
            Files[AName]["crt"] = crt;
        }
        if (!AKeepKey) {
            QFile::remove(key);
            Files[AName].remove("key");
        }
        return true;
    }

    // Changes bytes of the first prime of a traditional RSA key, its public
    // part left as it is.
    static bool DamagePrivatePart(const QString &AKey)
    {
        const QString der = AKey + ".der";
        int status = 0;
        RunOpenSSLForTest({"rsa", "-traditional", "-in", AKey, "-outform", "DER", "-out", der}, &status);
        const QByteArray listing = RunOpenSSLForTest({"asn1parse", "-inform", "DER", "-in", der}, &status);
        QByteArray bytes = ReadTestFile(der);
        int integers = 0;
        for (const QByteArray &line : listing.split('\n')) {
            if (!line.contains("INTEGER"))
                continue;
            if (++integers != 5) // version, n, e, d, then p
                continue;
            const QRegularExpression re("^\\s*(\\d+):d=\\d+\\s+hl=(\\d+)");
            const auto m = re.match(QString::fromLatin1(line));
            if (!m.hasMatch())
                return false;
            const int at = m.captured(1).toInt() + m.captured(2).toInt() + 10;
            bytes[at] = char(bytes[at] ^ 0x5A);
            bytes[at + 1] = char(bytes[at + 1] ^ 0x33);
        }
        WriteTestFile(der, bytes);
        RunOpenSSLForTest({"rsa", "-traditional", "-inform", "DER", "-in", der, "-out", AKey}, &status);
        QFile::remove(der);
        return status == 0;
    }

    bool Build(const QString &ARoot)
    {
        Root = ARoot;
        Tree = Root + "/arbol";
        Authorities = Root + "/autoridades";
        QDir().mkpath(Authorities);
        TTestAuthority &production = Production;
        TTestAuthority testing, forged, other;
        if (!production.Create(Root + "/ca-prod", "/C=AR/O=AFIP/CN=Computadores")
            || !testing.Create(Root + "/ca-test", "/C=AR/O=AFIP/CN=Computadores Test")
            // A forger's authority named as the real one, its certificates
            // without a key identifier (as openssl ca writes them by default).
            || !forged.Create(Root + "/ca-falsa", "/C=AR/O=AFIP/CN=Computadores", false)
            || !other.Create(Root + "/ca-otra", "/C=AR/O=Otra/CN=Otra autoridad"))
            return false;
        int status = 0;
        RunOpenSSLForTest({"pkey", "-in", Root + "/ca-prod/ca.key", "-pubout", "-out",
                           Authorities + "/autoridad-produccion.pem"}, &status);
        RunOpenSSLForTest({"pkey", "-in", Root + "/ca-test/ca.key", "-pubout", "-out",
                           Authorities + "/autoridad-homologacion.pem"}, &status);
        bool ok = Company(&production, "vigente", "vigente", "Vigente SA", "20123456786", "alias1", 200)
                  && Company(&production, "por-vencer", "por vencer", "Pronto SRL", "30500010912", "alias2", 10)
                  && Company(&production, "vencido", "vencido", "Pasada SA", "27222222226", "alias3", -5)
                  && Company(&production, "reemplazado", "renovada/2024", "Renovada SA", "20111111112", "alias4", -30)
                  && Company(&production, "reemplazante", "renovada/2026", "Renovada SA", "20111111112", "alias4", 600)
                  && Company(nullptr, "pedido-pendiente", "pendiente", "Nueva; \"Coop\" Ltda", "20333333334", "alias5", 0, true, false)
                  && Company(&production, "sin-clave", "sin clave", "Sinclave SA", "20444444445", "alias6", 300, false)
                  && Company(&production, "clave-dañada", "dañada", "Dañada SA", "20555555556", "alias7", 300)
                  && Company(&forged, "falsificado", "falsa", "Falsa SA", "20666666667", "alias8", 300)
                  && Company(&other, "otro", "otra", "Otra SA", "20777777778", "alias9", 300)
                  && Company(&testing, "homologacion", "homologacion", "Prueba SA", "20888888889", "alias10", 400)
                  // The renewal of the one about to expire, waiting for its certificate.
                  && Company(nullptr, "renovacion", QString::fromUtf8("por vencer/Renovación 2026-03-14"),
                             "Pronto SRL", "30500010912", "alias2", 0, true, false);
        if (!ok || !DamagePrivatePart(Files["clave-dañada"]["key"]))
            return false;
        // A kept copy of the key in use belongs to its group.
        QFile::copy(Files["vigente"]["key"], Files["vigente"]["key"] + ".20250101-100000.bak");
        Files["vigente"]["bak"] = Files["vigente"]["key"] + ".20250101-100000.bak";
        // A certificate in the authority's name with flipped signature bytes:
        // its key identifier is known, its signature fails.
        if (!Company(&production, "firma-alterada", "firma alterada", "Alterada SA", "20999999990", "alias11", 300))
            return false;
        const QString altered = Files["firma-alterada"]["crt"];
        QByteArray der = RunOpenSSLForTest({"x509", "-in", altered, "-outform", "DER"}, &status);
        der[der.size() - 3] = char(der[der.size() - 3] ^ 0xFF);
        QFile::remove(altered);
        WriteTestFile(altered + ".der", der);
        Files["firma-alterada"]["crt"] = altered + ".der";
        // Hostile things: a truncated certificate, a FIFO, a link loop, a huge file.
        const QByteArray pem = ReadTestFile(Files["vigente"]["crt"]);
        WriteTestFile(Tree + "/roto/truncado.crt", pem.left(pem.size() / 2));
        Files["truncado"]["crt"] = Tree + "/roto/truncado.crt";
#ifndef Q_OS_WIN
        ::mkfifo(QFile::encodeName(Tree + "/roto/tuberia.crt").constData(), 0600);
        QFile::link(Tree, Tree + "/roto/bucle");
#endif
        WriteTestFile(Tree + "/roto/enorme.crt", QByteArray(5 * 1024 * 1024, 'A'));
        // Not read at all: another kind of file.
        WriteTestFile(Tree + "/vigente/factura.pdf", "%PDF-1.4");
        return true;
    }
};
