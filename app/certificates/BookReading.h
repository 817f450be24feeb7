#pragma once
// Certificates, requests and private keys read in the program's own process
// with libcrypto: each file read once, no program started, so that a folder
// of hundreds of companies is read at once. The authority is named only when
// a certificate's signature verifies under one of its public keys.

#include "AuthorityKeys.h"
#include "CertificateCheck.h"

#include <QByteArray>
#include <QList>
#include <QString>

// The authority's public keys of a folder, loaded once.
class TAuthorityKeys
{
public:
    explicit TAuthorityKeys(const QString &Folder = AuthorityKeysFolder());
    ~TAuthorityKeys();
    TAuthorityKeys(const TAuthorityKeys &) = delete;
    TAuthorityKeys &operator=(const TAuthorityKeys &) = delete;

    // The verdict on the issuer of a certificate (DER bytes of the whole
    // certificate are not needed: the parsed one is passed in as void* so
    // that no libcrypto header leaks into this one).
    TIssuerVerdict Judge(const void *X509Certificate, const TNameEntries &Issuer) const;
    int Count() const { return int(FKeys.size()); }

private:
    struct TKey;
    QList<TKey *> FKeys;
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

