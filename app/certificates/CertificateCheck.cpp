#include "CertificateCheck.h"

#include "AuthorityKeys.h"
#include "Crypto.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>

#include <openssl/asn1.h>
#include <openssl/err.h>
#include <openssl/x509v3.h>

#include <ctime>
#include <vector>

namespace {

const QString kDamaged = QStringLiteral("el archivo está dañado o incompleto");

QString ShortName(const QString &LongName)
{
    static const QList<QPair<QString, QString>> names = {
        {QStringLiteral("commonName"), QStringLiteral("CN")},
        {QStringLiteral("organizationName"), QStringLiteral("O")},
        {QStringLiteral("organizationalUnitName"), QStringLiteral("OU")},
        {QStringLiteral("countryName"), QStringLiteral("C")},
        {QStringLiteral("stateOrProvinceName"), QStringLiteral("ST")},
        {QStringLiteral("localityName"), QStringLiteral("L")},
    };
    for (const auto &n : names)
        if (n.first == LongName)
            return n.second;
    return LongName;
}

bool IsCertificateLabel(const QByteArray &L)
{
    return L == "CERTIFICATE" || L == "X509 CERTIFICATE" || L == "TRUSTED CERTIFICATE";
}

bool IsRequestLabel(const QByteArray &L)
{
    return L == "CERTIFICATE REQUEST" || L == "NEW CERTIFICATE REQUEST";
}

bool IsKeyLabel(const QByteArray &L)
{
    return L.endsWith("PRIVATE KEY");
}

// A DER SEQUENCE whose declared length runs past the end: cut short.
bool LooksLikeCutDer(const QByteArray &Bytes)
{
    if (Bytes.size() < 2 || uchar(Bytes.at(0)) != 0x30)
        return false;
    const uchar first = uchar(Bytes.at(1));
    qint64 length = 0;
    int header = 2;
    if (first < 0x80) {
        length = first;
    } else {
        const int n = first & 0x7F;
        if (n == 0 || n > 4 || Bytes.size() < 2 + n)
            return false;
        for (int i = 0; i < n; ++i)
            length = (length << 8) | uchar(Bytes.at(2 + i));
        header += n;
    }
    return header + length > Bytes.size() && length > 64;
}

QDateTime FromAsn1Time(const ASN1_TIME *Time)
{
    struct tm tm {};
    if (!Time || ASN1_TIME_to_tm(Time, &tm) != 1) {
        ERR_clear_error();
        return QDateTime();
    }
    return QDateTime(QDate(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday),
                     QTime(tm.tm_hour, tm.tm_min, tm.tm_sec), Qt::UTC);
}

// The certificates of Bytes (PEM: every sound CERTIFICATE block; DER: one).
// Damaged is set when a certificate block is cut or damaged.
std::vector<TX509Ptr> CertificatesOf(const QByteArray &Bytes, bool &Der, bool &Damaged)
{
    std::vector<TX509Ptr> certificates;
    Damaged = false;
    Der = !LooksLikePem(Bytes);
    if (Der) {
        if (TX509Ptr x = CertificateFromDer(Bytes))
            certificates.push_back(std::move(x));
        else
            Damaged = LooksLikeCutDer(Bytes);
        return certificates;
    }
    for (const TPemBlock &b : PemBlocks(Bytes)) {
        if (!IsCertificateLabel(b.Label))
            continue;
        TX509Ptr x = b.Complete ? CertificateFromDer(b.Der) : nullptr;
        if (x)
            certificates.push_back(std::move(x));
        else
            Damaged = true;
    }
    return certificates;
}

struct TParsedKey
{
    TPKeyPtr Key;
    TKeyInfo::TState State = TKeyInfo::Unreadable;
    QString Reason;
};

QString CouldNotRead(const QString &Reason)
{
    return QStringLiteral("no se pudo leer: %1").arg(Reason);
}

TParsedKey ParseKey(const QByteArray &Bytes)
{
    TParsedKey k;
    if (Bytes.isEmpty()) {
        k.Reason = QStringLiteral("el archivo está vacío");
        return k;
    }
    if (LooksLikePem(Bytes)) {
        const QList<TPemBlock> blocks = PemBlocks(Bytes);
        for (const TPemBlock &b : blocks) {
            if (!IsKeyLabel(b.Label))
                continue;
            if (b.Label == "ENCRYPTED PRIVATE KEY" || b.Encrypted) {
                k.State = TKeyInfo::Encrypted;
                k.Reason = QStringLiteral("la clave está protegida con contraseña");
                return k;
            }
            if (b.Complete)
                k.Key = PrivateKeyFromDer(b.Der);
            if (!k.Key) {
                k.State = TKeyInfo::Damaged;
                k.Reason = kDamaged;
            }
            return k;
        }
        k.Reason = QStringLiteral("el archivo no contiene una clave privada");
        return k;
    }
    k.Key = PrivateKeyFromDer(Bytes);
    if (k.Key)
        return k;
    if (IsEncryptedPkcs8(Bytes)) {
        k.State = TKeyInfo::Encrypted;
        k.Reason = QStringLiteral("la clave está protegida con contraseña");
    } else if (LooksLikeCutDer(Bytes)) {
        k.State = TKeyInfo::Damaged;
        k.Reason = kDamaged;
    } else {
        k.Reason = QStringLiteral("el archivo no contiene una clave privada");
    }
    return k;
}

// The key pair checked to Depth: in full, libcrypto's check of the whole
// pair (for RSA: p and q prime, n = p·q, the exponents agree); quickly, for
// RSA, its numbers agree.
bool KeyPassesCheck(EVP_PKEY *Key, TKeyCheck Depth)
{
    if (Depth == TKeyCheck::Quick && EVP_PKEY_get_base_id(Key) == EVP_PKEY_RSA)
        return RsaPartsAgree(Key);
    EVP_PKEY_CTX *ctx = EVP_PKEY_CTX_new_from_pkey(nullptr, Key, nullptr);
    const bool ok = ctx && EVP_PKEY_check(ctx) == 1;
    EVP_PKEY_CTX_free(ctx);
    ERR_clear_error();
    return ok;
}

const QString kDamagedKey =
    QStringLiteral("la clave está dañada: sus partes privadas no concuerdan entre sí (no supera "
                   "la comprobación de la clave)");

TKeyInfo KeyInfoOf(const TParsedKey &Parsed, TKeyCheck Depth)
{
    TKeyInfo info;
    info.State = Parsed.State;
    info.Reason = Parsed.Reason;
    if (!Parsed.Key)
        return info;
    info.PublicKey = PublicKeyDer(Parsed.Key.get());
    info.Bits = EVP_PKEY_get_bits(Parsed.Key.get());
    if (KeyPassesCheck(Parsed.Key.get(), Depth)) {
        info.State = TKeyInfo::Sound;
        info.Reason.clear();
    } else {
        info.State = TKeyInfo::Damaged;
        info.Reason = kDamagedKey;
    }
    return info;
}

// The authority is named only when the signature verifies under one of its
// keys; a certificate named like it otherwise was not issued by it, unless it
// names a key identifier none of the keys has (one the authority may have
// started to use).
void JudgeIssuer(TCertificateInfo &Info, X509 *Certificate, const QList<TAuthorityKey> &Keys)
{
    for (const TAuthorityKey &k : Keys) {
        if (X509_verify(Certificate, k.Key.get()) == 1) {
            ERR_clear_error();
            Info.IssuerVerdict = TIssuerVerdict::Authority;
            Info.AuthorityKeyFile = k.File;
            switch (k.Role) {
            case TAuthorityRole::Production: Info.IssuerKind = TIssuerKind::Production; break;
            case TAuthorityRole::Testing: Info.IssuerKind = TIssuerKind::Testing; break;
            case TAuthorityRole::Unknown:
                Info.IssuerKind = ClassifyIssuer(Info.Issuer) == TIssuerKind::Testing
                                      ? TIssuerKind::Testing
                                      : TIssuerKind::Production;
                break;
            }
            return;
        }
        ERR_clear_error();
    }
    Info.IssuerKind = TIssuerKind::Other;
    if (ClassifyIssuer(Info.Issuer) == TIssuerKind::Other) {
        Info.IssuerVerdict = TIssuerVerdict::OtherIssuer;
        return;
    }
    const ASN1_OCTET_STRING *id = X509_get0_authority_key_id(Certificate);
    ERR_clear_error();
    bool known = !id;
    if (id) {
        const QByteArray bytes(reinterpret_cast<const char *>(ASN1_STRING_get0_data(id)),
                               ASN1_STRING_length(id));
        for (const TAuthorityKey &k : Keys)
            known = known || k.KeyIdentifier == bytes;
    }
    Info.IssuerVerdict = known ? TIssuerVerdict::NotIssuedByAuthority
                               : TIssuerVerdict::UnknownAuthorityKey;
}

// The INTEGER and other elements of a DER SEQUENCE, read with the plain
// ASN.1 reader (no key decoders: fast enough for thousands of keys).
struct TSequence
{
    STACK_OF(ASN1_TYPE) *Items = nullptr;
    explicit TSequence(const QByteArray &Der)
    {
        const auto *p = reinterpret_cast<const unsigned char *>(Der.constData());
        Items = d2i_ASN1_SEQUENCE_ANY(nullptr, &p, long(Der.size()));
        ERR_clear_error();
    }
    ~TSequence() { sk_ASN1_TYPE_pop_free(Items, ASN1_TYPE_free); }
    int Size() const { return Items ? sk_ASN1_TYPE_num(Items) : 0; }
    const ASN1_TYPE *At(int I) const { return sk_ASN1_TYPE_value(Items, I); }
    QByteArray Bytes(int I, int Type) const
    {
        if (I >= Size() || At(I)->type != Type)
            return QByteArray();
        const ASN1_STRING *v = At(I)->value.asn1_string;
        return QByteArray(reinterpret_cast<const char *>(ASN1_STRING_get0_data(v)),
                          ASN1_STRING_length(v));
    }
};

// Modulus and exponent of an RSA key given as RSAPublicKey or RSAPrivateKey
// (First: where n sits) DER.
bool RsaNumbers(const QByteArray &Der, int First, QByteArray &N, QByteArray &E)
{
    const TSequence seq(Der);
    N = seq.Bytes(First, V_ASN1_INTEGER);
    E = seq.Bytes(First + 1, V_ASN1_INTEGER);
    return !N.isEmpty() && !E.isEmpty();
}

// n and e of a certificate's RSA SubjectPublicKeyInfo.
bool RsaNumbersOfSpki(const QByteArray &Spki, QByteArray &N, QByteArray &E)
{
    const TSequence seq(Spki);
    if (seq.Size() != 2 || seq.At(0)->type != V_ASN1_SEQUENCE)
        return false;
    // The algorithm's OID: rsaEncryption, 1.2.840.113549.1.1.1.
    static const QByteArray rsa = QByteArray::fromHex("06092a864886f70d010101");
    if (!seq.Bytes(0, V_ASN1_SEQUENCE).contains(rsa))
        return false;
    QByteArray bits = seq.Bytes(1, V_ASN1_BIT_STRING);
    return RsaNumbers(bits, 0, N, E);
}

// n and e of an unencrypted RSA private key (PKCS#1 or PKCS#8 DER).
bool RsaNumbersOfKey(const QByteArray &Der, QByteArray &N, QByteArray &E)
{
    const TSequence seq(Der);
    if (seq.Size() >= 9)
        return RsaNumbers(Der, 1, N, E); // PKCS#1: version, n, e, d, p, q, ...
    if (seq.Size() >= 3 && seq.At(1)->type == V_ASN1_SEQUENCE) {
        static const QByteArray rsa = QByteArray::fromHex("06092a864886f70d010101");
        if (!seq.Bytes(1, V_ASN1_SEQUENCE).contains(rsa))
            return false;
        return RsaNumbers(seq.Bytes(2, V_ASN1_OCTET_STRING), 1, N, E);
    }
    return false;
}

// The DER of the first unencrypted, complete private-key block of Bytes
// (or Bytes when they are DER).
QByteArray KeyDerOf(const QByteArray &Bytes)
{
    if (!LooksLikePem(Bytes))
        return Bytes;
    for (const TPemBlock &b : PemBlocks(Bytes))
        if (IsKeyLabel(b.Label))
            return b.Complete && !b.Encrypted && b.Label != "ENCRYPTED PRIVATE KEY" ? b.Der
                                                                                    : QByteArray();
    return QByteArray();
}

} // namespace

TFileIdentity IdentifyFile(const QString &File)
{
    const QByteArray bytes = ReadLimitedFile(File);
    TFileIdentity id;
    if (bytes.isEmpty())
        return id;
    if (LooksLikePem(bytes)) {
        for (const TPemBlock &b : PemBlocks(bytes)) {
            if (IsCertificateLabel(b.Label)) {
                if (b.Complete && CertificateFromDer(b.Der))
                    id.Kind = TFileKind::Certificate;
                else
                    id.Damaged = true;
            } else if (IsRequestLabel(b.Label)) {
                if (b.Complete && RequestFromDer(b.Der))
                    id.Kind = TFileKind::Request;
                else
                    id.Damaged = true;
            } else if (IsKeyLabel(b.Label)) {
                if (b.Label == "ENCRYPTED PRIVATE KEY" || b.Encrypted) {
                    id.Kind = TFileKind::PrivateKey;
                    id.Encrypted = true;
                } else if (b.Complete && PrivateKeyFromDer(b.Der)) {
                    id.Kind = TFileKind::PrivateKey;
                } else {
                    id.Damaged = true;
                }
            } else if (b.Label == "PKCS12" && b.Complete && Pkcs12FromDer(b.Der)) {
                id.Kind = TFileKind::Pkcs12;
            } else {
                continue;
            }
            return id;
        }
        return id;
    }
    id.Der = true;
    if (CertificateFromDer(bytes))
        id.Kind = TFileKind::Certificate;
    else if (RequestFromDer(bytes))
        id.Kind = TFileKind::Request;
    else if (Pkcs12FromDer(bytes))
        id.Kind = TFileKind::Pkcs12;
    else if (PrivateKeyFromDer(bytes))
        id.Kind = TFileKind::PrivateKey;
    else if (IsEncryptedPkcs8(bytes)) {
        id.Kind = TFileKind::PrivateKey;
        id.Encrypted = true;
    } else
        id.Damaged = LooksLikeCutDer(bytes);
    if (id.Kind == TFileKind::Other)
        id.Der = false;
    return id;
}

TNameEntries ParseNameLines(const QString &Text)
{
    TNameEntries entries;
    for (const QString &raw : Text.split(QLatin1Char('\n'))) {
        const QString line = raw.trimmed();
        const int eq = line.indexOf(QStringLiteral(" = "));
        if (eq <= 0)
            continue;
        entries.append({line.left(eq), line.mid(eq + 3)});
    }
    return entries;
}

QString NameValue(const TNameEntries &Name, const QString &LongName)
{
    for (const auto &e : Name)
        if (e.first == LongName)
            return e.second;
    return QString();
}

QString DisplayName(const TNameEntries &Name)
{
    QStringList parts;
    for (auto it = Name.crbegin(); it != Name.crend(); ++it)
        parts << ShortName(it->first) + QLatin1Char('=') + it->second;
    return parts.join(QStringLiteral(", "));
}

TIssuerKind ClassifyIssuer(const TNameEntries &Issuer)
{
    const QString cn = NameValue(Issuer, QStringLiteral("commonName"));
    const QString o = NameValue(Issuer, QStringLiteral("organizationName"));
    const QString c = NameValue(Issuer, QStringLiteral("countryName"));
    const bool authority = o == QLatin1String("AFIP") || o == QLatin1String("ARCA");
    if (cn == QLatin1String("Computadores") && authority && c == QLatin1String("AR"))
        return TIssuerKind::Production;
    if (cn == QLatin1String("Computadores Test") && (o.isEmpty() || authority)
        && (c.isEmpty() || c == QLatin1String("AR")))
        return TIssuerKind::Testing;
    return TIssuerKind::Other;
}

QDateTime ParseOpenSSLDate(const QString &Text)
{
    static const QStringList months = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                       "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const QStringList parts = Text.simplified().split(QLatin1Char(' '));
    if (parts.size() != 5 || parts.at(4) != QLatin1String("GMT"))
        return QDateTime();
    const int month = months.indexOf(parts.at(0)) + 1;
    bool dayOk = false, yearOk = false;
    const int day = parts.at(1).toInt(&dayOk);
    const int year = parts.at(3).toInt(&yearOk);
    const QTime time = QTime::fromString(parts.at(2), QStringLiteral("HH:mm:ss"));
    const QDate date(year, month, day);
    if (month == 0 || !dayOk || !yearOk || !time.isValid() || !date.isValid())
        return QDateTime();
    return QDateTime(date, time, Qt::UTC);
}

namespace {

// The first certificate of Bytes (the content of File), its fields read into
// Info; the issuer is not judged yet. Throws EToolError.
TX509Ptr ParseCertificate(const QString &File, const QByteArray &Bytes, TCertificateInfo &Info)
{
    bool der = false, damaged = false;
    std::vector<TX509Ptr> certificates = CertificatesOf(Bytes, der, damaged);
    if (certificates.empty()) {
        if (damaged)
            throw EToolError(QStringLiteral("No se pudo leer el certificado %1: %2.")
                                 .arg(File, kDamaged));
        throw EToolError(QStringLiteral("El archivo %1 no es un certificado.").arg(File));
    }
    X509 *x = certificates.front().get();
    Info.File = File;
    Info.Der = der;
    Info.CertificateCount = int(certificates.size());
    Info.Subject = NameEntriesOf(X509_get_subject_name(x));
    Info.Issuer = NameEntriesOf(X509_get_issuer_name(x));
    Info.Holder = NameValue(Info.Subject, QStringLiteral("commonName"));
    Info.SerialNumber = NameValue(Info.Subject, QStringLiteral("serialNumber"));
    Info.CUIT = CUITFromSerialNumber(Info.SerialNumber);
    Info.CUITValid = !Info.CUIT.isEmpty() && ValidateCUIT(Info.CUIT);
    Info.NotBefore = FromAsn1Time(X509_get0_notBefore(x));
    Info.NotAfter = FromAsn1Time(X509_get0_notAfter(x));
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int size = 0;
    if (X509_digest(x, EVP_sha256(), digest, &size) == 1)
        Info.Fingerprint = HexWithColons(digest, int(size));
    unsigned char *spki = nullptr;
    const int n = i2d_X509_PUBKEY(X509_get_X509_PUBKEY(x), &spki);
    if (n > 0) {
        Info.PublicKey = QByteArray(reinterpret_cast<const char *>(spki), n);
        OPENSSL_free(spki);
    }
    const QString reason = CryptoErrors();
    if (!Info.NotBefore.isValid() || !Info.NotAfter.isValid() || Info.PublicKey.isEmpty()
        || Info.Fingerprint.isEmpty())
        throw EToolError(QStringLiteral("No se pudo leer el certificado %1").arg(File), reason);
    return std::move(certificates.front());
}

} // namespace

TCertificateInfo CertificateFromBytes(const QString &File, const QByteArray &Bytes,
                                      const QList<TAuthorityKey> &Keys)
{
    TCertificateInfo info;
    const TX509Ptr x = ParseCertificate(File, Bytes, info);
    JudgeIssuer(info, x.get(), Keys);
    return info;
}

TCertificateInfo ReadCertificate(const QString &File)
{
    const QByteArray bytes = ReadLimitedFile(File);
    TCertificateInfo info;
    const TX509Ptr x = ParseCertificate(File, bytes, info);
    // The keys are read once the file is known to hold a certificate.
    JudgeIssuer(info, x.get(), LoadAuthorityKeys());
    return info;
}

TRequestInfo ReadRequest(const QString &File)
{
    return RequestFromBytes(File, ReadLimitedFile(File));
}

TRequestInfo RequestFromBytes(const QString &File, const QByteArray &Bytes)
{
    TX509ReqPtr request;
    bool damaged = false;
    if (LooksLikePem(Bytes)) {
        for (const TPemBlock &b : PemBlocks(Bytes)) {
            if (!IsRequestLabel(b.Label))
                continue;
            if (b.Complete)
                request = RequestFromDer(b.Der);
            damaged = !request;
            break;
        }
    } else {
        request = RequestFromDer(Bytes);
        damaged = !request && LooksLikeCutDer(Bytes);
    }
    if (!request) {
        if (damaged)
            throw EToolError(QStringLiteral("No se pudo leer el pedido %1: %2.").arg(File, kDamaged));
        throw EToolError(QStringLiteral("El archivo %1 no es un pedido de certificado.").arg(File));
    }
    TRequestInfo info;
    info.Subject = NameEntriesOf(X509_REQ_get_subject_name(request.get()));
    info.Holder = NameValue(info.Subject, QStringLiteral("commonName"));
    info.Organization = NameValue(info.Subject, QStringLiteral("organizationName"));
    info.Mail = NameValue(info.Subject, QStringLiteral("emailAddress"));
    info.CUIT = CUITFromSerialNumber(NameValue(info.Subject, QStringLiteral("serialNumber")));
    EVP_PKEY *key = X509_REQ_get0_pubkey(request.get());
    if (key) {
        info.PublicKey = PublicKeyDer(key);
        info.SignatureValid = X509_REQ_verify(request.get(), key) == 1;
    }
    ERR_clear_error();
    return info;
}

TKeyInfo ReadPrivateKey(const QString &File)
{
    QByteArray bytes;
    const QString reason = TryReadLimitedFile(File, kCheckFileLimit, bytes);
    if (!reason.isEmpty()) {
        TKeyInfo info;
        info.Reason = CouldNotRead(reason);
        return info;
    }
    return PrivateKeyFromBytes(bytes, TKeyCheck::Full);
}

TKeyInfo PrivateKeyFromBytes(const QByteArray &Bytes, TKeyCheck Depth)
{
    return KeyInfoOf(ParseKey(Bytes), Depth);
}

int DaysLeft(const TCertificateInfo &Info, const QDateTime &Now)
{
    return int(Now.toLocalTime().date().daysTo(Info.NotAfter.toLocalTime().date()));
}

TValidity ValidityOf(const TCertificateInfo &Info, const QDateTime &Now)
{
    if (Now < Info.NotBefore)
        return TValidity::NotYetValid;
    if (Now > Info.NotAfter)
        return TValidity::Expired;
    if (DaysLeft(Info, Now) <= kExpiryWarningDays)
        return TValidity::ExpiresSoon;
    return TValidity::Valid;
}

bool IsKeptKeyCopy(const QString &File)
{
    static const QRegularExpression kept(QStringLiteral("^Privada_.*\\.key\\..*\\.bak$"));
    return kept.match(QFileInfo(File).fileName()).hasMatch();
}

QStringList KeyCandidateFiles(const QString &CertificateFile, const QString &DefaultFolder)
{
    QStringList files;
    QSet<QString> seen;
    const QStringList folders{QFileInfo(CertificateFile).absolutePath(), DefaultFolder};
    const QStringList patterns[] = {{QStringLiteral("Privada_*.key")},
                                    {QStringLiteral("Privada_*.key.*.bak")}};
    for (const QStringList &pattern : patterns) {
        for (const QString &folder : folders) {
            if (folder.isEmpty())
                continue;
            const QDir dir(folder);
            const QStringList names = dir.entryList(pattern, QDir::Files | QDir::Hidden, QDir::Name);
            for (const QString &name : names) {
                const QString path = dir.absoluteFilePath(name);
                const QString canonical = QFileInfo(path).canonicalFilePath();
                if (seen.contains(canonical))
                    continue;
                seen.insert(canonical);
                files << path;
            }
        }
    }
    return files;
}

TKeyCandidate CheckKey(const TCertificateInfo &Info, const QString &KeyFile)
{
    TKeyCandidate c;
    c.File = KeyFile;
    c.KeptCopy = IsKeptKeyCopy(KeyFile);
    // An RSA key whose modulus or exponent is not the certificate's differs:
    // told from its numbers alone, without decoding the whole key.
    QByteArray bytes;
    const QString reason = TryReadLimitedFile(KeyFile, kCheckFileLimit, bytes);
    if (!reason.isEmpty()) {
        c.State = TKeyCandidate::Unreadable;
        c.Reason = CouldNotRead(reason);
        return c;
    }
    QByteArray certN, certE, keyN, keyE;
    if (RsaNumbersOfSpki(Info.PublicKey, certN, certE)
        && RsaNumbersOfKey(KeyDerOf(bytes), keyN, keyE) && (keyN != certN || keyE != certE)) {
        c.State = TKeyCandidate::Differs;
        return c;
    }
    const TParsedKey parsed = ParseKey(bytes);
    c.Reason = parsed.Reason;
    if (!parsed.Key) {
        switch (parsed.State) {
        case TKeyInfo::Encrypted: c.State = TKeyCandidate::Encrypted; break;
        case TKeyInfo::Damaged: c.State = TKeyCandidate::Damaged; break;
        default: c.State = TKeyCandidate::Unreadable; break;
        }
        return c;
    }
    c.SamePublicKey = PublicKeyDer(parsed.Key.get()) == Info.PublicKey;
    if (!c.SamePublicKey) {
        c.State = TKeyCandidate::Differs;
        return c;
    }
    // Only the key that would be used is checked in full.
    if (KeyPassesCheck(parsed.Key.get(), TKeyCheck::Full)) {
        c.State = TKeyCandidate::Matches;
    } else {
        c.State = TKeyCandidate::Damaged;
        c.Reason = kDamagedKey;
    }
    return c;
}

QList<TKeyCandidate> CheckKeys(const TCertificateInfo &Info, const QStringList &KeyFiles)
{
    QList<TKeyCandidate> result;
    for (const QString &file : KeyFiles)
        result << CheckKey(Info, file);
    return result;
}

QString MatchingKey(const QList<TKeyCandidate> &Candidates)
{
    for (const TKeyCandidate &c : Candidates)
        if (c.State == TKeyCandidate::Matches)
            return c.File;
    return QString();
}
