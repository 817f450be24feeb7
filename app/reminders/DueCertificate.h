#pragma once
// One certificate that needs attention: it expires within the warning
// period or has expired already.

#include <QDate>
#include <QString>

struct TDueCertificate
{
    QString Company;    // organization name; may be empty
    QString Cuit;       // as shown, e.g. "30-12345678-9"
    QString Holder;     // the certificate's alias (common name)
    QDate Expiry;       // last day of validity
    int DaysLeft = 0;   // days from today to Expiry; negative once expired
    bool Expired = false;
};
