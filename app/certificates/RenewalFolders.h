#pragma once
// Where a renewal puts its files and where a switch keeps the files it
// replaces: sub-folders of the certificate's folder, named by the day.

#include <QDate>
#include <QString>

// "Renovación AAAA-MM-DD" for the first one of Day, "Renovación AAAA-MM-DD
// (N)" for the N-th (N >= 2).
QString RenewalFolderName(const QDate &Day, int Number = 1);

// The first renewal folder of Day that does not exist yet in
// CertificateFolder (absolute path, without a trailing "/").
QString NextRenewalFolder(const QString &CertificateFolder, const QDate &Day);

// True when Name (a folder's own name) is a renewal folder's name.
bool IsRenewalFolderName(const QString &Name);

// True when File lies directly in a renewal folder.
bool InRenewalFolder(const QString &File);

// The first "Anteriores/AAAA-MM-DD" (then "AAAA-MM-DD (2)", ...) under
// CertificateFolder that does not exist yet.
QString NextPreviousFolder(const QString &CertificateFolder, const QDate &Day);
