#pragma once
// A file of a folder read for the certificate book with the check's own
// readers, from bytes already read: the authority's keys loaded once for the
// whole book, private keys given the quick check (the book lists; the check
// of one certificate and the export check a key in full).

#include "AuthorityKeys.h"
#include "CertificateCheck.h"

#include <QByteArray>
#include <QList>
#include <QString>

// The authority's public keys of a folder, loaded once; none when the folder
// holds none (then no certificate is the authority's).
class TAuthorityKeys
{
public:
    explicit TAuthorityKeys(const QString &Folder = AuthorityKeysFolder());
    const QList<TAuthorityKey> &Keys() const { return FKeys; }
    int Count() const { return int(FKeys.size()); }

private:
    QList<TAuthorityKey> FKeys;
};

// What one file of a folder holds, read from its bytes.
struct TBookFile
{
    TFileKind Kind = TFileKind::Other;
    TCertificateInfo Certificate; // Kind Certificate (PublicKey as DER)
    TRequestInfo Request;         // Kind Request
    TKeyInfo Key;                 // Kind PrivateKey
};

// Reads Bytes (the content of File) as a certificate, a request or a private
// key, PEM or DER. Other for anything else.
TBookFile ReadBookFile(const QString &File, const QByteArray &Bytes,
                       const TAuthorityKeys &Authorities);
