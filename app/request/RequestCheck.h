#pragma once
// Reading a generated request back: what "openssl asn1parse" shows of it,
// compared with the data it was made from.

#include "RequestData.h"

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

// The parts of a certificate request that must be exactly as typed.
struct TRequestContents
{
    bool Parsed = false;                     // the dump had a subject
    QList<QPair<QString, QString>> Subject;  // (attribute name, value), in order
    QStringList ChallengePasswords;          // every challengePassword value
    QString Unreadable;                      // an attribute whose string kind is not text
};

// Reads the output of "openssl asn1parse -in <request>". String values are
// taken by their length, byte for byte, and decoded by their kind
// (UTF8String as UTF-8, the ASCII kinds as ASCII, T61String as Latin-1).
TRequestContents ParseRequestDump(const QByteArray &Dump);

// The subject the request must have for Data, in the order OpenSSL writes it.
QList<QPair<QString, QString>> ExpectedSubject(const TRequestData &Data);

// Empty when Contents hold exactly Data's subject and password; otherwise a
// Spanish sentence saying what differs (values shown, the password never).
QString CompareRequest(const TRequestContents &Contents, const TRequestData &Data);

// The key size OpenSSL prints ("Public-Key: (4096 bit)"); 0 when absent.
int PublicKeyBits(const QByteArray &Output);
