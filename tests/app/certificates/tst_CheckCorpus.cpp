// Every kind of file a person or an attacker may hand to the check, each with
// the verdict and exit code it must get without a window.

#include "CertificateReport.h"

#include "AppTestSupport.h"
#include "CertificateTestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>

#ifndef Q_OS_WIN
#include <sys/stat.h>
#endif

namespace {

QByteArray PemOf(const QByteArray &Label, const QByteArray &Der, int LineLength = 64)
{
    const QByteArray b64 = Der.toBase64();
    QByteArray out = "-----BEGIN " + Label + "-----\n";
    for (int i = 0; i < b64.size(); i += LineLength)
        out += b64.mid(i, LineLength) + "\n";
    return out + "-----END " + Label + "-----\n";
}

QByteArray DerOfPem(const QString &File)
{
    // openssl.exe ends its lines with CR LF.
    const QByteArray text = ReadTestFile(File).replace('\r', QByteArray());
    const int begin = text.indexOf("-----\n") + 6;
    const int end = text.indexOf("-----END");
    return QByteArray::fromBase64(text.mid(begin, end - begin));
}

// The offset and length of the N-th element inside the top DER SEQUENCE.
bool DerElement(const QByteArray &Der, int N, int &Offset, int &Length)
{
    auto lengthAt = [&](int &At) {
        const uchar first = uchar(Der.at(At++));
        if (first < 0x80)
            return int(first);
        int n = first & 0x7F, value = 0;
        while (n--)
            value = (value << 8) | uchar(Der.at(At++));
        return value;
    };
    int at = 1;
    lengthAt(at);
    for (int i = 0; at < Der.size(); ++i) {
        ++at; // tag
        const int len = lengthAt(at);
        if (i == N) {
            Offset = at;
            Length = len;
            return true;
        }
        at += len;
    }
    return false;
}

} // namespace

class TestCheckCorpus : public QObject
{
    Q_OBJECT
    QTemporaryDir FDir{AccentedTemporaryPattern()};
    QString FKey, FRequest, FOtherKey, FDefault, FAuthorities;
    TTestAuthority FProduction, FTesting, FArca, FForger, FForgerNoId, FStranger;
    QHash<QString, QString> FFiles; // row name -> file to check
    QHash<QString, QString> FKeys;  // row name -> --clave

    QString path(const QString &Name) const { return FDir.filePath(Name); }

    QString request(const QString &Name, const QString &Subject, QString Key = QString())
    {
        if (Key.isEmpty())
            Key = FKey;
        const QString out = path("req/" + Name + ".req");
        QDir().mkpath(path("req"));
        return MakeRequest(Key, Subject, out) ? out : QString();
    }

    // Row Name: a folder of its own, the certificate Authority signs for
    // Request there, the keys copied in.
    QString cert(const QString &Name, TTestAuthority &Authority, const QStringList &Keys,
                 QString Request = QString(), int FromDays = -1, int ToDays = 700)
    {
        const QString folder = path("c/" + Name);
        QDir().mkpath(folder);
        const QString file = folder + "/certificado.crt";
        const QDateTime now = QDateTime::currentDateTimeUtc();
        if (!Authority.Sign(Request.isEmpty() ? FRequest : Request, file, now.addDays(FromDays),
                            now.addDays(ToDays).addSecs(3600)))
            return QString();
        for (const QString &k : Keys)
            QFile::copy(k, folder + "/" + QFileInfo(k).fileName());
        FFiles.insert(Name, file);
        return file;
    }

    void file(const QString &Name, const QByteArray &Bytes, const QString &FileName = "archivo.crt",
              const QStringList &Keys = {})
    {
        const QString folder = path("c/" + Name);
        QVERIFY(WriteTestFile(folder + "/" + FileName, Bytes));
        for (const QString &k : Keys)
            QFile::copy(k, folder + "/" + QFileInfo(k).fileName());
        FFiles.insert(Name, folder + "/" + FileName);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(FDir.isValid());
        UseTemporaryHome(FDir.path());
        FDefault = path("Mis certificados");
        QDir().mkpath(FDefault);
        QDir().mkpath(path("keys"));
        FKey = path("keys/Privada_Empresa_20123456786.key");
        FOtherKey = path("keys/Privada_Otra.key");
        QVERIFY(MakeRsaKey(FKey));
        QVERIFY(MakeRsaKey(FOtherKey));
        FRequest = request("empresa", "/C=AR/O=Compañía S.A./CN=José Pérez/serialNumber=CUIT 20123456786");
        QVERIFY(!FRequest.isEmpty());

        QVERIFY(FProduction.Create(path("ca/prod"), "/C=AR/O=AFIP/CN=Computadores"));
        QVERIFY(FTesting.Create(path("ca/test"), "/C=AR/O=AFIP/CN=Computadores Test"));
        QVERIFY(FArca.Create(path("ca/arca"), "/C=AR/O=ARCA/CN=Computadores"));
        QVERIFY(FForger.Create(path("ca/forger"), "/C=AR/O=AFIP/CN=Computadores"));
        QVERIFY(FForgerNoId.Create(path("ca/forger2"), "/C=AR/O=AFIP/CN=Computadores", false));
        QVERIFY(FStranger.Create(path("ca/otra"), "/C=AR/O=Otra Empresa/CN=Computadores"));
        FAuthorities = path("autoridades");
        QVERIFY(FProduction.PublicKeyTo(FAuthorities, "autoridad-produccion.pem"));
        QVERIFY(FTesting.PublicKeyTo(FAuthorities, "autoridad-homologacion.pem"));
        QVERIFY(FArca.PublicKeyTo(FAuthorities, "autoridad-produccion-arca.pem"));
        qputenv("ZEDEDE_AUTORIDADES", FAuthorities.toLocal8Bit());

        // Issuers.
        const QString good = cert("producción", FProduction, {FKey});
        QVERIFY(!good.isEmpty());
        cert("homologación", FTesting, {FKey});
        cert("ARCA", FArca, {FKey});
        cert("autoridad falsa con su identificador", FForger, {FKey});
        cert("autoridad falsa sin identificador", FForgerNoId, {FKey});
        cert("otro emisor", FStranger, {FKey});
        QByteArray der = DerOfPem(good);
        der[der.size() - 3] = char(der.at(der.size() - 3) ^ 0x5A);
        der[der.size() - 8] = char(der.at(der.size() - 8) ^ 0xA5);
        file("firma con dos bytes cambiados", PemOf("CERTIFICATE", der), "certificado.crt", {FKey});
        file("firma cambiada, DER", der, "certificado.cer", {FKey});

        // Dates and CUIT.
        cert("vencido", FProduction, {FKey}, QString(), -800, -3);
        cert("vence pronto", FProduction, {FKey}, QString(), -700, 10);
        cert("todavía no válido", FProduction, {FKey}, QString(), 2, 700);
        cert("CUIT con dígito incorrecto", FProduction, {FKey},
             request("cuit", "/C=AR/O=Compañía/CN=José/serialNumber=CUIT 20123456785"));

        // Keys.
        cert("sin clave", FProduction, {});
        cert("clave ajena", FProduction, {FOtherKey});
        {
            const QString c = cert("clave dañada", FProduction, {});
            QByteArray keyDer = DerOfPem(FKey);
            int at = 0, len = 0;
            QVERIFY(DerElement(keyDer, 4, at, len)); // p
            keyDer[at + len / 2] = char(keyDer.at(at + len / 2) ^ 0x11);
            keyDer[at + len / 2 + 1] = char(keyDer.at(at + len / 2 + 1) ^ 0x22);
            QVERIFY(DerElement(keyDer, 3, at, len)); // d
            keyDer[at + len / 2] = char(keyDer.at(at + len / 2) ^ 0x33);
            QVERIFY(WriteTestFile(QFileInfo(c).path() + "/Privada_Empresa_20123456786.key",
                                  PemOf("RSA PRIVATE KEY", keyDer)));
        }
        {
            const QString c = cert("clave cifrada", FProduction, {});
            RunOpenSSLForTest({"pkey", "-in", FKey, "-aes256", "-passout", "pass:secreto", "-out",
                               QFileInfo(c).path() + "/Privada_Cifrada.key"});
        }
        {
            const QString c = cert("copia conservada", FProduction, {});
            QFile::copy(FKey, QFileInfo(c).path() + "/Privada_Empresa_20123456786.key.20261210-100116.bak");
        }
        {
            const QString c = cert("clave nueva ajena, copia conservada buena", FProduction, {FOtherKey});
            QFile::copy(FKey, QFileInfo(c).path() + "/Privada_Otra.key.20261210-100116.bak");
        }
        {
            const QString c = cert("clave de otro nombre con --clave", FProduction, {});
            QFile::copy(FKey, path("keys/mi clave (copia).pem"));
            FKeys.insert("clave de otro nombre con --clave", path("keys/mi clave (copia).pem"));
            FKeys.insert("--clave ajena", FOtherKey);
            cert("--clave ajena", FProduction, {});
            FKeys.insert("--clave que no existe", path("keys/no-existe.key"));
            cert("--clave que no existe", FProduction, {});
        }
        {
            const QString c = cert("clave vacía y clave buena", FProduction, {FKey});
            WriteTestFile(QFileInfo(c).path() + "/Privada_A_Vacia.key", QByteArray());
            WriteTestFile(QFileInfo(c).path() + "/Privada_B_Cortada.key",
                          ReadTestFile(FKey).left(700));
        }
        {
            const QString ecKey = path("keys/Privada_EC.key");
            QVERIFY(MakeAuthorityKey(ecKey));
            cert("clave EC", FProduction, {ecKey},
                 request("ec", "/C=AR/O=Compañía/CN=José EC/serialNumber=CUIT 20123456786", ecKey));
        }

        // Spoofing characters in the holder's name and in file names.
        cert("CN con ESC", FProduction, {FKey},
             request("esc", "/C=AR/O=X/CN=Jos\x1b[2J\x1b[32mAFIP OK/serialNumber=CUIT 20123456786"));
        cert("CN con CSI de C1", FProduction, {FKey},
             request("c1", QString::fromUtf8("/C=AR/O=X/CN=Jos\xc2\x9b" "2Jé/serialNumber=CUIT 20123456786")));
        cert("CN con RLO", FProduction, {FKey},
             request("rlo", QString::fromUtf8("/C=AR/O=X/CN=Jos\xe2\x80\xae" "txt.exe/serialNumber=CUIT 20123456786")));
        cert("CN con aislamientos", FProduction, {FKey},
             request("iso", QString::fromUtf8("/C=AR/O=X/CN=A\xe2\x81\xa6" "B\xe2\x81\xa9/serialNumber=CUIT 20123456786")));
        cert("CN con ancho cero", FProduction, {FKey},
             request("zw", QString::fromUtf8("/C=AR/O=X/CN=AF\xe2\x80\x8bIP/serialNumber=CUIT 20123456786")));
        cert("CN con DEL", FProduction, {FKey},
             request("del", "/C=AR/O=X/CN=Jos\x7f\x7f/serialNumber=CUIT 20123456786"));
        cert("CN con HTML", FProduction, {FKey},
             request("html", "/C=AR/O=X/CN=<b><font color=green size=6>AFIP OK<\\/font><\\/b>/serialNumber=CUIT 20123456786"));
#ifndef Q_OS_WIN // control characters cannot be in a Windows file name
        {
            const QString c = cert("clave con ESC en el nombre", FProduction, {FOtherKey});
            QVERIFY(QFile::rename(QFileInfo(c).path() + "/Privada_Otra.key",
                                  QFileInfo(c).path() + "/Privada_\x1b[31mroja.key"));
        }
        file("nombre de archivo con ESC", ReadTestFile(good), "cert\x1b]0;hola\x07.crt", {FKey});
#endif

        // Layouts of PEM and DER.
        const QByteArray goodDer = DerOfPem(good);
        file("PEM en una línea", PemOf("CERTIFICATE", goodDer, 100000), "certificado.crt", {FKey});
        {
            QByteArray indented;
            for (const QByteArray &line : PemOf("CERTIFICATE", goodDer).split('\n'))
                indented += "    " + line + "\n";
            file("PEM con sangría", indented, "certificado.crt", {FKey});
        }
        file("PEM con CRLF", PemOf("CERTIFICATE", goodDer).replace("\n", "\r\n"), "certificado.crt", {FKey});
        file("texto antes del PEM", "Bag Attributes\n    friendlyName: x\n" + PemOf("CERTIFICATE", goodDer),
             "certificado.crt", {FKey});
        file("DER", goodDer, "certificado.cer", {FKey});
        file("dos certificados", ReadTestFile(good) + ReadTestFile(FFiles.value("otro emisor")),
             "certificado.crt", {FKey});
        {
            const QByteArray pem = PemOf("CERTIFICATE", goodDer);
            file("PEM cortado con su final", pem.left(pem.size() / 2) + "\n-----END CERTIFICATE-----\n");
            file("PEM cortado sin final", pem.left(pem.size() / 2));
            file("DER cortado", goodDer.left(goodDer.size() / 2), "archivo.cer");
            QByteArray bad = pem;
            bad[40] = '*';
            file("PEM con base64 dañado", bad);
        }

        // Other files.
        file("archivo vacío", QByteArray());
        {
            QByteArray noise(3000, '\0');
            for (int i = 0; i < noise.size(); ++i)
                noise[i] = char((i * 7919 + 13) % 251);
            file("bytes al azar", noise);
        }
        FFiles.insert("pedido", FRequest);
        FFiles.insert("clave privada", FKey);
        {
            const QString enc = path("otros/cifrada.key");
            QDir().mkpath(path("otros"));
            RunOpenSSLForTest({"pkey", "-in", FKey, "-aes256", "-passout", "pass:secreto", "-out", enc});
            FFiles.insert("clave cifrada como archivo", enc);
            const QString pfx = path("otros/c.pfx");
            RunOpenSSLForTest({"pkcs12", "-export", "-in", good, "-inkey", FKey, "-out", pfx,
                               "-passout", "pass:secreto"});
            FFiles.insert("PKCS#12", pfx);
#ifndef Q_OS_WIN
            const QString fifo = path("otros/tuberia.crt");
            QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
            FFiles.insert("FIFO", fifo);
#endif
            FFiles.insert("carpeta", path("otros"));
            FFiles.insert("no existe", path("otros/no-existe.crt"));
            QVERIFY(WriteTestFile(path("otros/enorme.crt"),
                                  ReadTestFile(good) + QByteArray(2 * 1024 * 1024, 'A')));
            FFiles.insert("archivo enorme", path("otros/enorme.crt"));
        }
    }

    void everyFileGetsItsVerdict_data()
    {
        QTest::addColumn<QString>("row");
        QTest::addColumn<int>("exit");
        QTest::addColumn<QString>("expected");   // in standard output (0, 1) or error (2)
        QTest::addColumn<QString>("absent");     // never shown
        const auto row = [](const char *Name, int Exit, const QString &Expected,
                            const QString &Absent = QString()) {
            QTest::newRow(Name) << QString::fromUtf8(Name) << Exit << Expected << Absent;
        };
        const QString valid = "Resultado: Certificado de producción válido por";
        row("producción", 0, "Autoridad de la A.F.I.P.: Producción\n");
        row("homologación", 0, "Resultado: Certificado de homologación (solo para pruebas)");
        row("ARCA", 0, valid);
        row("autoridad falsa con su identificador", 1, "clave que este programa no conoce",
            "Producción");
        row("autoridad falsa sin identificador", 1,
            "no fue emitido por la A.F.I.P.: su emisor lleva el nombre", "Producción");
        row("otro emisor", 1, "El certificado no fue emitido por la A.F.I.P.", "Producción");
        row("firma con dos bytes cambiados", 1, "no fue emitido por la A.F.I.P.", "Producción");
        row("firma cambiada, DER", 1, "no fue emitido por la A.F.I.P.", "Producción");
        row("vencido", 1, "ATENCIÓN: el certificado venció el");
        row("vence pronto", 1, "ATENCIÓN: el certificado vence en 10 días");
        row("todavía no válido", 1, "todavía no es válido");
        row("CUIT con dígito incorrecto", 1, "no lleva un CUIT válido");
        row("sin clave", 1, "No se encontró la clave privada del certificado.");
        row("clave ajena", 1, ": no corresponde\n");
        row("clave dañada", 1, "corresponde al certificado, pero está dañada", ": corresponde\n");
        row("clave cifrada", 1, "protegida con contraseña", "bad decrypt");
        row("copia conservada", 0, "corresponde a la copia conservada Privada_Empresa_20123456786.key.20261210-100116.bak");
        row("clave nueva ajena, copia conservada buena", 0, "(copia conservada): corresponde");
        row("clave de otro nombre con --clave", 0, "corresponde a la clave mi clave (copia).pem");
        row("--clave ajena", 1, "Privada_Otra.key: no corresponde");
        row("--clave que no existe", 1, "no-existe.key: no se pudo leer: no existe");
        row("clave vacía y clave buena", 0, "Privada_B_Cortada.key: dañada (el archivo está dañado o incompleto)");
        row("clave EC", 0, valid);
        row("CN con ESC", 0, "Titular: Jos\\u001B[2J\\u001B[32mAFIP OK\n", "\x1b");
        row("CN con CSI de C1", 0, "Titular: Jos\\u009B2Jé\n", QString(QChar(0x9B)));
        row("CN con RLO", 0, "Titular: Jos\\u202Etxt.exe\n", QString(QChar(0x202E)));
        row("CN con aislamientos", 0, "Titular: A\\u2066B\\u2069\n", QString(QChar(0x2066)));
        row("CN con ancho cero", 0, "Titular: AF\\u200BIP\n", QString(QChar(0x200B)));
        row("CN con DEL", 0, "Titular: Jos\\u007F\\u007F\n", QString(QChar(0x7F)));
        row("CN con HTML", 0, "Titular: <b><font color=green size=6>AFIP OK</font></b>\n");
#ifndef Q_OS_WIN
        row("clave con ESC en el nombre", 1, "Privada_\\u001B[31mroja.key: no corresponde", "\x1b");
        row("nombre de archivo con ESC", 0, "cert\\u001B]0;hola\\u0007.crt\n", "\x1b");
#endif
        row("PEM en una línea", 0, valid);
        row("PEM con sangría", 0, valid);
        row("PEM con CRLF", 0, valid);
        row("texto antes del PEM", 0, valid);
        row("DER", 0, "Tipo de archivo: Certificado (formato DER)");
        row("dos certificados", 0, "Certificados en el archivo: 2 (se verificó el primero)");
        row("PEM cortado con su final", 1, "El archivo está dañado o incompleto");
        row("PEM cortado sin final", 1, "El archivo está dañado o incompleto");
        row("DER cortado", 1, "El archivo está dañado o incompleto");
        row("PEM con base64 dañado", 1, "El archivo está dañado o incompleto");
        row("archivo vacío", 1, "no es un certificado");
        row("bytes al azar", 1, "no es un certificado");
        row("pedido", 1, "Este es el pedido, no el certificado emitido");
        row("clave privada", 1, "Este archivo es una clave privada");
        row("clave cifrada como archivo", 1, "Tipo de archivo: Clave privada protegida con contraseña");
        row("PKCS#12", 1, "Archivo PKCS#12");
#ifndef Q_OS_WIN
        row("FIFO", 2, "no es un archivo común");
#endif
        row("carpeta", 2, "es una carpeta");
        row("no existe", 2, "No se encontró el archivo");
        row("archivo enorme", 2, "mide más de 1 MB");
    }
    void everyFileGetsItsVerdict()
    {
        QFETCH(QString, row);
        QFETCH(int, exit);
        QFETCH(QString, expected);
        QFETCH(QString, absent);
        QVERIFY2(FFiles.contains(row), qPrintable(row));
        QString out, err;
        QTextStream o(&out), e(&err);
        const int code = RunVerifyWithoutWindow(FFiles.value(row), o, e, FKeys.value(row), FDefault);
        const QString text = code == 2 ? err : out;
        QVERIFY2(code == exit, qPrintable(QString("exit %1\n%2%3").arg(code).arg(out, err)));
        QVERIFY2(text.contains(expected), qPrintable(out + err));
        if (!absent.isEmpty())
            QVERIFY2(!(out + err).contains(absent), qPrintable(out + err));
        // Findings on standard output, failures on standard error only.
        QVERIFY(code == 2 ? out.isEmpty() : err.isEmpty());
        // Nothing that can act on a terminal reaches it, whatever the row.
        for (const QChar c : out + err)
            QVERIFY2(c == '\n' || (c.category() != QChar::Other_Control
                                   && c.category() != QChar::Other_Format),
                     qPrintable(QString::number(c.unicode(), 16)));
    }

    void theCorpusIsLarge()
    {
        QVERIFY(FFiles.size() >= 40);
    }
};

QTEST_GUILESS_MAIN(TestCheckCorpus)
#include "tst_CheckCorpus.moc"
