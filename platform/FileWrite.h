#pragma once
// Writing whole files, with the system's reason for a failure in Spanish.

#include <QByteArray>
#include <QString>

// A failed operation: the system's error code and its reason text.
struct TFileError
{
    int Code = 0;
    QString Reason() const;
};

// Creates FileName (or empties an existing one) and writes Bytes. With
// OwnerOnly the file is readable by its owner only (Linux: mode 0600).
bool WriteWholeFile(const QString &FileName, const QByteArray &Bytes, bool OwnerOnly,
                    TFileError &Error);

// Creates FileName, which must not exist yet (a link there is not
// followed), holding Bytes; a partly written file is removed.
bool CreateNewFile(const QString &FileName, const QByteArray &Bytes, bool OwnerOnly,
                   TFileError &Error);

// The reason text of a refused access.
QString AccessDeniedReason();

// Appends Bytes to the existing file FileName, which no one else may hold
// open meanwhile; a busy file is a failure.
bool AppendToExistingFile(const QString &FileName, const QByteArray &Bytes, TFileError &Error);

// Copies Source over Target (Windows: CopyFileW). With OwnerOnly the copy
// is readable by its owner only.
bool CopyWholeFile(const QString &Source, const QString &Target, bool OwnerOnly, TFileError &Error);

// Makes an existing regular file readable by its owner only (Linux: mode
// 0600, a link is left alone; on Windows the folder's permissions apply).
void RestrictToOwner(const QString &FileName);

// Renames From to To; fails when To exists (Linux: callers make sure it
// does not, since rename(2) would replace it).
bool RenameFile(const QString &From, const QString &To, TFileError &Error);

// Moves From to To in one step, replacing whatever is at To (a link there is
// replaced, not followed).
bool MoveOver(const QString &From, const QString &To, TFileError &Error);
