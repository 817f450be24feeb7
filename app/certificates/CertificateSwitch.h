#pragma once
// "Usar este certificado": a certificate that arrived in a renewal folder
// takes the place of the one in use. The previous key, request, origin file
// and certificate are moved (never deleted) into "Anteriores/AAAA-MM-DD/"
// beside them, and the new set takes their names, so whatever reads those
// paths gets the new pair. Every move is a rename of one file; when one
// fails, the ones done are undone.

#include "Exception.h"

#include <QDateTime>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

#include <functional>

// The switch was not attempted; Message says why. Nothing was moved.
class ESwitchRefused : public Exception
{
public:
    using Exception::Exception;
};

struct TSwitchPlan
{
    QString NewCertificate;    // absolute, in the renewal folder
    QString RenewalFolder;
    QString CertificateFolder; // the renewal folder's parent
    QString PreviousFolder;    // "Anteriores/AAAA-MM-DD" (not created yet)
    QString OldCertificate;    // the certificate replaced; empty when none is there
    bool OldValid = false;     // it is valid with its key
    // In order: the files in use to PreviousFolder, then the new ones to
    // their places.
    QList<QPair<QString, QString>> Moves;
};

// Looks at the renewal folder and its parent and says what the switch would
// move. Throws ESwitchRefused when the new certificate is not in a renewal
// folder or is not valid with its key there (the pair in use would then be
// the only valid one), EUnreadable when it cannot be read.
TSwitchPlan PlanSwitch(const QString &NewCertificate,
                       const QDateTime &Now = QDateTime::currentDateTimeUtc());

// Moves From to To without replacing anything; false with the reason when
// it cannot.
using TMoveFile = std::function<bool(const QString &From, const QString &To, QString &Reason)>;

// The system's rename of one file, refused when something stands at To.
bool RenameOneFile(const QString &From, const QString &To, QString &Reason);

struct TSwitchResult
{
    QString PreviousFolder;
    QStringList Kept;   // where the previous files are now
    QStringList Placed; // where the new files are now
    QString Certificate; // the new certificate's path now
};

// Does Plan. When a move fails, the moves done are undone in reverse order
// and Exception is thrown with the reason (and, should an undo fail too,
// where each file was left).
TSwitchResult PerformSwitch(const TSwitchPlan &Plan, const TMoveFile &Move = RenameOneFile);

// PlanSwitch, then PerformSwitch.
TSwitchResult SwitchCertificate(const QString &NewCertificate,
                                const QDateTime &Now = QDateTime::currentDateTimeUtc(),
                                const TMoveFile &Move = RenameOneFile);
