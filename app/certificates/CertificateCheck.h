#pragma once
// What a file is (certificate, request, private key, PKCS#12, other), what a
// certificate says (holder, CUIT, issuer, validity, fingerprint) and which
// private key belongs to it, all read in-process with libcrypto: no openssl
// program is started. Files are read whole, within kCheckFileLimit.

#include "CertificateErrors.h"
#include "Cuit.h"
#include "WellKnownFolders.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

enum class TFileKind { Certificate, Request, PrivateKey, Pkcs12, Other };

// Who issued a certificate: the tax authority's production authority, its
// testing ("homologación") authority, or anyone else.
enum class TIssuerKind { Production, Testing, Other };

// What the issuer's signature says. Authority: it verifies under one of the
// authority's keys; NotIssuedByAuthority: the issuer is named like the
// authority but the signature verifies under none of its keys;
// UnknownAuthorityKey: named like the authority, with an authority key
// identifier none of the known keys has (a key the authority may have
// started to use); OtherIssuer: anyone else.
enum class TIssuerVerdict { Authority, NotIssuedByAuthority, UnknownAuthorityKey, OtherIssuer };

// Where a certificate stands on a given day.
enum class TValidity { NotYetValid, Valid, ExpiresSoon, Expired };

// A certificate expiring within this many days is warned about.
constexpr int kExpiryWarningDays = 30;

// A distinguished name as openssl prints it: (long name, value) pairs in order.
using TNameEntries = QList<QPair<QString, QString>>;

struct TFileIdentity
{
    TFileKind Kind = TFileKind::Other;
    bool Der = false;        // binary (DER) rather than PEM text
    bool Encrypted = false;  // a private key protected by a pass phrase
    bool Damaged = false;    // PEM or DER that is truncated or damaged (Kind is Other)
};

struct TCertificateInfo
{
    QString File;
    bool Der = false;
    TNameEntries Subject;
    TNameEntries Issuer;
    QString Holder;          // subject commonName
    QString SerialNumber;    // subject serialNumber as written ("CUIT 20123456786")
    QString CUIT;            // its eleven digits; empty when it holds none
    bool CUITValid = false;  // the check digit is right
    TIssuerKind IssuerKind = TIssuerKind::Other;  // Other unless IssuerVerdict is Authority
    TIssuerVerdict IssuerVerdict = TIssuerVerdict::OtherIssuer;
    QString AuthorityKeyFile; // the authority key that verified, when one did
    QDateTime NotBefore;     // UTC
    QDateTime NotAfter;      // UTC
    QString Fingerprint;     // SHA-256, "AB:CD:..."
    QByteArray PublicKey;    // the SubjectPublicKeyInfo, DER
    int CertificateCount = 1; // certificates in the file; the first is the one read
};

// A certificate request (.req).
struct TRequestInfo
{
    TNameEntries Subject;
    QString Holder;          // CN
    QString Organization;    // O
    QString Mail;            // emailAddress
    QString CUIT;            // the digits of serialNumber; empty when it holds none
    QByteArray PublicKey;    // SubjectPublicKeyInfo, DER
    bool SignatureValid = false;
};

// A private key file.
struct TKeyInfo
{
    enum TState { Sound, Damaged, Encrypted, Unreadable };
    TState State = Unreadable;
    QString Reason;          // why it is not sound, in Spanish
    QByteArray PublicKey;    // SubjectPublicKeyInfo, DER, when the public part was read
    int Bits = 0;
};

struct TAuthorityKey;

// How far a private key is checked. Full: libcrypto's key check (for RSA the
// primes are tested too, milliseconds a key). Quick: for RSA, that the
// private numbers agree with each other and with the public ones (n = p·q,
// the exponents, the coefficient), which a byte changed anywhere in them
// breaks, at next to no cost; other keys get the full check.
enum class TKeyCheck { Full, Quick };

// Reads File to say what it is. Throws EUnreadable when the file cannot be
// read (missing, not a regular file, no permission, larger than
// kCheckFileLimit).
TFileIdentity IdentifyFile(const QString &File);

// Reads a certificate (PEM or DER; the first of several) and verifies its
// issuer's signature against the keys of AuthorityKeysFolder(). Throws
// EUnreadable when the file or the keys cannot be read, EToolError when it
// holds no sound certificate.
TCertificateInfo ReadCertificate(const QString &File);
// The same for Bytes, the content of File, judged against Keys (none: no
// certificate is the authority's). Throws EToolError when they hold no sound
// certificate.
TCertificateInfo CertificateFromBytes(const QString &File, const QByteArray &Bytes,
                                      const QList<TAuthorityKey> &Keys);

// Reads a request (PEM or DER). Throws EUnreadable / EToolError.
TRequestInfo ReadRequest(const QString &File);
// The same for Bytes, the content of File. Throws EToolError.
TRequestInfo RequestFromBytes(const QString &File, const QByteArray &Bytes);

// Reads a private key and checks it in full (libcrypto's key check: for RSA,
// the primes, the modulus and the exponents agree). Never throws.
TKeyInfo ReadPrivateKey(const QString &File);
// The same for Bytes, checked to Depth. State Unreadable when they hold no
// private key. Never throws.
TKeyInfo PrivateKeyFromBytes(const QByteArray &Bytes, TKeyCheck Depth = TKeyCheck::Full);

// "key = value" lines, one name entry each.
TNameEntries ParseNameLines(const QString &Text);
QString NameValue(const TNameEntries &Name, const QString &LongName);
// "CN=Computadores, O=AFIP, C=AR": short names, most specific first.
QString DisplayName(const TNameEntries &Name);

TIssuerKind ClassifyIssuer(const TNameEntries &Issuer);

// openssl's "Nov  9 02:55:26 2028 GMT"; invalid when it is not that.
QDateTime ParseOpenSSLDate(const QString &Text);

// Calendar days in the local time zone from Now's date to NotAfter's
// (0 on the last day, negative once that day has passed).
int DaysLeft(const TCertificateInfo &Info, const QDateTime &Now);
TValidity ValidityOf(const TCertificateInfo &Info, const QDateTime &Now);

// A private key looked at for a certificate.
struct TKeyCandidate
{
    // Matches: sound and its public key is the certificate's; Damaged: it
    // fails the key check or its file is damaged; Encrypted: protected by a
    // password, not looked into.
    enum TState { Matches, Differs, Unreadable, Damaged, Encrypted };
    QString File;
    TState State = Unreadable;
    QString Reason;          // why it could not be used, in Spanish
    bool KeptCopy = false;   // a copy kept by a later generation (*.bak)
    bool SamePublicKey = false; // its public key is the certificate's (even if damaged)
};

// True for the name of a kept copy of a key: "Privada_*.key.*.bak".
bool IsKeptKeyCopy(const QString &File);

// The Privada_*.key files of the certificate's folder, then of
// DefaultFolder, then the kept copies (Privada_*.key.*.bak) of both, each
// once, sorted by name within its folder.
QStringList KeyCandidateFiles(const QString &CertificateFile, const QString &DefaultFolder);

// Compares the public key of KeyFile with the certificate's; a key whose
// public key is the certificate's is checked before it is said to match.
TKeyCandidate CheckKey(const TCertificateInfo &Info, const QString &KeyFile);

// CheckKey for every file, in order.
QList<TKeyCandidate> CheckKeys(const TCertificateInfo &Info, const QStringList &KeyFiles);

// The first candidate that matches; empty when none does.
QString MatchingKey(const QList<TKeyCandidate> &Candidates);
