#pragma once
// Opening the wizard for a renewal: on its data page, filled with the
// certificate's data (the password left to type), the renewal folder as
// destination, a note on the results page and the guidance once the files
// are written.

#include "Renewal.h"

#include <QDate>
#include <QString>

class QLabel;
class TfrmZeDede;

// The note on the results page, under the folder.
extern const QString kRenewalFolderNote;

// Fills Window's data page from Renewal and arranges the note and the
// guidance. Window must not have shown its data page yet.
void PrepareRenewalWizard(TfrmZeDede *Window, const TRenewal &Renewal);

// A wizard window that deletes itself when closed, prepared for a renewal of
// CertificateFile, shown and moved on to its data page (the welcome page's
// OpenSSL preparation runs as usual). Throws Exception when the certificate
// cannot be read.
TfrmZeDede *OpenRenewalWizard(const QString &CertificateFile,
                              const QDate &Day = QDate::currentDate());
