#pragma once
// The certificate and its private key as one PKCS#12 file (.pfx), protected
// by a password, written in-process with libcrypto and read back before it
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
// checks that KeyFile is sound and belongs to the certificate, writes the
// .pfx (3DES and SHA-1, which every Windows and .NET version imports)
// owner-only beside PfxFile, reads it back with the password, keeps an
// existing PfxFile as a .bak and puts the new one in its place. Throws
// EToolError with the user's message and the library's reason. The password
// is never written anywhere; its copies are wiped.
TPfxResult WritePfxFile(const TCertificateInfo &Info, const QString &KeyFile,
                     const QString &PfxFile, const QString &Password, const QString &Password2,
                     const QDateTime &Stamp = QDateTime::currentDateTime());
