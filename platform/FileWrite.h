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
// OwnerOnly the file is readable by its owner only (Linux: mode 0600;
// Windows: an access list of the current user and the system alone, given
// to a new file that then takes the place of an existing one).
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
// 0600; Windows: the owner-only access list); a link is left alone.
void RestrictToOwner(const QString &FileName);

// Creates the folder Path (its missing parents as usual) for its owner only
// (Linux: mode 0700; Windows: the owner-only access list, passed down to
// what is created inside). An existing folder is made owner-only; a link
// there is a failure.
bool CreateOwnerOnlyFolder(const QString &Path, TFileError &Error);

// Renames From to To; fails when To exists (Linux: callers make sure it
// does not, since rename(2) would replace it).
bool RenameFile(const QString &From, const QString &To, TFileError &Error);

// Moves From to To in one step, replacing whatever is at To (a link there is
// replaced, not followed).
bool MoveOver(const QString &From, const QString &To, TFileError &Error);

// A file of a folder the user may not create files in but whose file he may
// change (Windows: vemra.cnf, made by the OpenSSL installer with modify
// rights for Users on that file alone, in a folder only administrators can
// change). SharedFileWorkName gives where its new content is prepared: beside
// it on Linux, in the user's own temporary folder on Windows. PutSharedFile
// then gives Target that content: Linux moves Work over it in one step (a
// link there is replaced, not followed); Windows writes Work's bytes into
// the existing Target, keeping its access list (and moves Work there when
// Target does not exist), then removes Work.
QString SharedFileWorkName(const QString &Target);
bool PutSharedFile(const QString &Work, const QString &Target, TFileError &Error);

// Prepares Path for a program that will write it (OpenSSL's key and
// request). Windows: creates it empty with the owner-only access list, which
// the file keeps when the program writes into it (a file the program created
// would take its folder's list). Linux: nothing (OpenSSL writes its keys
// owner-only itself; the files are made owner-only when they are placed).
bool PrepareOutputFile(const QString &Path, TFileError &Error);
