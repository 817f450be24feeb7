#pragma once
// The whole check of one file as the window and the command line present
// it: what the file is, the certificate's data, the matching key, the
// findings in Spanish, one result line and an exit code.

#include "CertificateCheck.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

class QTextStream;

// Exit codes of the check without a window.
enum TVerifyExit { veOk = 0, veProblem = 1, veUnreadable = 2 };

struct TVerification
{
    QString File;
    TFileIdentity Identity;
    TCertificateInfo Certificate;     // when Identity.Kind is Certificate
    QDateTime Now;
    QList<TKeyCandidate> Keys;        // the keys looked at, in order
    QString MatchingKey;              // empty when none matches

    bool IsCertificate() const { return Identity.Kind == TFileKind::Certificate; }
    TValidity Validity() const { return ValidityOf(Certificate, Now); }
    int DaysLeft() const { return ::DaysLeft(Certificate, Now); }
};

// Identifies File and, for a certificate, reads it, verifies its issuer and
// looks for its key among the Privada_*.key files of its folder and of
// DefaultFolder, then among their kept copies; KeyFile, when given, is looked
// at too (AddPickedKey). Throws EUnreadable when the file or the authority's
// keys cannot be read, EToolError when a certificate cannot be read.
TVerification VerifyFile(const QString &File, const QString &DefaultFolder,
                         const QDateTime &Now = QDateTime::currentDateTimeUtc(),
                         const QString &KeyFile = QString());

// Looks at one more key the user picked; it becomes the matching key when it
// matches.
void AddPickedKey(TVerification &Verification, const QString &KeyFile);

// Texts of the findings.
QString FileKindText(const TFileIdentity &Identity);
QString NotACertificateText(TFileKind Kind);
QString IssuerKindText(TIssuerKind Kind);
// The "Autoridad" finding: the kind for the authority's certificates, what
// the signature says for the others.
QString IssuerText(const TCertificateInfo &Info);
QString CUITText(const TCertificateInfo &Info);
QString DateText(const QDateTime &Utc);
QString DaysLeftText(const TVerification &V);
QString KeyText(const TVerification &V);
// The expiry warning; empty when the certificate is neither expired, nor
// expiring within 30 days, nor not yet valid.
QString ExpiryWarning(const TVerification &V);

// The problems found, one sentence each; empty when everything is right.
QStringList Problems(const TVerification &V);
// One line summing up: the problems, or that all is right.
QString ResultLine(const TVerification &V);
TVerifyExit ExitCodeOf(const TVerification &V);

// "Titular: ..." lines, the key lines and "Resultado: ...".
QStringList FindingLines(const TVerification &V);

// The check without a window: prints the findings to Out, or the reason the
// file could not be read to Err, and returns the exit code. Every line is
// written through TerminalSafe. KeyFile: a key the user named (--clave).
// Failures are logged.
int RunVerifyWithoutWindow(const QString &File, QTextStream &Out, QTextStream &Err,
                           const QString &KeyFile = QString(),
                           const QString &DefaultFolder = DefaultCertificatesFolder(),
                           const QDateTime &Now = QDateTime::currentDateTimeUtc());
