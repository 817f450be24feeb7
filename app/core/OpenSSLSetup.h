#pragma once
// Where OpenSSL is, installing it, and the welcome page's Next check.

#include <QString>

#include <functional>

// The OpenSSL folder: the directory part of the machine environment value
// OPENSSL_CONF (up to and including its last "/"), read afresh on every call;
// empty when the value is missing or holds no folder.
QString GetOpenSSLDir();

// The directory part of an OPENSSL_CONF value, as GetOpenSSLDir takes it.
QString OpenSSLDirOf(const QString &ConfValue);

// True when GetOpenSSLDir is not empty.
bool OpenSSLInstalled();

// True when the machine has an openssl program: one on PATH, where the
// installer looks for it.
bool SystemHasOpenSSL();

// The installer's path: ProgramFolder (the program's own folder when empty),
// with "/" appended if missing, + "install-openssl.sh".
QString InstallerPath(const QString &ProgramFolder = QString());

// Runs the installer next to the program (or in ProgramFolder) and checks
// that it left an OpenSSL folder. Throws Exception with the user's message.
void InstallOpenSSL(const QString &ProgramFolder = QString());

// The confirmation question asked when OpenSSL is missing.
QString InstallQuestionText();

// Asks Message and returns true for Yes (the window shows its confirmation
// box; tests answer directly).
using TInstallQuestion = std::function<bool(const QString &Message)>;

// What the welcome page's Next needs: true when OpenSSL is installed, or
// when the user agrees (Ask returns true) and the installation succeeds.
// The question is true when asked: it is asked only when the machine has no
// openssl program. When it has one but no OpenSSL folder is recorded, the
// installer prepares the folder first, without asking. Installation errors
// (of a prepared folder too) propagate as Exception.
bool PrepareOpenSSL(const TInstallQuestion &Ask, const QString &ProgramFolder = QString());
