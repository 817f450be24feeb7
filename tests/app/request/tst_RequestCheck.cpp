#include "Pem.h"
#include "RequestCheck.h"
#include "AppTestSupport.h"

#include <QTest>

namespace {

// The dump "openssl asn1parse" gives of a request, with the organisation
// as Kind and Bytes, and the challenge password as UTF8STRING PwBytes.
QByteArray Dump(const QByteArray &Kind, const QByteArray &Bytes, const QByteArray &PwBytes,
                const QByteArray &Extra = QByteArray())
{
    const auto line = [](int Offset, int Depth, int Length, const char *What) {
        return QByteArray::number(Offset).rightJustified(5) + ":d=" + QByteArray::number(Depth)
               + "  hl=2 l=" + QByteArray::number(Length).rightJustified(4) + " " + What;
    };
    const auto str = [&](int Offset, int Depth, const QByteArray &K, const QByteArray &V) {
        return line(Offset, Depth, V.size(), "prim: ") + K.leftJustified(18) + ":" + V + "\n";
    };
    QByteArray d;
    d += line(0, 0, 703, "cons: SEQUENCE          \n");
    d += line(4, 1, 423, "cons: SEQUENCE          \n");
    d += line(8, 2, 1, "prim: INTEGER           :00\n");
    d += line(11, 2, 101, "cons: SEQUENCE          \n");
    d += line(13, 3, 11, "cons: SET               \n");
    d += line(15, 4, 9, "cons: SEQUENCE          \n");
    d += line(17, 5, 3, "prim: OBJECT            :countryName\n");
    d += str(22, 5, "PRINTABLESTRING", "AR");
    d += line(26, 3, 25, "cons: SET               \n");
    d += line(30, 5, 3, "prim: OBJECT            :serialNumber\n");
    d += str(35, 5, "PRINTABLESTRING", "CUIT 20123456786");
    d += line(53, 3, 20, "cons: SET               \n");
    d += line(57, 5, 3, "prim: OBJECT            :organizationName\n");
    d += str(62, 5, Kind, Bytes);
    d += line(75, 3, 15, "cons: SET               \n");
    d += line(79, 5, 3, "prim: OBJECT            :commonName\n");
    d += str(84, 5, "UTF8STRING", "Jos\xC3\xA9 P\xC3\xA9rez");
    d += line(92, 3, 20, "cons: SET               \n");
    d += line(96, 5, 9, "prim: OBJECT            :emailAddress\n");
    d += str(107, 5, "IA5STRING", "jose@example.com");
    d += Extra;
    d += line(114, 2, 290, "cons: SEQUENCE          \n");
    d += line(118, 3, 13, "cons: SEQUENCE          \n");
    d += line(120, 4, 9, "prim: OBJECT            :rsaEncryption\n");
    d += line(131, 4, 0, "prim: NULL              \n");
    d += line(133, 3, 271, "prim: BIT STRING        \n");
    d += line(408, 2, 21, "cons: cont [ 0 ]        \n");
    d += line(410, 3, 19, "cons: SEQUENCE          \n");
    d += line(412, 4, 9, "prim: OBJECT            :challengePassword\n");
    d += line(423, 4, 6, "cons: SET               \n");
    d += str(425, 5, "UTF8STRING", PwBytes);
    d += line(431, 1, 13, "cons: SEQUENCE          \n");
    d += line(433, 2, 9, "prim: OBJECT            :sha256WithRSAEncryption\n");
    d += line(444, 2, 0, "prim: NULL              \n");
    d += line(446, 1, 257, "prim: BIT STRING        \n");
    return d;
}

TRequestData Data()
{
    TRequestData d = SampleRequestData(QString());
    d.NombreEmpresa = QStringLiteral("Café “La Esquina” – S.R.L.");
    d.Password = QStringLiteral("clave€12");
    return d;
}

const QByteArray kCafe = "Caf\xC3\xA9 \xE2\x80\x9CLa Esquina\xE2\x80\x9D \xE2\x80\x93 S.R.L.";

} // namespace

class TestRequestCheck : public QObject
{
    Q_OBJECT
private slots:
    void readsSubjectAndPasswordByteForByte()
    {
        const TRequestContents c = ParseRequestDump(Dump("UTF8STRING", kCafe, "clave\xE2\x82\xAC" "12"));
        QVERIFY(c.Parsed);
        QCOMPARE(c.Subject, ExpectedSubject(Data()));
        QCOMPARE(c.ChallengePasswords, QStringList{QStringLiteral("clave€12")});
        QCOMPARE(CompareRequest(c, Data()), QString());
    }

    void aValueIsTakenByItsLengthWhateverItHolds()
    {
        // A line break and what looks like the next line inside a value.
        const QByteArray tricky = "a\n   99:d=5  hl=2 l=   1 prim: UTF8STRING        :b";
        TRequestData d = Data();
        d.NombreEmpresa = QString::fromUtf8(tricky);
        const TRequestContents c = ParseRequestDump(Dump("UTF8STRING", tricky, "clave\xE2\x82\xAC" "12"));
        QCOMPARE(c.Subject.size(), 5);
        QCOMPARE(CompareRequest(c, d), QString());
    }

    void stringKindsAreDecodedByTheirKind()
    {
        TRequestData d = Data();
        d.NombreEmpresa = QStringLiteral("Compañía");
        QCOMPARE(CompareRequest(ParseRequestDump(Dump("T61STRING", "Compa\xF1\xED" "a", "clave\xE2\x82\xAC" "12")), d),
                 QString());
        // Latin-1 bytes in a UTF8STRING, or beyond ASCII in a PRINTABLESTRING, are not the text.
        QCOMPARE(CompareRequest(ParseRequestDump(Dump("UTF8STRING", "Compa\xF1\xED" "a", "clave\xE2\x82\xAC" "12")), d),
                 QStringLiteral("En el pedido, el nombre de la empresa está guardado de una forma que no es texto."));
        QCOMPARE(CompareRequest(ParseRequestDump(Dump("PRINTABLESTRING", "Compa\xF1\xED" "a", "clave\xE2\x82\xAC" "12")), d),
                 QStringLiteral("En el pedido, el nombre de la empresa está guardado de una forma que no es texto."));
        // A kind asn1parse does not print as text.
        QCOMPARE(CompareRequest(ParseRequestDump(Dump("BMPSTRING", "", "clave\xE2\x82\xAC" "12")), d),
                 QStringLiteral("En el pedido, el nombre de la empresa está guardado de una forma que no es texto."));
    }

    void saysWhatDiffers()
    {
        const QByteArray pw = "clave\xE2\x82\xAC" "12";
        QCOMPARE(CompareRequest(ParseRequestDump(Dump("UTF8STRING", "Caf\xC3\xA9 \"La Esquina\" - S.R.L.", pw)), Data()),
                 QStringLiteral("En el pedido, el nombre de la empresa es «Café \"La Esquina\" - S.R.L.» en "
                                "lugar de «Café “La Esquina” – S.R.L.»."));
        QCOMPARE(CompareRequest(ParseRequestDump(Dump("UTF8STRING", kCafe, "clave??12")), Data()),
                 QStringLiteral("La contraseña guardada en el pedido no es la ingresada."));
        QCOMPARE(CompareRequest(ParseRequestDump(Dump("UTF8STRING", kCafe, pw,
                                                      "  110:d=5  hl=2 l=   3 prim: OBJECT            :commonName\n"
                                                      "  112:d=5  hl=2 l=   7 prim: UTF8STRING        :Mallory\n")),
                                Data()),
                 QStringLiteral("El pedido tiene datos de más en su sujeto (commonName)."));
        QCOMPARE(CompareRequest(ParseRequestDump("Error: not a request\n"), Data()),
                 QStringLiteral("OpenSSL no pudo mostrar el contenido del pedido."));
        TRequestData other = Data();
        other.Mail = QStringLiteral("otro@example.com");
        QCOMPARE(CompareRequest(ParseRequestDump(Dump("UTF8STRING", kCafe, pw)), other),
                 QStringLiteral("En el pedido, el mail del operador es «jose@example.com» en lugar de "
                                "«otro@example.com»."));
    }

    void findsThePublicKeyAndItsSize()
    {
        const QByteArray out = "verify OK\r\n-----BEGIN PUBLIC KEY-----\r\nMIIB\r\nAQAB\r\n"
                               "-----END PUBLIC KEY-----\r\nPublic-Key: (4096 bit)\n";
        QCOMPARE(PemBlock(out, "PUBLIC KEY"),
                 QByteArray("-----BEGIN PUBLIC KEY-----\nMIIB\nAQAB\n-----END PUBLIC KEY-----\n"));
        QCOMPARE(PemBlock("-----BEGIN PUBLIC KEY-----\nMIIB\n", "PUBLIC KEY"), QByteArray());
        QCOMPARE(PemBlock(out, "CERTIFICATE"), QByteArray());
        QCOMPARE(PublicKeyBits(out), 4096);
        QCOMPARE(PublicKeyBits("Public-Key: (2048 bit)"), 2048);
        QCOMPARE(PublicKeyBits("nothing"), 0);
    }
};

QTEST_GUILESS_MAIN(TestRequestCheck)
#include "tst_RequestCheck.moc"
