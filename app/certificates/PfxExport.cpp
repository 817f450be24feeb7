#include "PfxExport.h"

#include "Crypto.h"
#include "FileWrite.h"
#include "RequestFiles.h"
#include "TextRules.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <openssl/err.h>
#include <openssl/pkcs12.h>

#include <cstring>

namespace {

// Algorithms every Windows and .NET version imports.
constexpr int kPbe = NID_pbe_WithSHA1And3_Key_TripleDES_CBC;
constexpr int kIterations = 2048;

// Fills a buffer that held secret bytes with zeros before it is freed.
void Wipe(QByteArray &Bytes)
{
    if (!Bytes.isEmpty())
        OPENSSL_cleanse(Bytes.data(), size_t(Bytes.size()));
    Bytes.clear();
}

class TSecret
{
public:
    explicit TSecret(const QString &Text) : FBytes(Text.toUtf8()) {}
    ~TSecret() { Wipe(FBytes); }
    TSecret(const TSecret &) = delete;
    TSecret &operator=(const TSecret &) = delete;
    const char *Data() const { return FBytes.constData(); }

private:
    QByteArray FBytes;
};

TX509Ptr LoadCertificate(const TCertificateInfo &Info)
{
    const QByteArray bytes = ReadLimitedFile(Info.File);
    if (!LooksLikePem(bytes))
        return CertificateFromDer(bytes);
    for (const TPemBlock &b : PemBlocks(bytes))
        if (b.Label == "CERTIFICATE" && b.Complete)
            if (TX509Ptr x = CertificateFromDer(b.Der))
                return x;
    return nullptr;
}

TPKeyPtr LoadKey(const QString &KeyFile)
{
    QByteArray bytes = ReadLimitedFile(KeyFile);
    TPKeyPtr key;
    if (!LooksLikePem(bytes)) {
        key = PrivateKeyFromDer(bytes);
    } else {
        for (TPemBlock &b : PemBlocks(bytes)) {
            if (!key && b.Label.endsWith("PRIVATE KEY") && b.Complete && !b.Encrypted)
                key = PrivateKeyFromDer(b.Der);
            Wipe(b.Der);
        }
    }
    Wipe(bytes);
    return key;
}

QByteArray ToDer(PKCS12 *P12)
{
    unsigned char *out = nullptr;
    const int n = i2d_PKCS12(P12, &out);
    if (n <= 0)
        return QByteArray();
    QByteArray der(reinterpret_cast<const char *>(out), n);
    OPENSSL_free(out);
    return der;
}

// Reads the written file back with the password: it must hold exactly this
// certificate and this private key.
void ReadBack(const QString &File, const TSecret &Password, X509 *Certificate, EVP_PKEY *Key,
              const QString &Target)
{
    const QString failed =
        QStringLiteral("El archivo %1 no pudo leerse luego de exportarlo; no se guardó.")
            .arg(Target);
    QByteArray bytes;
    const QString reason = TryReadLimitedFile(File, 16 * 1024 * 1024, bytes);
    if (!reason.isEmpty())
        throw EToolError(failed, reason);
    TPkcs12Ptr p12 = Pkcs12FromDer(bytes);
    if (!p12)
        throw EToolError(failed, QStringLiteral("El archivo no es un PKCS#12."));
    EVP_PKEY *key = nullptr;
    X509 *certificate = nullptr;
    STACK_OF(X509) *others = nullptr;
    const bool parsed = PKCS12_parse(p12.get(), Password.Data(), &key, &certificate, &others) == 1;
    const QString errors = CryptoErrors();
    TPKeyPtr ownedKey(key);
    TX509Ptr ownedCertificate(certificate);
    sk_X509_pop_free(others, X509_free);
    if (!parsed || !key || !certificate)
        throw EToolError(failed, errors);
    if (EVP_PKEY_eq(key, Key) != 1)
        throw EToolError(failed, QStringLiteral("La clave leída no es la exportada."));
    if (X509_cmp(certificate, Certificate) != 0)
        throw EToolError(failed, QStringLiteral("El certificado leído no es el exportado."));
    ERR_clear_error();
}

} // namespace

QString DefaultPfxFile(const QString &CertificateFile)
{
    const QFileInfo fi(CertificateFile);
    QString base = fi.fileName();
    const QString suffix = fi.suffix().toLower();
    if (suffix == QLatin1String("crt") || suffix == QLatin1String("cer")
        || suffix == QLatin1String("pem") || suffix == QLatin1String("der"))
        base = fi.completeBaseName();
    return fi.absolutePath() + QLatin1Char('/') + base + QStringLiteral(".pfx");
}

TPfxResult WritePfxFile(const TCertificateInfo &Info, const QString &KeyFile,
                     const QString &PfxFile, const QString &Password, const QString &Password2,
                     const QDateTime &Stamp)
{
    CheckPasswords(Password, Password2);
    if (TrimText(PfxFile).isEmpty())
        throw EToolError(QStringLiteral("Debe indicar el archivo .pfx a generar."));
    const QFileInfo target(PfxFile);
    if (!target.absoluteDir().exists())
        throw EToolError(QStringLiteral("No se encontró la carpeta %1").arg(target.absolutePath()));
    if (target.isDir())
        throw EToolError(QStringLiteral("%1 es una carpeta, no un archivo.").arg(QDir::toNativeSeparators(PfxFile)));

    const TKeyCandidate checked = CheckKey(Info, KeyFile);
    switch (checked.State) {
    case TKeyCandidate::Matches: break;
    case TKeyCandidate::Damaged:
        throw EToolError(QStringLiteral("La clave privada %1 está dañada; no se generó el "
                                        "archivo .pfx.")
                             .arg(QDir::toNativeSeparators(KeyFile)),
                         checked.Reason);
    case TKeyCandidate::Encrypted:
        throw EToolError(QStringLiteral("La clave privada %1 está protegida con contraseña; no "
                                        "se generó el archivo .pfx.")
                             .arg(QDir::toNativeSeparators(KeyFile)));
    case TKeyCandidate::Unreadable:
        throw EToolError(QStringLiteral("No se pudo leer la clave privada %1").arg(QDir::toNativeSeparators(KeyFile)),
                         checked.Reason);
    case TKeyCandidate::Differs:
        throw EToolError(QStringLiteral("La clave privada %1 no corresponde al certificado; "
                                        "no se generó el archivo .pfx.")
                             .arg(QDir::toNativeSeparators(KeyFile)));
    }

    const TX509Ptr certificate = LoadCertificate(Info);
    const TPKeyPtr key = LoadKey(KeyFile);
    const QString failure = QStringLiteral("No se pudo generar el archivo %1").arg(QDir::toNativeSeparators(PfxFile));
    if (!certificate || !key)
        throw EToolError(failure, QStringLiteral("El certificado o la clave cambiaron mientras "
                                                 "se los leía."));
    if (X509_check_private_key(certificate.get(), key.get()) != 1)
        throw EToolError(failure, CryptoErrors());

    const TSecret password(Password);
    const QByteArray name = Info.Holder.toUtf8();
    // The MAC is set apart so that its digest is SHA-1 whatever the
    // library's default.
    TPkcs12Ptr p12(PKCS12_create(password.Data(), name.isEmpty() ? nullptr : name.constData(),
                                 key.get(), certificate.get(), nullptr, kPbe, kPbe, kIterations,
                                 -1, 0));
    if (!p12 || PKCS12_set_mac(p12.get(), password.Data(), -1, nullptr, 0, kIterations,
                               EVP_sha1()) != 1)
        throw EToolError(failure, CryptoErrors());
    const QByteArray der = ToDer(p12.get());
    if (der.isEmpty())
        throw EToolError(failure, CryptoErrors());

    TTemporaryFiles temporaries;
    const QString temporary = temporaries.Add(TemporaryName(PfxFile));
    TFileError error;
    if (!WriteNewPrivateFile(temporary, der, error))
        throw EToolError(failure, error.Reason());
    ReadBack(temporary, password, certificate.get(), key.get(), PfxFile);

    TPfxResult result;
    result.File = PfxFile;
    result.KeptFile = KeepExistingFile(PfxFile, Stamp);
    if (!RenameFile(temporary, PfxFile, error))
        throw EToolError(QStringLiteral("No se pudo guardar el archivo %1").arg(QDir::toNativeSeparators(PfxFile)),
                         error.Reason());
    temporaries.Keep(temporary);
    return result;
}
