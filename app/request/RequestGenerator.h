#pragma once
// Turns the data page's texts into the key, the certificate request and the
// origin-identification file, driving the openssl program.

#include "RequestData.h"
#include "RequestFiles.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <bitset>
#include <functional>

using TCharSet = std::bitset<256>;

// "0"-"9", "A"-"Z", "a"-"z" and "_".
TCharSet FileNameChars();

// The bytes of Text that belong to Chars, in order.
QByteArray KeepChars(const QByteArray &Text, const TCharSet &Chars);

// Every name generation derives from the data and the OpenSSL folder.
struct TRequestNames
{
    QString SourceConfig;   // OpenSSL folder + "openssl.cnf"
    QString ConfigCopy;     // OpenSSL folder + "vemra.cnf"
    QString OpenSSLProgram; // OpenSSL folder (with "/") + "openssl"
    QString Suffix;         // company "_" operator, file-name characters only
    QString Prefix;         // destination folder ending with "/"
    QString KeyFile;        // Prefix + "Privada_" + Suffix + ".key"
    QString RequestFile;    // Prefix + "Pedido_" + Suffix + ".req"
    QString SourceFile;     // Prefix + "Source_" + Suffix + ".txt"
};
TRequestNames RequestNames(const TRequestData &Data, const QString &OpenSSLDir);

// KeepChars(ANSI company, FileNameChars) + "_" + KeepChars(ANSI operator, ...).
QString RequestSuffix(const QString &NombreEmpresa, const QString &Operador);

// "C=AR,O=...,serialNumber=CUIT ...,CN=...,emailAddress=..." unescaped.
QString OriginLine(const TRequestData &Data);

// A value as written into the OpenSSL configuration so that OpenSSL reads
// it back exactly: enclosed in double quotes (with "\" and '"' escaped)
// when it holds a character the configuration syntax treats specially or
// begins or ends with a blank; otherwise unchanged.
QString ConfigValue(const QString &Value);

// Copies SourceFile to TargetFile (owner-only) and replaces its sections
// req_distinguished_name and req_attributes with the request's defaults.
// The new entries are UTF-8 (OpenSSL reads them with "-utf8"); the rest of
// the copy is SourceFile byte for byte. TargetFile is replaced whole: a
// symbolic link there is replaced, never followed.
void WriteConfigFile(const QString &SourceFile, const QString &TargetFile,
                     const TRequestData &Data);

// Empties challengePassword_default in the configuration copy ConfigFile,
// keeping the rest of it; when that cannot be done the copy is removed.
// Nothing happens when no regular file is there.
void BlankChallengePassword(const QString &ConfigFile);

// The byte limits declared to OpenSSL for the operator name and the password:
// OpenSSL counts the UTF-8 bytes of a value, so the character limits (64
// and 20, kept by the validation) are declared as their UTF-8 maximum.
constexpr int kCommonNameMaxBytes = 64 * 3;
constexpr int kChallengePasswordMaxBytes = 20 * 3;

// What the result page shows, plus the full paths.
struct TRequestResult
{
    QString FilePrivada;   // file name of the key (laFilePrivada)
    QString FilePedido;    // file name of the request (laFilePedido)
    QString FileSource;    // file name of the origin file (laFileSource)
    QString CarpetaPedido; // folder of the request, ending with "/" (eCarpetaPedido)
    QString KeyFile;
    QString RequestFile;
    QString SourceFile;
    QStringList KeptFiles; // earlier files renamed out of the way
};

// The steps of a generation, as they begin: Waiting (only when another
// generation holds the OpenSSL folder), then Key and Request.
enum class TGenerationStep { Waiting, Key, Request };
using TGenerationProgress = std::function<void(TGenerationStep Step)>;

// Writes vemra.cnf, runs "openssl genrsa" and "openssl req", reads both
// files back with openssl (the request's signature, its public key against
// the key's, its subject and challenge password against Data) and writes the
// origin file. One generation at a time per OpenSSL folder (across
// processes; a second one waits, see TGenerationLock); files a killed
// generation left in the OpenSSL folder or the destination are removed
// first; openssl runs only when UnsafeProgramReason finds nothing; and
// whatever happens, vemra.cnf holds no challenge password afterwards. Throws
// Exception with the user's message on any failure; for a failure of OpenSSL
// its details hold OpenSSL's own reason, and the failure is written to the
// program's log (never the password). EAbort when the waits were cancelled.
TRequestResult GenerateRequestFiles(const TRequestData &Data,
                               const TGenerationProgress &Progress = TGenerationProgress());
