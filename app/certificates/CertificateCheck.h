#pragma once
// What a file is (certificate, request, private key, PKCS#12, other), what a
// certificate says (holder, CUIT, issuer, validity, fingerprint) and which
// private key belongs to it, all read by the openssl program.

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

// What the signature says of the issuer: it verifies under one of the
// authority's keys; the issuer is named like the authority but it does not
// verify; named like the authority with a key identifier not known here;
// any other issuer.
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
    TIssuerKind IssuerKind = TIssuerKind::Other;
    TIssuerVerdict IssuerVerdict = TIssuerVerdict::OtherIssuer;
    QDateTime NotBefore;     // UTC
    QDateTime NotAfter;      // UTC
    QString Fingerprint;     // SHA-256, "AB:CD:..."
    QByteArray PublicKey;    // the public key, PEM
};

// Reads enough of File to say what it is. Throws EUnreadable when the file
// cannot be read or openssl is missing.
TFileIdentity IdentifyFile(const QString &File);

// Reads a certificate (PEM or DER). Throws EUnreadable / EToolError.
TCertificateInfo ReadCertificate(const QString &File);

// "key = value" lines of openssl's -nameopt sep_multiline,lname,space_eq.
TNameEntries ParseNameLines(const QString &Text);
QString NameValue(const TNameEntries &Name, const QString &LongName);
// "CN=Computadores, O=AFIP, C=AR": short names, most specific first.
QString DisplayName(const TNameEntries &Name);

TIssuerKind ClassifyIssuer(const TNameEntries &Issuer);

// openssl's "Nov  9 02:55:26 2028 GMT"; invalid when it is not that.
QDateTime ParseOpenSSLDate(const QString &Text);

// Whole days from Now to NotAfter, rounded down (negative once expired).
int DaysLeft(const TCertificateInfo &Info, const QDateTime &Now);
TValidity ValidityOf(const TCertificateInfo &Info, const QDateTime &Now);

// A private key looked at for a certificate.
struct TKeyCandidate
{
    enum TState { Matches, Differs, Unreadable };
    QString File;
    TState State = Unreadable;
    QString Reason;          // why it could not be read (openssl's words)
};

// The Privada_*.key files of the certificate's folder, then of
// DefaultFolder, each once, sorted by name within its folder.
QStringList KeyCandidateFiles(const QString &CertificateFile, const QString &DefaultFolder);

// Compares the public key of KeyFile with the certificate's.
TKeyCandidate CheckKey(const TCertificateInfo &Info, const QString &KeyFile);

// CheckKey for every file, in order.
QList<TKeyCandidate> CheckKeys(const TCertificateInfo &Info, const QStringList &KeyFiles);

// The first candidate that matches; empty when none does.
QString MatchingKey(const QList<TKeyCandidate> &Candidates);
