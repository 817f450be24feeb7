#include "BookReading.h"

#include "CertificateErrors.h"
#include "Crypto.h"

TAuthorityKeys::TAuthorityKeys(const QString &Folder)
{
    try {
        FKeys = LoadAuthorityKeys(Folder);
    } catch (const EUnreadable &) {
        // No keys: every certificate named like the authority is judged
        // not issued by it.
    }
}

TBookFile ReadBookFile(const QString &File, const QByteArray &Bytes,
                       const TAuthorityKeys &Authorities)
{
    TBookFile result;
    // PEM names what it holds on its BEGIN lines; DER is tried as each kind
    // in turn.
    const bool pem = LooksLikePem(Bytes);
    if (!pem || Bytes.contains("CERTIFICATE-----")) {
        try {
            result.Certificate = CertificateFromBytes(File, Bytes, Authorities.Keys());
            result.Kind = TFileKind::Certificate;
            return result;
        } catch (const EToolError &) {
        }
    }
    if (!pem || Bytes.contains("REQUEST-----")) {
        try {
            result.Request = RequestFromBytes(File, Bytes);
            result.Kind = TFileKind::Request;
            return result;
        } catch (const EToolError &) {
        }
    }
    const TKeyInfo key = PrivateKeyFromBytes(Bytes, TKeyCheck::Quick);
    // Unreadable: no private key in the bytes. DER cut short that no reader
    // knew says nothing of what it was.
    const bool cutDer = !pem && key.State == TKeyInfo::Damaged && key.PublicKey.isEmpty();
    if (key.State != TKeyInfo::Unreadable && !cutDer) {
        result.Kind = TFileKind::PrivateKey;
        result.Key = key;
    }
    return result;
}
