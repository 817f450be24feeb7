#pragma once
// The words of the desktop notification about certificates that expire
// soon or have expired.

#include "DueCertificate.h"

#include <QList>
#include <QString>

struct TDueNotice
{
    QString Summary;   // one short line: how many and what
    QString Body;      // counts, and the nearest one by company and date
};

// The days before expiry from which a certificate is "por vencer".
constexpr int kDueWarningDays = 30;

// The notice for Due (not empty). Plain text: a caller whose notification
// service reads markup escapes it.
TDueNotice DueNoticeFor(const QList<TDueCertificate> &Due);

// How a certificate is named in the notice: its company, else its holder,
// else its CUIT.
QString DueCertificateName(const TDueCertificate &Certificate);
