#pragma once
// "Renovar" and "Usar este certificado", in the check window and in "Mis
// certificados".

#include "CertificateReport.h"

class QWidget;

// True when V is a certificate of a renewal folder that is valid with its
// key there: the one "Usar este certificado" puts in use.
bool OffersSwitch(const TVerification &V);

// Opens the wizard for a renewal of CertificateFile; errors in a box.
void RenewCertificateFile(QWidget *AParent, const QString &CertificateFile);
void RenewFromCheck(QWidget *AParent, const TVerification &V);

// Asks, then puts CertificateFile (in a renewal folder) in use. Returns its
// path now (empty when nothing was done); refusals and failures are shown in
// a box.
QString SwitchCertificateFile(QWidget *AParent, const QString &CertificateFile);
QString SwitchFromCheck(QWidget *AParent, const TVerification &V);
