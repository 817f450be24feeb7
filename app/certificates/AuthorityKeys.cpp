#include "AuthorityKeys.h"

#include "CertificateErrors.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <openssl/err.h>
#include <openssl/sha.h>

namespace {

// A folder of keys holds a handful of small files.
constexpr int kMaxKeyFiles = 64;
constexpr qint64 kMaxKeyFileBytes = 64 * 1024;

TAuthorityRole RoleOf(const QString &FileName)
{
    const QString name = FileName.toLower();
    if (name.contains(QLatin1String("homologacion")) || name.contains(QLatin1String("test")))
        return TAuthorityRole::Testing;
    if (name.contains(QLatin1String("produccion")))
        return TAuthorityRole::Production;
    return TAuthorityRole::Unknown;
}

} // namespace

QString AuthorityKeysFolder()
{
    const QString fromEnvironment = qEnvironmentVariable("ZEDEDE_AUTORIDADES");
    if (!fromEnvironment.isEmpty())
        return QDir::cleanPath(fromEnvironment);
    QStringList candidates;
    if (QCoreApplication::instance()) {
        const QString dir = QCoreApplication::applicationDirPath();
        candidates << dir + QStringLiteral("/autoridades")
                   << QDir::cleanPath(dir + QStringLiteral("/../../share/zedede/autoridades"))
                   << QDir::cleanPath(dir + QStringLiteral("/../share/zedede/autoridades"));
    }
    candidates << QStringLiteral("/usr/share/zedede/autoridades");
    for (const QString &c : candidates)
        if (QFileInfo(c).isDir())
            return c;
    return candidates.constLast();
}

QByteArray KeyIdentifierOf(EVP_PKEY *Key)
{
    X509_PUBKEY *pub = nullptr;
    if (X509_PUBKEY_set(&pub, Key) != 1) {
        ERR_clear_error();
        return QByteArray();
    }
    const unsigned char *bits = nullptr;
    int size = 0;
    QByteArray id;
    if (X509_PUBKEY_get0_param(nullptr, &bits, &size, nullptr, pub) == 1) {
        unsigned char digest[SHA_DIGEST_LENGTH];
        SHA1(bits, size_t(size), digest);
        id = QByteArray(reinterpret_cast<const char *>(digest), SHA_DIGEST_LENGTH);
    }
    X509_PUBKEY_free(pub);
    ERR_clear_error();
    return id;
}

QList<TAuthorityKey> LoadAuthorityKeys(const QString &Folder)
{
    InitCrypto();
    const QDir dir(Folder);
    const QStringList names = dir.entryList({QStringLiteral("*.pem")}, QDir::Files, QDir::Name);
    QList<TAuthorityKey> keys;
    for (const QString &name : names.mid(0, kMaxKeyFiles)) {
        QByteArray bytes;
        try {
            bytes = ReadLimitedFile(dir.filePath(name), kMaxKeyFileBytes);
        } catch (const EUnreadable &) {
            continue;
        }
        for (const TPemBlock &block : PemBlocks(bytes)) {
            if (block.Label != "PUBLIC KEY" || !block.Complete)
                continue;
            const auto *p = reinterpret_cast<const unsigned char *>(block.Der.constData());
            EVP_PKEY *key = d2i_PUBKEY(nullptr, &p, long(block.Der.size()));
            ERR_clear_error();
            if (!key)
                continue;
            TAuthorityKey k;
            k.File = dir.filePath(name);
            k.Role = RoleOf(name);
            k.Key.reset(key, EVP_PKEY_free);
            k.KeyIdentifier = KeyIdentifierOf(key);
            keys << k;
        }
    }
    if (keys.isEmpty())
        throw EUnreadable(
            QStringLiteral("No se encontraron las claves públicas de la A.F.I.P. (archivos .pem) "
                           "en la carpeta %1: sin ellas no se puede comprobar quién emitió el "
                           "certificado.")
                .arg(QDir::toNativeSeparators(Folder)));
    return keys;
}
