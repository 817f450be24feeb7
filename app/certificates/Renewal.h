#pragma once
// What a renewal of a certificate starts from: the data of its request
// (CUIT and holder from the certificate, company and e-mail from its
// request or origin file) and the folder the new key, request and origin
// file go to. The key and certificate in use are only read.

#include "CertificateCheck.h"

#include <QDate>
#include <QString>

struct TRenewal
{
    QString Certificate;       // absolute path of the certificate renewed
    QString CertificateFolder; // its folder
    QString Folder;            // the renewal folder (not created yet)
    QString CUIT;              // masked, "20-12345678-6"; empty when it holds no valid one
    QString Holder;            // its commonName (the operator / alias)
    QString Company;           // from its request or origin file; empty when neither is found
    QString Mail;              // likewise
    QString DataFile;          // the request or origin file they came from; empty when none
    QString KeyInUse;          // the key of its folder that matches it; empty when none
    TIssuerKind Environment = TIssuerKind::Other;
};

// Reads CertificateFile and looks in its folder for its key, request and
// origin file. Throws EUnreadable / EToolError when the certificate cannot
// be read.
TRenewal PrepareRenewal(const QString &CertificateFile, const QDate &Day = QDate::currentDate());

// "Privada_<suffix>.key" -> "<suffix>"; empty for any other name.
QString KeySuffix(const QString &KeyFile);
