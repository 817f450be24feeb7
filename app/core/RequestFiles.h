#pragma once
// Files of a generation: written new and owner-only, never through a
// symbolic link, and put under their names only when complete (an earlier
// file of the same name kept aside, everything undone on failure).

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

#include <functional>

// True when something (a symbolic link included) stands at Path.
bool PathExists(const QString &Path);

// A fresh name beside Path for a file written before it takes Path's place:
// Path + "." + this process's id + "-" + 8 random hex digits + ".tmp".
QString TemporaryName(const QString &Path);

// Removes from Folder the files TemporaryName made for one of the names
// Owned accepts, that a process which no longer runs left behind (after a
// crash or a kill). Files of a process still running, links and anything
// else are left alone. Returns the names removed.
QStringList RemoveLeftoverTemporaryFiles(const QString &Folder,
                                         const std::function<bool(const QString &Name)> &Owned);

struct TFileError;

// Creates Path, which must not exist yet (a symbolic link there is not
// followed), owner-only, holding Bytes. False on failure, with the system's
// reason in Error; a partly written file is removed.
bool WriteNewPrivateFile(const QString &Path, const QByteArray &Bytes, TFileError &Error);
bool WriteNewPrivateFile(const QString &Path, const QByteArray &Bytes);

// Makes an existing regular file owner-only; a symbolic link is left alone.
void MakePrivate(const QString &Path);

// Files removed when the work that made them does not get to keep them,
// also when the program is ended by a signal meanwhile.
class TTemporaryFiles
{
public:
    TTemporaryFiles() = default;
    TTemporaryFiles(const TTemporaryFiles &) = delete;
    TTemporaryFiles &operator=(const TTemporaryFiles &) = delete;
    ~TTemporaryFiles();
    // Path, now to be removed at the end.
    QString Add(const QString &Path);
    // Path stays.
    void Keep(const QString &Path);

private:
    QStringList FFiles;
    QList<int> FTickets; // parallel to FFiles
};

// Writes Bytes to FileName: appended under an exclusive lock when Append is
// set and the file exists, otherwise as the whole content of a new file.
// Throws Exception ("Cannot create file ..." / "Cannot open file ...").
void SaveBytesToFile(const QString &FileName, const QByteArray &Bytes, bool Append);

// Renames an existing FileName to FileName + "." + stamp + ".bak" (with a
// counter when that name is taken) and makes it owner-only. Returns the new
// name, or empty when there was no such file. Throws Exception when it
// cannot be renamed.
QString KeepExistingFile(const QString &FileName, const QDateTime &Stamp);

// Moves each new file (first) to its name (second), keeping an earlier file
// of that name aside with KeepExistingFile. When a move fails, everything
// done is undone (the earlier files are back under their names) and
// Exception is thrown. Returns the names the earlier files were kept under.
QStringList PlaceNewFiles(const QList<QPair<QString, QString>> &NewToFinal);
