#pragma once
// A company's folder as a renewal finds it: a key, its request, its origin
// file and the certificate in use, signed by a local authority named like
// the tax authority (whose public key the check is pointed at), plus
// hashes of a whole folder tree to compare it before and after a step.

#include "CertificateTestSupport.h"

#include <QCryptographicHash>
#include <QDirIterator>
#include <QMap>

// Relative path -> SHA-256 of every file under Folder.
inline QMap<QString, QByteArray> FolderHashes(const QString &Folder)
{
    QMap<QString, QByteArray> hashes;
    QDirIterator it(Folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        hashes.insert(QDir(Folder).relativeFilePath(file),
                      QCryptographicHash::hash(ReadTestFile(file), QCryptographicHash::Sha256));
    }
    return hashes;
}

struct TCompanyFolder
{
    QString Folder;
    QString Key, Request, Origin, Certificate;
};

// The tax authority's stand-in: its public key in a folder of its own that
// the check uses for the authority's keys.
inline bool MakeLocalAuthority(TTestAuthority &Authority, const QString &Folder)
{
    if (!Authority.Create(Folder, QStringLiteral("/C=AR/O=AFIP/CN=Computadores")))
        return false;
    const QString keys = Folder + QStringLiteral("/autoridades");
    QDir().mkpath(keys);
    int status = 0;
    RunOpenSSLForTest({"pkey", "-in", Folder + "/ca.key", "-pubout", "-out", keys + "/local.pem"},
                      &status);
    qputenv("ZEDEDE_AUTORIDADES", keys.toLocal8Bit());
    return status == 0;
}

inline const char *kCompany = "Compañía, Hijos y Cía. S.A.";
inline const char *kOperator = "José Pérez";
inline const char *kMail = "jose@example.com";
inline const char *kSuffix = "CompaaHijosyCaSA_JosPrez";

// Folder with the wizard's three files and a certificate valid for Days.
inline TCompanyFolder MakeCompanyFolder(TTestAuthority &Authority, const QString &Folder,
                                        int Days = 400)
{
    TCompanyFolder c;
    c.Folder = Folder;
    QDir().mkpath(Folder);
    const QString suffix = QString::fromUtf8(kSuffix);
    c.Key = Folder + "/Privada_" + suffix + ".key";
    c.Request = Folder + "/Pedido_" + suffix + ".req";
    c.Origin = Folder + "/Source_" + suffix + ".txt";
    c.Certificate = Folder + "/certificado.crt";
    const QString company = QString::fromUtf8(kCompany);
    const QString holder = QString::fromUtf8(kOperator);
    if (!MakeRsaKey(c.Key)
        || !MakeRequest(c.Key,
                        "/C=AR/O=" + QString(company).replace(",", "\\,")
                            + "/serialNumber=CUIT 20123456786/CN=" + holder
                            + "/emailAddress=" + kMail,
                        c.Request)
        || !WriteTestFile(c.Origin, QByteArray("C=AR,O=Compa\xf1\xed" "a, Hijos y C\xed" "a. S.A.,"
                                               "serialNumber=CUIT 20123456786,CN=Jos\xe9 P\xe9rez,"
                                               "emailAddress=jose@example.com"))
        || !Authority.SignFor(c.Request, c.Certificate, Days))
        return TCompanyFolder();
    return c;
}
