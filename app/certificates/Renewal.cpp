#include "Renewal.h"

#include "OriginFile.h"
#include "RenewalFolders.h"

#include <QDir>
#include <QFileInfo>

namespace {

// The files of Folder matching Pattern, those named for Suffix first.
QStringList Candidates(const QDir &Folder, const QString &Prefix, const QString &Extension,
                       const QString &Suffix)
{
    QStringList files;
    if (!Suffix.isEmpty()) {
        const QString own = Folder.absoluteFilePath(Prefix + Suffix + Extension);
        if (QFileInfo(own).isFile())
            files << own;
    }
    const QStringList names =
        Folder.entryList({Prefix + QLatin1Char('*') + Extension}, QDir::Files, QDir::Name);
    for (const QString &name : names) {
        const QString path = Folder.absoluteFilePath(name);
        if (!files.contains(path))
            files << path;
    }
    return files;
}

} // namespace

QString KeySuffix(const QString &KeyFile)
{
    const QString name = QFileInfo(KeyFile).fileName();
    const QString prefix = QStringLiteral("Privada_");
    const QString extension = QStringLiteral(".key");
    if (!name.startsWith(prefix) || !name.endsWith(extension)
        || name.size() <= prefix.size() + extension.size())
        return QString();
    return name.mid(prefix.size(), name.size() - prefix.size() - extension.size());
}

TRenewal PrepareRenewal(const QString &CertificateFile, const QDate &Day)
{
    TRenewal r;
    const TCertificateInfo info = ReadCertificate(CertificateFile);
    r.Certificate = QFileInfo(CertificateFile).absoluteFilePath();
    r.CertificateFolder = QFileInfo(r.Certificate).absolutePath();
    r.Folder = NextRenewalFolder(r.CertificateFolder, Day);
    r.CUIT = info.CUITValid ? FormatCUIT(info.CUIT) : QString();
    r.Holder = info.Holder;
    r.Environment = info.IssuerKind;
    r.KeyInUse = MatchingKey(CheckKeys(info, KeyCandidateFiles(r.Certificate, QString())));

    // The certificate's own request (the one of its public key), those of
    // its key's name looked at first; else the origin file whose CUIT and
    // holder are the certificate's.
    const QDir folder(r.CertificateFolder);
    const QString suffix = KeySuffix(r.KeyInUse);
    for (const QString &file :
         Candidates(folder, QStringLiteral("Pedido_"), QStringLiteral(".req"), suffix)) {
        TRequestInfo request;
        try {
            request = ReadRequest(file);
        } catch (const Exception &) {
            continue; // not a request that can be read: not this certificate's
        }
        if (request.PublicKey != info.PublicKey || request.Organization.isEmpty())
            continue;
        r.Company = request.Organization;
        r.Mail = request.Mail;
        r.DataFile = file;
        return r;
    }
    for (const QString &file :
         Candidates(folder, QStringLiteral("Source_"), QStringLiteral(".txt"), suffix)) {
        const TOriginEntries o = ReadOriginFile(file);
        if (!o.Read || o.CUIT != info.CUIT || o.Holder != info.Holder)
            continue;
        r.Company = o.Organization;
        r.Mail = o.Mail;
        r.DataFile = file;
        return r;
    }
    return r;
}
