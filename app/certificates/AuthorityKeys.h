#pragma once
// The tax authority's public keys, one PEM file each (SubjectPublicKeyInfo),
// read from a folder so that a new key is picked up by dropping its file
// there.

#include "Crypto.h"

#include <QByteArray>
#include <QList>
#include <QString>

// Production or testing ("homologación"), as the key's file name says
// ("produccion" / "homologacion" or "test"); Unknown when it says neither,
// and then the certificate's issuer name tells.
enum class TAuthorityRole { Production, Testing, Unknown };

struct TAuthorityKey
{
    QString File;
    TAuthorityRole Role = TAuthorityRole::Unknown;
    QByteArray KeyIdentifier;  // SHA-1 of the public key's bits
    std::shared_ptr<EVP_PKEY> Key;
};

// The folder of the keys: ZEDEDE_AUTORIDADES when set; else "autoridades"
// beside the program; else the installed data folder
// (<prefix>/share/zedede/autoridades, found from the program's folder, then
// /usr/share/zedede/autoridades).
QString AuthorityKeysFolder();

// Every *.pem of Folder that holds a public key, sorted by name. Throws
// EUnreadable when the folder holds none.
QList<TAuthorityKey> LoadAuthorityKeys(const QString &Folder = AuthorityKeysFolder());

// SHA-1 of a SubjectPublicKeyInfo's key bits: the key identifier the
// authority's certificates carry.
QByteArray KeyIdentifierOf(EVP_PKEY *Key);
