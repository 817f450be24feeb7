#include "PfxExport.h"

#include "TextRules.h"
#include "FileWrite.h"
#include "OpenSSLRun.h"
#include "Pem.h"
#include "RequestFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <cstring>

namespace {

// Fills a buffer that held secret bytes with zeros before it is freed.
void Wipe(QByteArray &Bytes)
{
    if (!Bytes.isEmpty())
        std::memset(Bytes.data(), 0, size_t(Bytes.size()));
    Bytes.clear();
}

// A new file made from Pattern (its "XXXXXX" replaced), created exclusively
// and owner-only (QTemporaryFile's own mode on Unix; on Windows the folder's
// permissions apply, and %TEMP% lies in the user's own profile). Its path,
// kept after the object goes; Bytes written into it.
QString CreatePrivateFile(const QString &Pattern, const QByteArray &Bytes, const QString &Failure)
{
    QTemporaryFile file(Pattern);
    file.setAutoRemove(false);
    if (!file.open())
        throw EToolError(Failure, file.errorString());
    const QString path = file.fileName();
    const bool written = file.write(Bytes) == Bytes.size() && file.flush();
    const QString reason = file.errorString();
    file.close();
    if (!written) {
        QFile::remove(path);
        throw EToolError(Failure, reason);
    }
    return path;
}

// The password in an owner-only temporary file for openssl's "file:"
// source (never on its command line); overwritten and removed when done.
class TPasswordFile
{
public:
    explicit TPasswordFile(const QString &Password)
    {
        QByteArray bytes = Password.toUtf8();
        FSize = bytes.size();
        try {
            FPath = CreatePrivateFile(QDir::tempPath() + QStringLiteral("/zedede-XXXXXX"), bytes,
                                      QStringLiteral("No se pudo preparar la contraseña para OpenSSL."));
        } catch (...) {
            Wipe(bytes);
            throw;
        }
        Wipe(bytes);
    }
    ~TPasswordFile() { Remove(); }
    // The argument of -passin / -passout.
    QString Source() const { return QStringLiteral("file:") + QDir::toNativeSeparators(FPath); }

private:
    void Remove()
    {
        if (FPath.isEmpty())
            return;
        QFile file(FPath);
        if (file.open(QIODevice::ReadWrite)) {
            file.write(QByteArray(FSize, '\0'));
            file.close();
        }
        QFile::remove(FPath);
        FPath.clear();
    }
    QString FPath;
    int FSize = 0;
};

// An owner-only file beside Target that openssl writes into; removed unless
// it has been put in Target's place.
class TTemporaryPfx
{
public:
    explicit TTemporaryPfx(const QString &Target)
    {
        const QFileInfo fi(Target);
        FPath = CreatePrivateFile(fi.absolutePath() + QStringLiteral("/.") + fi.fileName()
                                      + QStringLiteral(".XXXXXX"),
                                  QByteArray(),
                                  QStringLiteral("No se pudo crear el archivo %1").arg(Target));
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

// Reads the written file back with the password: it must hold exactly this
// certificate and this private key.
void ReadBack(const TCertificateInfo &Info, const QString &KeyFile, const QString &File,
              const TPasswordFile &Password, const QString &Target)
{
    const QString failed =
        QStringLiteral("El archivo %1 no pudo leerse luego de exportarlo; no se guardó.")
            .arg(Target);
    TToolRun run = RunOpenSSL({QStringLiteral("pkcs12"), QStringLiteral("-in"), File,
                               QStringLiteral("-passin"), Password.Source(),
                               QStringLiteral("-nodes")});
    QByteArray key = PemBlock(run.Output, "PRIVATE KEY");
    const QByteArray certificate = PemBlock(run.Output, "CERTIFICATE");
    Wipe(run.Output);
    if (!run.Succeeded() || key.isEmpty() || certificate.isEmpty()) {
        Wipe(key);
        throw EToolError(failed, run.Reason());
    }

    // The same certificate and key as openssl writes them from the files.
    TToolRun ownKey = RunOpenSSL({QStringLiteral("pkey"), QStringLiteral("-in"), KeyFile,
                                  QStringLiteral("-passin"), QStringLiteral("pass:")});
    const bool sameKey = ownKey.Succeeded() && NormalisedPem(key) == NormalisedPem(PemBlock(ownKey.Output, "PRIVATE KEY"));
    Wipe(ownKey.Output);
    Wipe(key);
    if (!ownKey.Succeeded())
        throw EToolError(failed, ownKey.Reason());
    if (!sameKey)
        throw EToolError(failed, QStringLiteral("La clave leída no es la exportada."));
    const TToolRun ownCertificate = RunOpenSSL(
        {QStringLiteral("x509"), QStringLiteral("-inform"),
         Info.Der ? QStringLiteral("DER") : QStringLiteral("PEM"), QStringLiteral("-in"),
         Info.File});
    if (!ownCertificate.Succeeded())
        throw EToolError(failed, ownCertificate.Reason());
    if (NormalisedPem(certificate) != NormalisedPem(PemBlock(ownCertificate.Output, "CERTIFICATE")))
        throw EToolError(failed, QStringLiteral("El certificado leído no es el exportado."));
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

TPfxResult WritePfxFile(const TCertificateInfo &Info, const QString &KeyFile,
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

    const TPasswordFile password(Password);
    TTemporaryPfx temporary(PfxFile);
    QStringList args{QStringLiteral("pkcs12"), QStringLiteral("-export"),
                     QStringLiteral("-in"), Info.File,
                     QStringLiteral("-inkey"), KeyFile,
                     QStringLiteral("-out"), temporary.Path(),
                     QStringLiteral("-passout"), password.Source(),
                     // Algorithms every Windows and .NET version imports.
                     QStringLiteral("-keypbe"), QStringLiteral("PBE-SHA1-3DES"),
                     QStringLiteral("-certpbe"), QStringLiteral("PBE-SHA1-3DES"),
                     QStringLiteral("-macalg"), QStringLiteral("sha1")};
    if (!Info.Holder.isEmpty())
        args << QStringLiteral("-name") << Info.Holder;
    const TToolRun run = RunOpenSSL(args);
    if (!run.Succeeded() || QFileInfo(temporary.Path()).size() == 0)
        throw EToolError(QStringLiteral("No se pudo generar el archivo %1").arg(PfxFile),
                         run.Reason());
    RestrictToOwner(temporary.Path());
    ReadBack(Info, KeyFile, temporary.Path(), password, PfxFile);

    TPfxResult result;
    result.File = PfxFile;
    result.KeptFile = KeepExistingFile(PfxFile, Stamp);
    TFileError error;
    if (!RenameFile(temporary.Path(), PfxFile, error))
        throw EToolError(QStringLiteral("No se pudo guardar el archivo %1").arg(PfxFile),
                         error.Reason());
    temporary.Release();
    return result;
}
