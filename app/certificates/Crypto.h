#pragma once
// OpenSSL's library, libcrypto, as the certificate check uses it: owned
// objects that free themselves, files read whole within a size limit, and
// PEM text decoded however it is laid out (lines of any length, indented,
// carriage returns).

#include <QByteArray>
#include <QList>
#include <QString>

#include <openssl/evp.h>
#include <openssl/pkcs12.h>
#include <openssl/x509.h>

#include <memory>

struct TX509Free { void operator()(X509 *P) const { X509_free(P); } };
struct TX509ReqFree { void operator()(X509_REQ *P) const { X509_REQ_free(P); } };
struct TPKeyFree { void operator()(EVP_PKEY *P) const { EVP_PKEY_free(P); } };
struct TPkcs12Free { void operator()(PKCS12 *P) const { PKCS12_free(P); } };
using TX509Ptr = std::unique_ptr<X509, TX509Free>;
using TX509ReqPtr = std::unique_ptr<X509_REQ, TX509ReqFree>;
using TPKeyPtr = std::unique_ptr<EVP_PKEY, TPKeyFree>;
using TPkcs12Ptr = std::unique_ptr<PKCS12, TPkcs12Free>;

// Starts the library once, without reading any configuration file (its
// built-in folder means nothing on Windows). Every function here calls it.
void InitCrypto();

// The library's queued errors as text for an error's details (cleared).
QString CryptoErrors();

// The largest certificate, request or key file the check reads.
constexpr qint64 kCheckFileLimit = 1024 * 1024;

// The whole of File, a regular file of at most Limit bytes. Throws
// EUnreadable with a Spanish message naming the reason (missing, a folder,
// not a regular file such as a FIFO, no permission, too big, a read error).
QByteArray ReadLimitedFile(const QString &File, qint64 Limit = kCheckFileLimit);
// The same without throwing: empty when read, else the reason in Spanish
// ("no existe", "permiso denegado", ...); Missing set when there is no file.
QString TryReadLimitedFile(const QString &File, qint64 Limit, QByteArray &Bytes,
                           bool *Missing = nullptr);

// One "-----BEGIN <Label>-----" block of a PEM text.
struct TPemBlock
{
    QByteArray Label;
    QByteArray Der;          // the decoded contents
    bool Complete = false;   // its END line was found and its base64 is sound
    bool Encrypted = false;  // "Proc-Type: 4,ENCRYPTED" header (traditional key)
};

// True when Bytes hold a PEM BEGIN line.
bool LooksLikePem(const QByteArray &Bytes);

// Every block of Text, in order.
QList<TPemBlock> PemBlocks(const QByteArray &Text);

// Objects from DER bytes, null unless they hold exactly one such object.
TX509Ptr CertificateFromDer(const QByteArray &Der);
TX509ReqPtr RequestFromDer(const QByteArray &Der);
TPKeyPtr PrivateKeyFromDer(const QByteArray &Der);
TPkcs12Ptr Pkcs12FromDer(const QByteArray &Der);
bool IsEncryptedPkcs8(const QByteArray &Der);

// True when the private numbers of an RSA key agree with each other and with
// the public ones: n = p·q, e·d = 1 modulo p - 1 and q - 1, the CRT exponents
// are d modulo p - 1 and q - 1, and q·qinv = 1 modulo p. No primality test.
bool RsaPartsAgree(EVP_PKEY *Key);

// The SubjectPublicKeyInfo of Key as DER.
QByteArray PublicKeyDer(EVP_PKEY *Key);
// "AB:CD:..." of Bytes.
QString HexWithColons(const unsigned char *Bytes, int Size);
// A name as (long name, UTF-8 value) pairs, in the certificate's order.
QList<QPair<QString, QString>> NameEntriesOf(const X509_NAME *Name);
