#pragma once
// Path conventions of the system the program runs on: the path delimiter
// ("/" on Linux, "\" on Windows, where a drive colon also ends a directory
// part), the file names of programs, and the OpenSSL installer that ships in
// the program's folder.

#include <QChar>
#include <QString>

QChar PathDelimiter();

// Everything up to and including the last path delimiter (on Windows also a
// drive colon); empty when there is none.
QString DirectoryPart(const QString &Path);

// Path with a delimiter appended unless it already ends with one.
QString IncludeTrailingDelimiter(const QString &Path);

// True when Path names a folder or file without depending on the current
// directory ("/..." on Linux; "C:\..." or "\\server\..." on Windows).
bool IsAbsolutePath(const QString &Path);

// A path as the system writes it (Qt gives "/" on every system).
QString NativePath(const QString &Path);

// The file name of a program: "openssl" on Linux, "openssl.exe" on Windows.
QString ProgramFileName(const QString &BaseName);

// The OpenSSL installer that ships beside the program.
QString OpenSSLInstallerFileName();

// Replaces with "-" each character that may not appear in a folder name of a
// path: * ? " < > | and, on Linux, "\". On Windows "/" is a delimiter too
// and becomes "\"; the drive colon survives.
QString CleanPathCharacters(const QString &Path);

// True when Path names an existing folder.
bool FolderExists(const QString &Path);

// The full path of the running program's own file; empty when unknown.
QString OwnProgramFile();
