#pragma once
// The certificate and its private key as one PKCS#12 file (.pfx), protected
// by a password, written by the openssl program and read back before it
// takes its place.

#include "CertificateCheck.h"

#include <QDateTime>
#include <QString>

// The .pfx offered for a certificate: its folder and name, ending ".pfx".
QString DefaultPfxFile(const QString &CertificateFile);

struct TPfxResult
{
    QString File;      // the .pfx written
    QString KeptFile;  // an earlier file of that name, renamed; empty if none
};

// Checks the password (typed twice, as the wizard's password: EDataError),
// checks that KeyFile belongs to the certificate, writes the .pfx owner-only
// beside PfxFile, reads it back with the password, keeps an existing PfxFile
// as a .bak and puts the new one in its place. Throws EToolError with the
// user's message and openssl's reason. The password reaches openssl through
// an owner-only temporary file (never its command line), removed when done.
TPfxResult WritePfxFile(const TCertificateInfo &Info, const QString &KeyFile,
                     const QString &PfxFile, const QString &Password, const QString &Password2,
                     const QDateTime &Stamp = QDateTime::currentDateTime());
