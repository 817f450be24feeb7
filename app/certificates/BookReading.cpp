#include "BookReading.h"

#include "Cuit.h"
#include "AuthorityKeys.h"
#include "CertificateErrors.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTimeZone>

#include <openssl/bio.h>
#include <openssl/bn.h>
#include <openssl/core_names.h>
#include <openssl/err.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>

#include <memory>

namespace {

template <typename T, void (*Free)(T *)>
struct TFree
{
    void operator()(T *p) const { Free(p); }
};
using TBio = std::unique_ptr<BIO, TFree<BIO, BIO_free_all>>;
using TX509 = std::unique_ptr<X509, TFree<X509, X509_free>>;
using TReq = std::unique_ptr<X509_REQ, TFree<X509_REQ, X509_REQ_free>>;
using TPKey = std::unique_ptr<EVP_PKEY, TFree<EVP_PKEY, EVP_PKEY_free>>;
using TPKeyCtx = std::unique_ptr<EVP_PKEY_CTX, TFree<EVP_PKEY_CTX, EVP_PKEY_CTX_free>>;

TBio MemoryBio(const QByteArray &Bytes)
{
    return TBio(BIO_new_mem_buf(Bytes.constData(), int(Bytes.size())));
}

// A password callback that gives none: an encrypted key is never asked for.
int NoPassword(char *, int, int, void *)
{
    return -1;
}

QString Utf8(const ASN1_STRING *AValue)
{
    unsigned char *out = nullptr;
    const int n = ASN1_STRING_to_UTF8(&out, AValue);
    if (n < 0)
        return QString();
    const QString s = QString::fromUtf8(reinterpret_cast<const char *>(out), n);
    OPENSSL_free(out);
    return s;
}

TNameEntries NameEntries(const X509_NAME *AName)
{
    TNameEntries entries;
    for (int i = 0; AName && i < X509_NAME_entry_count(AName); ++i) {
        const X509_NAME_ENTRY *e = X509_NAME_get_entry(AName, i);
        const int nid = OBJ_obj2nid(X509_NAME_ENTRY_get_object(e));
        QString name;
        if (nid != NID_undef) {
            name = QString::fromLatin1(OBJ_nid2ln(nid));
        } else {
            char buffer[128];
            OBJ_obj2txt(buffer, sizeof buffer, X509_NAME_ENTRY_get_object(e), 1);
            name = QString::fromLatin1(buffer);
        }
        entries.append({name, Utf8(X509_NAME_ENTRY_get_data(e))});
    }
    return entries;
}

QDateTime AsnTime(const ASN1_TIME *ATime)
{
    struct tm t = {};
    if (!ATime || ASN1_TIME_to_tm(ATime, &t) != 1)
        return QDateTime();
    return QDateTime(QDate(t.tm_year + 1900, t.tm_mon + 1, t.tm_mday),
                     QTime(t.tm_hour, t.tm_min, t.tm_sec), QTimeZone::utc());
}

QString Fingerprint(X509 *ACertificate)
{
    unsigned char md[EVP_MAX_MD_SIZE];
    unsigned int n = 0;
    if (X509_digest(ACertificate, EVP_sha256(), md, &n) != 1)
        return QString();
    return QString::fromLatin1(QByteArray(reinterpret_cast<const char *>(md), int(n))
                                   .toHex(':')
                                   .toUpper());
}

bool IsPem(const QByteArray &Bytes, const char *ALabel)
{
    return Bytes.contains(QByteArray("-----BEGIN ") + ALabel + "-----");
}

TX509 ParseCertificate(const QByteArray &Bytes)
{
    if (IsPem(Bytes, "CERTIFICATE") || IsPem(Bytes, "X509 CERTIFICATE")) {
        TBio bio = MemoryBio(Bytes);
        return TX509(PEM_read_bio_X509(bio.get(), nullptr, NoPassword, nullptr));
    }
    const unsigned char *p = reinterpret_cast<const unsigned char *>(Bytes.constData());
    TX509 x(d2i_X509(nullptr, &p, long(Bytes.size())));
    return x;
}

TReq ParseRequest(const QByteArray &Bytes)
{
    if (IsPem(Bytes, "CERTIFICATE REQUEST") || IsPem(Bytes, "NEW CERTIFICATE REQUEST")) {
        TBio bio = MemoryBio(Bytes);
        return TReq(PEM_read_bio_X509_REQ(bio.get(), nullptr, NoPassword, nullptr));
    }
    const unsigned char *p = reinterpret_cast<const unsigned char *>(Bytes.constData());
    return TReq(d2i_X509_REQ(nullptr, &p, long(Bytes.size())));
}

bool LooksLikeKey(const QByteArray &Bytes)
{
    return IsPem(Bytes, "PRIVATE KEY") || IsPem(Bytes, "RSA PRIVATE KEY")
           || IsPem(Bytes, "EC PRIVATE KEY") || IsPem(Bytes, "ENCRYPTED PRIVATE KEY");
}

using TBn = std::unique_ptr<BIGNUM, TFree<BIGNUM, BN_clear_free>>;
using TBnCtx = std::unique_ptr<BN_CTX, TFree<BN_CTX, BN_CTX_free>>;

TBn BnParam(EVP_PKEY *AKey, const char *AName)
{
    BIGNUM *bn = nullptr;
    EVP_PKEY_get_bn_param(AKey, AName, &bn);
    return TBn(bn);
}

// An RSA key is sound when its private numbers agree with each other and
// with the public ones: n = p q, e d = 1 modulo p - 1 and q - 1, the CRT
// exponents are d modulo p - 1 and q - 1, and q qinv = 1 modulo p. A byte
// changed anywhere in them breaks one of these; unlike a primality test they
// cost next to nothing. Other keys get libcrypto's own check.
bool KeySound(EVP_PKEY *AKey)
{
    if (EVP_PKEY_get_base_id(AKey) != EVP_PKEY_RSA) {
        TPKeyCtx ctx(EVP_PKEY_CTX_new(AKey, nullptr));
        return ctx && EVP_PKEY_check(ctx.get()) == 1;
    }
    TBn n = BnParam(AKey, "n"), e = BnParam(AKey, "e"), d = BnParam(AKey, "d"),
        p = BnParam(AKey, "rsa-factor1"), q = BnParam(AKey, "rsa-factor2"),
        dp = BnParam(AKey, "rsa-exponent1"), dq = BnParam(AKey, "rsa-exponent2"),
        qinv = BnParam(AKey, "rsa-coefficient1");
    if (!n || !e || !d || !p || !q || !dp || !dq || !qinv)
        return false;
    TBnCtx ctx(BN_CTX_new());
    TBn t(BN_new()), p1(BN_new()), q1(BN_new()), ed(BN_new());
    if (!ctx || !t || !p1 || !q1 || !ed || BN_is_zero(p.get()) || BN_is_zero(q.get()))
        return false;
    bool ok = BN_mul(t.get(), p.get(), q.get(), ctx.get()) && BN_cmp(t.get(), n.get()) == 0;
    ok = ok && BN_sub(p1.get(), p.get(), BN_value_one()) && BN_sub(q1.get(), q.get(), BN_value_one())
         && !BN_is_zero(p1.get()) && !BN_is_zero(q1.get());
    ok = ok && BN_mul(ed.get(), e.get(), d.get(), ctx.get());
    ok = ok && BN_mod(t.get(), ed.get(), p1.get(), ctx.get()) && BN_is_one(t.get());
    ok = ok && BN_mod(t.get(), ed.get(), q1.get(), ctx.get()) && BN_is_one(t.get());
    ok = ok && BN_mod(t.get(), d.get(), p1.get(), ctx.get()) && BN_cmp(t.get(), dp.get()) == 0;
    ok = ok && BN_mod(t.get(), d.get(), q1.get(), ctx.get()) && BN_cmp(t.get(), dq.get()) == 0;
    ok = ok && BN_mod_mul(t.get(), q.get(), qinv.get(), p.get(), ctx.get()) && BN_is_one(t.get());
    return ok;
}

TKeyInfo KeyInfoOf(const QByteArray &Bytes, bool *AIsKey)
{
    TKeyInfo info;
    const bool pem = LooksLikeKey(Bytes);
    if (pem && (IsPem(Bytes, "ENCRYPTED PRIVATE KEY") || Bytes.contains("Proc-Type: 4,ENCRYPTED"))) {
        *AIsKey = true;
        info.State = TKeyInfo::Encrypted;
        info.Reason = QStringLiteral("la clave está protegida con contraseña");
        return info;
    }
    TPKey key;
    if (pem) {
        TBio bio = MemoryBio(Bytes);
        key.reset(PEM_read_bio_PrivateKey(bio.get(), nullptr, NoPassword, nullptr));
    } else {
        const unsigned char *p = reinterpret_cast<const unsigned char *>(Bytes.constData());
        key.reset(d2i_AutoPrivateKey(nullptr, &p, long(Bytes.size())));
    }
    ERR_clear_error();
    *AIsKey = pem || key;
    if (!key) {
        info.State = TKeyInfo::Damaged;
        info.Reason = QStringLiteral("el archivo está dañado o incompleto");
        return info;
    }
    info.PublicKey = PublicKeyDer(key.get());
    info.Bits = EVP_PKEY_get_bits(key.get());
    const bool sound = KeySound(key.get());
    ERR_clear_error();
    info.State = sound ? TKeyInfo::Sound : TKeyInfo::Damaged;
    if (!sound)
        info.Reason = QStringLiteral("la parte privada de la clave está dañada");
    return info;
}

TRequestInfo RequestInfoOf(X509_REQ *ARequest)
{
    TRequestInfo info;
    info.Subject = NameEntries(X509_REQ_get_subject_name(ARequest));
    info.Holder = NameValue(info.Subject, QStringLiteral("commonName"));
    info.Organization = NameValue(info.Subject, QStringLiteral("organizationName"));
    info.Mail = NameValue(info.Subject, QStringLiteral("emailAddress"));
    info.CUIT = CUITFromSerialNumber(NameValue(info.Subject, QStringLiteral("serialNumber")));
    EVP_PKEY *key = X509_REQ_get0_pubkey(ARequest);
    info.PublicKey = PublicKeyDer(key);
    info.SignatureValid = key && X509_REQ_verify(ARequest, key) == 1;
    ERR_clear_error();
    return info;
}

TCertificateInfo CertificateInfoOf(const QString &File, bool ADer, X509 *ACertificate,
                                   const TAuthorityKeys &Authorities)
{
    TCertificateInfo info;
    info.File = File;
    info.Der = ADer;
    info.Subject = NameEntries(X509_get_subject_name(ACertificate));
    info.Issuer = NameEntries(X509_get_issuer_name(ACertificate));
    info.Holder = NameValue(info.Subject, QStringLiteral("commonName"));
    info.SerialNumber = NameValue(info.Subject, QStringLiteral("serialNumber"));
    info.CUIT = CUITFromSerialNumber(info.SerialNumber);
    info.CUITValid = !info.CUIT.isEmpty() && ValidateCUIT(info.CUIT);
    info.NotBefore = AsnTime(X509_get0_notBefore(ACertificate));
    info.NotAfter = AsnTime(X509_get0_notAfter(ACertificate));
    info.Fingerprint = Fingerprint(ACertificate);
    info.PublicKey = PublicKeyDer(X509_get0_pubkey(ACertificate));
    info.IssuerVerdict = Authorities.Judge(ACertificate, info.Issuer);
    info.IssuerKind = info.IssuerVerdict == TIssuerVerdict::Authority
                          ? ClassifyIssuer(info.Issuer)
                          : TIssuerKind::Other;
    ERR_clear_error();
    return info;
}

QByteArray ReadWhole(const QString &File)
{
    QFile f(File);
    if (!f.open(QIODevice::ReadOnly))
        throw EUnreadable(QStringLiteral("No se pudo leer el archivo %1: %2")
                              .arg(File, f.errorString()),
                          QString());
    return f.readAll();
}

} // namespace

struct TAuthorityKeys::TKey
{
    TPKey Key;
    QByteArray Identifier; // SHA-1 of the public key's bits
};

TAuthorityKeys::TAuthorityKeys(const QString &Folder)
{
    const QDir dir(Folder);
    for (const QString &name : dir.entryList({QStringLiteral("*.pem")}, QDir::Files, QDir::Name)) {
        QFile f(dir.filePath(name));
        if (f.size() > 65536 || !f.open(QIODevice::ReadOnly))
            continue;
        const QByteArray bytes = f.readAll();
        TBio bio = MemoryBio(bytes);
        TPKey key(PEM_read_bio_PUBKEY(bio.get(), nullptr, NoPassword, nullptr));
        ERR_clear_error();
        if (!key)
            continue;
        auto *k = new TKey;
        const QByteArray der = PublicKeyDer(key.get());
        // The key identifier: SHA-1 of the subjectPublicKey bit string.
        const unsigned char *p = reinterpret_cast<const unsigned char *>(der.constData());
        if (X509_PUBKEY *pub = d2i_X509_PUBKEY(nullptr, &p, long(der.size()))) {
            const unsigned char *bits = nullptr;
            int length = 0;
            if (X509_PUBKEY_get0_param(nullptr, &bits, &length, nullptr, pub) == 1) {
                unsigned char md[SHA_DIGEST_LENGTH];
                unsigned int n = 0;
                EVP_Digest(bits, size_t(length), md, &n, EVP_sha1(), nullptr);
                k->Identifier = QByteArray(reinterpret_cast<const char *>(md), int(n));
            }
            X509_PUBKEY_free(pub);
        }
        k->Key = std::move(key);
        FKeys.append(k);
    }
}

TAuthorityKeys::~TAuthorityKeys()
{
    qDeleteAll(FKeys);
}

TIssuerVerdict TAuthorityKeys::Judge(const void *X509Certificate, const TNameEntries &Issuer) const
{
    auto *certificate = static_cast<X509 *>(const_cast<void *>(X509Certificate));
    if (ClassifyIssuer(Issuer) == TIssuerKind::Other)
        return TIssuerVerdict::OtherIssuer;
    for (const TKey *k : FKeys)
        if (X509_verify(certificate, k->Key.get()) == 1) {
            ERR_clear_error();
            return TIssuerVerdict::Authority;
        }
    ERR_clear_error();
    const ASN1_OCTET_STRING *id = X509_get0_authority_key_id(certificate);
    if (!id)
        return TIssuerVerdict::NotIssuedByAuthority;
    const QByteArray identifier(reinterpret_cast<const char *>(ASN1_STRING_get0_data(id)),
                                ASN1_STRING_length(id));
    for (const TKey *k : FKeys)
        if (k->Identifier == identifier)
            return TIssuerVerdict::NotIssuedByAuthority;
    return TIssuerVerdict::UnknownAuthorityKey;
}

TBookFile ReadBookFile(const QString &File, const QByteArray &Bytes,
                       const TAuthorityKeys &Authorities)
{
    TBookFile result;
    const bool pemCertificate = IsPem(Bytes, "CERTIFICATE") && !IsPem(Bytes, "CERTIFICATE REQUEST");
    const bool pemRequest = IsPem(Bytes, "CERTIFICATE REQUEST");
    const bool pem = Bytes.contains("-----BEGIN ");
    if (pemCertificate || !pem) {
        if (TX509 x = ParseCertificate(Bytes)) {
            result.Kind = TFileKind::Certificate;
            result.Certificate = CertificateInfoOf(File, !pem, x.get(), Authorities);
            return result;
        }
        ERR_clear_error();
    }
    if (pemRequest || !pem) {
        if (TReq r = ParseRequest(Bytes)) {
            result.Kind = TFileKind::Request;
            result.Request = RequestInfoOf(r.get());
            return result;
        }
        ERR_clear_error();
    }
    if (LooksLikeKey(Bytes) || !pem) {
        bool isKey = false;
        TKeyInfo key = KeyInfoOf(Bytes, &isKey);
        if (isKey) {
            result.Kind = TFileKind::PrivateKey;
            result.Key = key;
        }
    }
    return result;
}
