#pragma once
// The check window's "Renovar" and "Usar este certificado".

#include "CertificateReport.h"

class QWidget;

// True when V is a certificate of a renewal folder that is valid with its
// key there: the one "Usar este certificado" puts in use.
bool OffersSwitch(const TVerification &V);

// Opens the wizard for a renewal of V's certificate; errors in a box.
void RenewFromCheck(QWidget *AParent, const TVerification &V);

// Asks, then puts V's certificate in use. Returns its path now (empty when
// nothing was done); refusals and failures are shown in a box.
QString SwitchFromCheck(QWidget *AParent, const TVerification &V);
