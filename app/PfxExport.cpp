#include "PfxExport.h"

#include "DataValidation.h"
#include "OpenSSLRun.h"
#include "RequestGenerator.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Fills a buffer that held secret bytes with zeros before it is freed.
void Wipe(QByteArray &Bytes)
{
    if (!Bytes.isEmpty())
        std::memset(Bytes.data(), 0, size_t(Bytes.size()));
    Bytes.clear();
}

// A secret given to openssl on its standard input, wiped when done.
class TSecretLine
{
public:
    explicit TSecretLine(const QString &Text) : FBytes(Text.toUtf8() + '\n') {}
    ~TSecretLine() { Wipe(FBytes); }
    const QByteArray &Bytes() const { return FBytes; }

private:
    QByteArray FBytes;
};

// An owner-only file beside Target that openssl writes into; removed unless
// it has been put in Target's place.
class TTemporaryPfx
{
public:
    explicit TTemporaryPfx(const QString &Target)
    {
        const QFileInfo fi(Target);
        QByteArray pattern = QFile::encodeName(fi.absolutePath() + QStringLiteral("/.")
                                               + fi.fileName() + QStringLiteral(".XXXXXX"));
        const int fd = ::mkstemp(pattern.data());
        if (fd < 0)
            throw EToolError(QStringLiteral("No se pudo crear el archivo %1").arg(Target),
                             QString::fromLocal8Bit(std::strerror(errno)));
        ::fchmod(fd, 0600);
        ::close(fd);
        FPath = QFile::decodeName(pattern);
    }
    ~TTemporaryPfx()
    {
        if (!FPath.isEmpty())
            QFile::remove(FPath);
    }
    const QString &Path() const { return FPath; }
    void Release() { FPath.clear(); }

private:
    QString FPath;
};

QByteArray PemBlock(const QByteArray &Text, const char *Label)
{
    const QByteArray begin = QByteArray("-----BEGIN ") + Label + "-----";
    const QByteArray end = QByteArray("-----END ") + Label + "-----";
    const int b = Text.indexOf(begin);
    const int e = b < 0 ? -1 : Text.indexOf(end, b);
    if (e < 0)
        return QByteArray();
    return Text.mid(b, e + end.size() - b) + '\n';
}

QByteArray Normalised(QByteArray Text)
{
    Text.replace("\r", "");
    return Text.trimmed();
}

// Reads the written file back with the password: it must hold this
// certificate and a private key whose public key is the certificate's.
void ReadBack(const TCertificateInfo &Info, const QString &File, const QString &Password,
              const QString &Target)
{
    const QString failed =
        QStringLiteral("El archivo %1 no pudo leerse luego de exportarlo; no se guardó.")
            .arg(Target);
    const TSecretLine secret(Password);
    TToolRun run = RunOpenSSL({QStringLiteral("pkcs12"), QStringLiteral("-in"), File,
                               QStringLiteral("-passin"), QStringLiteral("stdin"),
                               QStringLiteral("-nodes")},
                              secret.Bytes());
    QByteArray contents = run.Output;
    Wipe(run.Output);
    QByteArray key = PemBlock(contents, "PRIVATE KEY");
    const QByteArray certificate = PemBlock(contents, "CERTIFICATE");
    Wipe(contents);
    if (!run.Succeeded() || key.isEmpty() || certificate.isEmpty()) {
        Wipe(key);
        throw EToolError(failed, run.Reason());
    }

    TToolRun pub = RunOpenSSL({QStringLiteral("pkey"), QStringLiteral("-pubout")}, key);
    Wipe(key);
    const TToolRun fp = RunOpenSSL({QStringLiteral("x509"), QStringLiteral("-noout"),
                                    QStringLiteral("-fingerprint"), QStringLiteral("-sha256")},
                                   certificate);
    if (!pub.Succeeded())
        throw EToolError(failed, pub.Reason());
    if (!fp.Succeeded())
        throw EToolError(failed, fp.Reason());
    const QString fingerprint = QString::fromLatin1(fp.Output).section(QLatin1Char('='), 1).trimmed();
    if (fingerprint != Info.Fingerprint)
        throw EToolError(failed, QStringLiteral("El certificado leído no es el exportado."));
    if (Normalised(PemBlock(pub.Output, "PUBLIC KEY")) != Normalised(Info.PublicKey))
        throw EToolError(failed,
                         QStringLiteral("La clave leída no corresponde al certificado."));
}

} // namespace

QString DefaultPfxFile(const QString &CertificateFile)
{
    const QFileInfo fi(CertificateFile);
    QString base = fi.fileName();
    const QString suffix = fi.suffix().toLower();
    if (suffix == QLatin1String("crt") || suffix == QLatin1String("cer")
        || suffix == QLatin1String("pem") || suffix == QLatin1String("der"))
        base = fi.completeBaseName();
    return fi.absolutePath() + QLatin1Char('/') + base + QStringLiteral(".pfx");
}

TPfxResult ExportPfx(const TCertificateInfo &Info, const QString &KeyFile,
                     const QString &PfxFile, const QString &Password, const QString &Password2,
                     const QDateTime &Stamp)
{
    CheckPasswords(Password, Password2);
    if (TrimText(PfxFile).isEmpty())
        throw EToolError(QStringLiteral("Debe indicar el archivo .pfx a generar."));
    const QFileInfo target(PfxFile);
    if (!target.absoluteDir().exists())
        throw EToolError(QStringLiteral("No se encontró la carpeta %1").arg(target.absolutePath()));
    if (target.isDir())
        throw EToolError(QStringLiteral("%1 es una carpeta, no un archivo.").arg(PfxFile));

    const TKeyCandidate key = CheckKey(Info, KeyFile);
    if (key.State == TKeyCandidate::Unreadable)
        throw EToolError(QStringLiteral("No se pudo leer la clave privada %1").arg(KeyFile),
                         key.Reason);
    if (key.State != TKeyCandidate::Matches)
        throw EToolError(QStringLiteral("La clave privada %1 no corresponde al certificado; "
                                        "no se generó el archivo .pfx.")
                             .arg(KeyFile));

    TTemporaryPfx temporary(PfxFile);
    QStringList args{QStringLiteral("pkcs12"), QStringLiteral("-export"),
                     QStringLiteral("-in"), Info.File,
                     QStringLiteral("-inkey"), KeyFile,
                     QStringLiteral("-out"), temporary.Path(),
                     QStringLiteral("-passout"), QStringLiteral("stdin"),
                     // Algorithms every Windows and .NET version imports.
                     QStringLiteral("-keypbe"), QStringLiteral("PBE-SHA1-3DES"),
                     QStringLiteral("-certpbe"), QStringLiteral("PBE-SHA1-3DES"),
                     QStringLiteral("-macalg"), QStringLiteral("sha1")};
    if (!Info.Holder.isEmpty())
        args << QStringLiteral("-name") << Info.Holder;
    {
        const TSecretLine secret(Password);
        const TToolRun run = RunOpenSSL(args, secret.Bytes());
        if (!run.Succeeded() || QFileInfo(temporary.Path()).size() == 0)
            throw EToolError(QStringLiteral("No se pudo generar el archivo %1").arg(PfxFile),
                             run.Reason());
    }
    ::chmod(QFile::encodeName(temporary.Path()).constData(), 0600);
    ReadBack(Info, temporary.Path(), Password, PfxFile);

    TPfxResult result;
    result.File = PfxFile;
    result.KeptFile = KeepExistingFile(PfxFile, Stamp);
    if (::rename(QFile::encodeName(temporary.Path()).constData(),
                 QFile::encodeName(PfxFile).constData())
        != 0)
        throw EToolError(QStringLiteral("No se pudo guardar el archivo %1").arg(PfxFile),
                         QString::fromLocal8Bit(std::strerror(errno)));
    temporary.Release();
    return result;
}
