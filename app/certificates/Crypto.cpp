#include "Crypto.h"

#include "CertificateErrors.h"
#include "FileWrite.h"

#include <QFile>
#include <QFileInfo>
#include <QPair>

#include <openssl/bn.h>
#include <openssl/core_names.h>
#include <openssl/crypto.h>
#include <openssl/err.h>
#include <openssl/objects.h>
#include <openssl/x509v3.h>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

void InitCrypto()
{
    static const bool done = [] {
        OPENSSL_init_crypto(OPENSSL_INIT_NO_LOAD_CONFIG, nullptr);
        return true;
    }();
    (void)done;
}

QString CryptoErrors()
{
    QStringList lines;
    unsigned long code = 0;
    char text[256];
    while ((code = ERR_get_error()) != 0) {
        ERR_error_string_n(code, text, sizeof text);
        lines << QString::fromLatin1(text);
    }
    return lines.join(QLatin1Char('\n'));
}

namespace {

QString SizeText(qint64 Limit)
{
    return Limit >= 1024 * 1024 ? QStringLiteral("%1 MB").arg(Limit / (1024 * 1024))
                                : QStringLiteral("%1 KB").arg(Limit / 1024);
}

QString TooBig(qint64 Limit)
{
    return QStringLiteral("mide más de %1, mucho más que un certificado, un pedido o una clave; "
                          "no se lo leyó")
        .arg(SizeText(Limit));
}

QString SystemReason(int Errno)
{
    if (Errno == ENOENT)
        return QStringLiteral("no existe");
    return TFileError{Errno}.Reason();
}

} // namespace

QString TryReadLimitedFile(const QString &File, qint64 Limit, QByteArray &Bytes, bool *Missing)
{
    Bytes.clear();
    if (Missing)
        *Missing = false;
    if (File.isEmpty())
        return QStringLiteral("no se indicó el archivo");
    // Opened without waiting (a FIFO would otherwise wait for a writer) and
    // then looked at: only a regular file is read.
#ifdef _WIN32
    const int fd = _wopen(reinterpret_cast<const wchar_t *>(File.utf16()), _O_RDONLY | _O_BINARY);
#else
    const int fd = ::open(QFile::encodeName(File).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
#endif
    if (fd < 0) {
        const int err = errno;
        if (QFileInfo(File).isDir())
            return QStringLiteral("es una carpeta, no un archivo");
        if (Missing)
            *Missing = err == ENOENT;
        return SystemReason(err);
    }
    struct Closer { int Fd; ~Closer() {
#ifdef _WIN32
        _close(Fd);
#else
        ::close(Fd);
#endif
    } } closer{fd};
#ifdef _WIN32
    struct _stat64 st {};
    if (_fstat64(fd, &st) != 0)
        return SystemReason(errno);
    const bool regular = (st.st_mode & _S_IFMT) == _S_IFREG;
    const bool folder = (st.st_mode & _S_IFMT) == _S_IFDIR;
#else
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        return SystemReason(errno);
    const bool regular = S_ISREG(st.st_mode);
    const bool folder = S_ISDIR(st.st_mode);
#endif
    if (folder)
        return QStringLiteral("es una carpeta, no un archivo");
    if (!regular)
        return QStringLiteral("no es un archivo común (es una tubería, un dispositivo o un "
                              "archivo especial); no se lo leyó");
    if (qint64(st.st_size) > Limit)
        return TooBig(Limit);
    QByteArray bytes;
    bytes.resize(qsizetype(st.st_size) + 1);
    qint64 total = 0;
    for (;;) {
#ifdef _WIN32
        const int n = _read(fd, bytes.data() + total, unsigned(bytes.size() - total));
#else
        const ssize_t n = ::read(fd, bytes.data() + total, size_t(bytes.size() - total));
#endif
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return SystemReason(errno);
        }
        if (n == 0)
            break;
        total += n;
        if (total > Limit)
            return TooBig(Limit);
        if (total == bytes.size())
            bytes.resize(qsizetype(std::min<qint64>(Limit + 1, qint64(bytes.size()) * 2 + 4096)));
    }
    bytes.resize(qsizetype(total));
    Bytes = bytes;
    return QString();
}

QByteArray ReadLimitedFile(const QString &File, qint64 Limit)
{
    QByteArray bytes;
    bool missing = false;
    const QString reason = TryReadLimitedFile(File, Limit, bytes, &missing);
    if (missing)
        throw EUnreadable(QStringLiteral("No se encontró el archivo %1").arg(File));
    if (!reason.isEmpty())
        throw EUnreadable(QStringLiteral("No se pudo leer el archivo %1: %2.").arg(File, reason));
    return bytes;
}

bool LooksLikePem(const QByteArray &Bytes)
{
    return Bytes.contains("-----BEGIN ");
}

namespace {

bool IsBase64(char C)
{
    return (C >= 'A' && C <= 'Z') || (C >= 'a' && C <= 'z') || (C >= '0' && C <= '9') || C == '+'
           || C == '/' || C == '=';
}

bool IsBlank(char C)
{
    return C == ' ' || C == '\t' || C == '\r' || C == '\n' || C == '\f' || C == '\v';
}

} // namespace

QList<TPemBlock> PemBlocks(const QByteArray &Text)
{
    static const QByteArray begin("-----BEGIN ");
    static const QByteArray dashes("-----");
    QList<TPemBlock> blocks;
    qsizetype at = 0;
    while ((at = Text.indexOf(begin, at)) >= 0) {
        const qsizetype labelStart = at + begin.size();
        const qsizetype labelEnd = Text.indexOf(dashes, labelStart);
        if (labelEnd < 0)
            break;
        TPemBlock block;
        block.Label = Text.mid(labelStart, labelEnd - labelStart).trimmed();
        const qsizetype bodyStart = labelEnd + dashes.size();
        const QByteArray endLine = "-----END " + block.Label + dashes;
        qsizetype bodyEnd = Text.indexOf(endLine, bodyStart);
        const qsizetype nextBegin = Text.indexOf(begin, bodyStart);
        const bool ended = bodyEnd >= 0 && (nextBegin < 0 || bodyEnd < nextBegin);
        if (!ended)
            bodyEnd = nextBegin >= 0 ? nextBegin : Text.size();
        QByteArray body = Text.mid(bodyStart, bodyEnd - bodyStart);
        // Headers of a traditional encrypted key ("Proc-Type: ...", "DEK-Info: ...").
        if (body.contains("Proc-Type:") && body.contains("ENCRYPTED"))
            block.Encrypted = true;
        QByteArray base64;
        bool sound = true;
        for (const QByteArray &rawLine : body.split('\n')) {
            const QByteArray line = rawLine.trimmed();
            if (line.isEmpty() || line.contains(':'))
                continue; // a header line
            for (char c : line) {
                if (IsBlank(c))
                    continue;
                if (!IsBase64(c))
                    sound = false;
                base64 += c;
            }
        }
        const auto decoded = QByteArray::fromBase64Encoding(
            base64, QByteArray::Base64Encoding | QByteArray::AbortOnBase64DecodingErrors);
        block.Der = decoded.decoded;
        block.Complete = ended && sound && decoded.decodingStatus == QByteArray::Base64DecodingStatus::Ok
                         && base64.size() % 4 == 0 && !block.Der.isEmpty();
        blocks << block;
        at = ended ? bodyEnd + endLine.size() : bodyEnd;
    }
    return blocks;
}

TX509Ptr CertificateFromDer(const QByteArray &Der)
{
    InitCrypto();
    const auto *p = reinterpret_cast<const unsigned char *>(Der.constData());
    const unsigned char *start = p;
    TX509Ptr x(d2i_X509(nullptr, &p, long(Der.size())));
    if (x && p - start != Der.size())
        x.reset();
    ERR_clear_error();
    return x;
}

TX509ReqPtr RequestFromDer(const QByteArray &Der)
{
    InitCrypto();
    const auto *p = reinterpret_cast<const unsigned char *>(Der.constData());
    const unsigned char *start = p;
    TX509ReqPtr r(d2i_X509_REQ(nullptr, &p, long(Der.size())));
    if (r && p - start != Der.size())
        r.reset();
    ERR_clear_error();
    return r;
}

TPKeyPtr PrivateKeyFromDer(const QByteArray &Der)
{
    InitCrypto();
    const auto *p = reinterpret_cast<const unsigned char *>(Der.constData());
    TPKeyPtr k(d2i_AutoPrivateKey(nullptr, &p, long(Der.size())));
    ERR_clear_error();
    return k;
}

TPkcs12Ptr Pkcs12FromDer(const QByteArray &Der)
{
    InitCrypto();
    const auto *p = reinterpret_cast<const unsigned char *>(Der.constData());
    const unsigned char *start = p;
    TPkcs12Ptr k(d2i_PKCS12(nullptr, &p, long(Der.size())));
    if (k && p - start != Der.size())
        k.reset();
    ERR_clear_error();
    return k;
}

bool IsEncryptedPkcs8(const QByteArray &Der)
{
    InitCrypto();
    const auto *p = reinterpret_cast<const unsigned char *>(Der.constData());
    const unsigned char *start = p;
    X509_SIG *sig = d2i_X509_SIG(nullptr, &p, long(Der.size()));
    const bool ok = sig && p - start == Der.size();
    X509_SIG_free(sig);
    ERR_clear_error();
    return ok;
}

namespace {

struct TBnFree { void operator()(BIGNUM *P) const { BN_clear_free(P); } };
struct TBnCtxFree { void operator()(BN_CTX *P) const { BN_CTX_free(P); } };
using TBnPtr = std::unique_ptr<BIGNUM, TBnFree>;

TBnPtr BnParam(EVP_PKEY *Key, const char *Name)
{
    BIGNUM *bn = nullptr;
    EVP_PKEY_get_bn_param(Key, Name, &bn);
    return TBnPtr(bn);
}

} // namespace

bool RsaPartsAgree(EVP_PKEY *Key)
{
    if (EVP_PKEY_get_base_id(Key) != EVP_PKEY_RSA)
        return false;
    const TBnPtr n = BnParam(Key, OSSL_PKEY_PARAM_RSA_N), e = BnParam(Key, OSSL_PKEY_PARAM_RSA_E),
                 d = BnParam(Key, OSSL_PKEY_PARAM_RSA_D),
                 p = BnParam(Key, OSSL_PKEY_PARAM_RSA_FACTOR1),
                 q = BnParam(Key, OSSL_PKEY_PARAM_RSA_FACTOR2),
                 dp = BnParam(Key, OSSL_PKEY_PARAM_RSA_EXPONENT1),
                 dq = BnParam(Key, OSSL_PKEY_PARAM_RSA_EXPONENT2),
                 qinv = BnParam(Key, OSSL_PKEY_PARAM_RSA_COEFFICIENT1);
    ERR_clear_error();
    if (!n || !e || !d || !p || !q || !dp || !dq || !qinv || BN_is_zero(p.get())
        || BN_is_zero(q.get()))
        return false;
    const std::unique_ptr<BN_CTX, TBnCtxFree> ctx(BN_CTX_new());
    const TBnPtr t(BN_new()), p1(BN_new()), q1(BN_new()), ed(BN_new());
    if (!ctx || !t || !p1 || !q1 || !ed)
        return false;
    bool ok = BN_mul(t.get(), p.get(), q.get(), ctx.get()) && BN_cmp(t.get(), n.get()) == 0;
    ok = ok && BN_sub(p1.get(), p.get(), BN_value_one()) && BN_sub(q1.get(), q.get(), BN_value_one())
         && !BN_is_zero(p1.get()) && !BN_is_zero(q1.get());
    ok = ok && BN_mul(ed.get(), e.get(), d.get(), ctx.get());
    ok = ok && BN_mod(t.get(), ed.get(), p1.get(), ctx.get()) && BN_is_one(t.get());
    ok = ok && BN_mod(t.get(), ed.get(), q1.get(), ctx.get()) && BN_is_one(t.get());
    ok = ok && BN_mod(t.get(), d.get(), p1.get(), ctx.get()) && BN_cmp(t.get(), dp.get()) == 0;
    ok = ok && BN_mod(t.get(), d.get(), q1.get(), ctx.get()) && BN_cmp(t.get(), dq.get()) == 0;
    ok = ok && BN_mod_mul(t.get(), q.get(), qinv.get(), p.get(), ctx.get()) && BN_is_one(t.get());
    ERR_clear_error();
    return ok;
}

QByteArray PublicKeyDer(EVP_PKEY *Key)
{
    unsigned char *out = nullptr;
    const int n = i2d_PUBKEY(Key, &out);
    if (n <= 0) {
        ERR_clear_error();
        return QByteArray();
    }
    QByteArray der(reinterpret_cast<const char *>(out), n);
    OPENSSL_free(out);
    return der;
}

QString HexWithColons(const unsigned char *Bytes, int Size)
{
    QStringList parts;
    for (int i = 0; i < Size; ++i)
        parts << QStringLiteral("%1").arg(uint(Bytes[i]), 2, 16, QLatin1Char('0')).toUpper();
    return parts.join(QLatin1Char(':'));
}

QList<QPair<QString, QString>> NameEntriesOf(const X509_NAME *Name)
{
    QList<QPair<QString, QString>> entries;
    if (!Name)
        return entries;
    const int count = X509_NAME_entry_count(Name);
    for (int i = 0; i < count; ++i) {
        const X509_NAME_ENTRY *e = X509_NAME_get_entry(Name, i);
        const ASN1_OBJECT *object = X509_NAME_ENTRY_get_object(e);
        const int nid = OBJ_obj2nid(object);
        QString key;
        if (nid != NID_undef) {
            key = QString::fromLatin1(OBJ_nid2ln(nid));
        } else {
            char oid[128];
            OBJ_obj2txt(oid, sizeof oid, object, 1);
            key = QString::fromLatin1(oid);
        }
        unsigned char *utf8 = nullptr;
        const int n = ASN1_STRING_to_UTF8(&utf8, X509_NAME_ENTRY_get_data(e));
        QString value;
        if (n >= 0) {
            value = QString::fromUtf8(reinterpret_cast<const char *>(utf8), n);
            OPENSSL_free(utf8);
        }
        entries.append({key, value});
    }
    ERR_clear_error();
    return entries;
}
