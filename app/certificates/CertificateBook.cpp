#include "CertificateBook.h"

#include "Cuit.h"
#include "RenewalFolders.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>

#include <algorithm>
#include <thread>
#include <vector>

namespace {

// Names of the files a certificate, request or key is kept in; anything else
// in the tree (documents, exported .pfx bundles) is not read.
bool WorthReading(const QString &AName)
{
    static const QStringList suffixes = {
        QStringLiteral(".crt"), QStringLiteral(".cer"), QStringLiteral(".pem"),
        QStringLiteral(".der"), QStringLiteral(".key"), QStringLiteral(".req"),
        QStringLiteral(".csr"), QStringLiteral(".bak")};
    const QString lower = AName.toLower();
    for (const QString &s : suffixes)
        if (lower.endsWith(s))
            return true;
    return lower.startsWith(QLatin1String("source_")) && lower.endsWith(QLatin1String(".txt"));
}

bool IsOriginFile(const QString &AName)
{
    return AName.startsWith(QLatin1String("Source_"), Qt::CaseInsensitive)
           && AName.endsWith(QLatin1String(".txt"), Qt::CaseInsensitive);
}

// "Privada_X.key", "Pedido_X.req", "Source_X.txt" (and their kept copies)
// -> "X"; empty for other names.
QString SuffixOf(const QString &AName)
{
    static const QList<QPair<QString, QString>> forms = {
        {QStringLiteral("Privada_"), QStringLiteral(".key")},
        {QStringLiteral("Pedido_"), QStringLiteral(".req")},
        {QStringLiteral("Source_"), QStringLiteral(".txt")}};
    for (const auto &f : forms) {
        if (!AName.startsWith(f.first))
            continue;
        const int end = AName.indexOf(f.second, f.first.size());
        if (end > f.first.size())
            return AName.mid(f.first.size(), end - f.first.size());
    }
    return QString();
}

// The organizationName of an origin file "C=AR,O=...,serialNumber=CUIT ...".
QString OriginCompany(const QByteArray &ABytes)
{
    const QString text = QString::fromLocal8Bit(ABytes.left(4096));
    const int from = text.indexOf(QLatin1String(",O="));
    const int to = text.indexOf(QLatin1String(",serialNumber="));
    if (from < 0 || to < from)
        return QString();
    return text.mid(from + 3, to - from - 3);
}

struct TWalk
{
    const TBookLimits &Limits;
    const std::atomic<bool> *Cancel;
    TBookListing &Out;
    QSet<QString> Seen; // canonical folders walked: a link loop is walked once
    bool DepthNoted = false;
    bool CountNoted = false;

    bool Cancelled() const { return Cancel && Cancel->load(); }

    void Folder(const QString &APath, int ADepth)
    {
        if (Cancelled())
            return;
        const QString canonical = QFileInfo(APath).canonicalFilePath();
        if (canonical.isEmpty() || Seen.contains(canonical))
            return;
        Seen.insert(canonical);
        QDir dir(APath);
        if (!dir.isReadable()) {
            Out.UnreadableFolders << QDir::cleanPath(APath);
            return;
        }
        Out.Folders << QDir::cleanPath(APath);
        const QFileInfoList entries = dir.entryInfoList(
            QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System, QDir::Name);
        QList<QString> subfolders;
        for (const QFileInfo &e : entries) {
            if (Cancelled())
                return;
            if (e.isDir()) {
                subfolders << e.absoluteFilePath();
                continue;
            }
            // FIFOs, devices, sockets and dangling links are not read: a
            // FIFO would block the reader.
            if (!e.isFile() || !WorthReading(e.fileName()))
                continue;
            if (e.size() > Limits.MaxFileSize) {
                Out.Notes << QStringLiteral("No se leyó %1: mide más de %2 MB.")
                                 .arg(e.absoluteFilePath())
                                 .arg(Limits.MaxFileSize / (1024 * 1024));
                continue;
            }
            if (Out.Files.size() >= Limits.MaxFiles) {
                if (!CountNoted)
                    Out.Notes << QStringLiteral("Se leyeron solo los primeros %1 archivos.")
                                     .arg(Limits.MaxFiles);
                CountNoted = true;
                return;
            }
            Out.Files << e.absoluteFilePath();
        }
        for (const QString &sub : subfolders) {
            if (ADepth + 1 > Limits.MaxDepth) {
                if (!DepthNoted)
                    Out.Notes << QStringLiteral("No se leyeron las carpetas de más de %1 niveles "
                                                "(la primera: %2).")
                                     .arg(Limits.MaxDepth)
                                     .arg(sub);
                DepthNoted = true;
                continue;
            }
            Folder(sub, ADepth + 1);
        }
    }
};

struct TCollect
{
    QStringList Keys, Requests, Certificates, Sources;
    QList<const TBookRead *> KeyReads, RequestReads, CertificateReads;
};

bool KeptCopy(const QString &AFile)
{
    return AFile.endsWith(QLatin1String(".bak"), Qt::CaseInsensitive);
}

TBookGroup SingleFileGroup(const QString &AFile, TBookState AState, const QString &AReason)
{
    TBookGroup g;
    g.State = AState;
    g.Reason = AReason;
    g.Files << AFile;
    if (AState == TBookState::KeyDamaged) {
        g.KeyFile = AFile;
        g.KeyIsKeptCopy = KeptCopy(AFile);
    }
    return g;
}

bool Later(const TCertificateInfo &A, const TCertificateInfo &B)
{
    return A.NotAfter > B.NotAfter;
}

// A set lying in a renewal folder belongs to the certificate of the folder
// above it with its CUIT and holder (one issued by the authority first, then
// the one valid longest): the certificate the renewal is to replace.
void LinkRenewals(QList<TBookGroup> &AGroups)
{
    for (int i = 0; i < AGroups.size(); ++i) {
        TBookGroup &g = AGroups[i];
        const QString own = !g.KeyFile.isEmpty()       ? g.KeyFile
                            : !g.RequestFile.isEmpty() ? g.RequestFile
                                                       : g.CertificateFile;
        if (g.PublicKey.isEmpty() || g.CUIT.isEmpty() || own.isEmpty() || !InRenewalFolder(own))
            continue;
        const QString renewalFolder = QFileInfo(own).absolutePath();
        const QString parent = QFileInfo(renewalFolder).absolutePath();
        int best = -1;
        for (int j = 0; j < AGroups.size(); ++j) {
            const TBookGroup &c = AGroups.at(j);
            if (j == i || !c.HasCertificate || c.CUIT != g.CUIT || c.Holder != g.Holder
                || QFileInfo(c.CertificateFile).absolutePath() != parent)
                continue;
            if (best < 0) {
                best = j;
                continue;
            }
            const TBookGroup &b = AGroups.at(best);
            const bool cAuthority = c.Verdict == TIssuerVerdict::Authority;
            const bool bAuthority = b.Verdict == TIssuerVerdict::Authority;
            if (cAuthority != bAuthority ? cAuthority : c.ValidUntil > b.ValidUntil)
                best = j;
        }
        if (best < 0)
            continue;
        g.RenewalOf = AGroups.at(best).CertificateFile;
        TBookGroup &renewed = AGroups[best];
        // Of two renewals, the one still waiting for its certificate is named.
        if (renewed.RenewalFolder.isEmpty() || (renewed.RenewalHasCertificate && !g.HasCertificate)) {
            renewed.RenewalFolder = renewalFolder;
            renewed.RenewalHasCertificate = g.HasCertificate;
        }
    }
}

// Each renewal right after the certificate it is to replace (and a renewal
// of that renewal after it), the rest as they are.
void PlaceRenewals(QList<TBookGroup> &AGroups)
{
    QHash<QString, QList<int>> renewals; // certificate -> the groups renewing it
    for (int i = 0; i < AGroups.size(); ++i)
        if (!AGroups.at(i).RenewalOf.isEmpty())
            renewals[AGroups.at(i).RenewalOf] << i;
    if (renewals.isEmpty())
        return;
    QList<TBookGroup> ordered;
    ordered.reserve(AGroups.size());
    const std::function<void(int)> place = [&](int AIndex) {
        ordered << AGroups.at(AIndex);
        const QString certificate = AGroups.at(AIndex).CertificateFile;
        if (!certificate.isEmpty())
            for (int r : renewals.value(certificate))
                place(r);
    };
    for (int i = 0; i < AGroups.size(); ++i)
        if (AGroups.at(i).RenewalOf.isEmpty())
            place(i);
    AGroups = ordered;
}

} // namespace

QString StateWord(TBookState State)
{
    switch (State) {
    case TBookState::Valid: return QStringLiteral("vigente");
    case TBookState::ExpiresSoon: return QStringLiteral("por-vencer");
    case TBookState::Expired: return QStringLiteral("vencido");
    case TBookState::Replaced: return QStringLiteral("reemplazado");
    case TBookState::RequestPending: return QStringLiteral("pedido-pendiente");
    case TBookState::NoKey: return QStringLiteral("sin-clave");
    case TBookState::KeyDamaged: return QStringLiteral("clave-dañada");
    case TBookState::NotIssuedByAuthority: return QStringLiteral("no-emitido-por-afip");
    case TBookState::Unreadable: return QStringLiteral("ilegible");
    }
    return QString();
}

QString StateText(TBookState State)
{
    switch (State) {
    case TBookState::Valid: return QStringLiteral("Vigente");
    case TBookState::ExpiresSoon: return QStringLiteral("Por vencer");
    case TBookState::Expired: return QStringLiteral("Vencido");
    case TBookState::Replaced: return QStringLiteral("Reemplazado");
    case TBookState::RequestPending: return QStringLiteral("Pedido pendiente");
    case TBookState::NoKey: return QStringLiteral("Sin clave");
    case TBookState::KeyDamaged: return QStringLiteral("Clave dañada");
    case TBookState::NotIssuedByAuthority: return QStringLiteral("No emitido por la A.F.I.P.");
    case TBookState::Unreadable: return QStringLiteral("Ilegible");
    }
    return QString();
}

bool NeedsAttention(TBookState State)
{
    switch (State) {
    case TBookState::ExpiresSoon:
    case TBookState::Expired:
    case TBookState::NoKey:
    case TBookState::KeyDamaged:
    case TBookState::NotIssuedByAuthority:
        return true;
    default:
        return false;
    }
}

QString RenewalNote(const TBookGroup &Group)
{
    if (!Group.RenewalOf.isEmpty())
        return QStringLiteral("renovación de %1").arg(QFileInfo(Group.RenewalOf).fileName());
    if (Group.RenewalFolder.isEmpty())
        return QString();
    const QString folder = QFileInfo(Group.RenewalFolder).fileName();
    return Group.RenewalHasCertificate
               ? QStringLiteral("renovación recibida en «%1», todavía sin usar").arg(folder)
               : QStringLiteral("renovación pendiente en «%1»").arg(folder);
}

bool BookNeedsAttention(const QList<TBookGroup> &Groups)
{
    return std::any_of(Groups.begin(), Groups.end(),
                       [](const TBookGroup &g) { return NeedsAttention(g.State); });
}

TBookListing ListBookFolder(const QString &Folder, const TBookLimits &Limits,
                            const std::atomic<bool> *Cancel)
{
    TBookListing out;
    const QFileInfo root(Folder);
    if (!root.exists()) {
        out.RootReason = QStringLiteral("la carpeta %1 no existe").arg(Folder);
        return out;
    }
    if (!root.isDir()) {
        out.RootReason = QStringLiteral("%1 no es una carpeta").arg(Folder);
        return out;
    }
    if (!QDir(Folder).isReadable()) {
        out.RootReason = QStringLiteral("no hay permiso para leer la carpeta %1").arg(Folder);
        return out;
    }
    out.RootReadable = true;
    TWalk walk{Limits, Cancel, out, {}};
    walk.Folder(root.absoluteFilePath(), 0);
    return out;
}

TBookRead ReadBookEntry(const QString &File, const TAuthorityKeys &Authorities,
                        qint64 MaxFileSize)
{
    TBookRead r;
    r.File = File;
    QFile f(File);
    if (!f.open(QIODevice::ReadOnly)) {
        r.Readable = false;
        r.Reason = QStringLiteral("no se pudo leer: %1").arg(f.errorString());
        return r;
    }
    // Read at most one byte more than the bound: a file that grew is not
    // read whole.
    const QByteArray bytes = f.read(MaxFileSize + 1);
    if (bytes.size() > MaxFileSize) {
        r.Readable = false;
        r.Reason = QStringLiteral("mide más de %1 MB").arg(MaxFileSize / (1024 * 1024));
        return r;
    }
    if (IsOriginFile(QFileInfo(File).fileName())) {
        r.Content.Kind = TFileKind::Other;
        r.Content.Request.Organization = OriginCompany(bytes);
        return r;
    }
    r.Content = ReadBookFile(File, bytes, Authorities);
    return r;
}

QList<TBookGroup> GroupBook(const QList<TBookRead> &Reads, const QStringList &UnreadableFolders,
                            const QDateTime &Now)
{
    QList<TBookGroup> groups;
    QHash<QByteArray, int> byKey;               // public key -> group
    QHash<QString, QString> companyBySuffix;   // folder/suffix -> origin company
    QHash<QString, QString> sourceBySuffix;
    QHash<int, QList<const TBookRead *>> certificates, keys, requests;

    auto groupOf = [&](const QByteArray &AKey) {
        auto it = byKey.constFind(AKey);
        if (it != byKey.constEnd())
            return it.value();
        TBookGroup g;
        g.PublicKey = AKey;
        groups.append(g);
        byKey.insert(AKey, int(groups.size()) - 1);
        return int(groups.size()) - 1;
    };
    auto suffixKey = [](const QString &AFile) {
        const QFileInfo fi(AFile);
        const QString suffix = SuffixOf(fi.fileName());
        return suffix.isEmpty() ? QString() : fi.path() + QLatin1Char('/') + suffix;
    };

    for (const TBookRead &r : Reads) {
        const QString name = QFileInfo(r.File).fileName();
        if (!r.Readable) {
            groups.append(SingleFileGroup(r.File, TBookState::Unreadable, r.Reason));
            continue;
        }
        switch (r.Content.Kind) {
        case TFileKind::Certificate:
            if (r.Content.Certificate.PublicKey.isEmpty())
                groups.append(SingleFileGroup(r.File, TBookState::Unreadable,
                                              QStringLiteral("el certificado no tiene una clave pública legible")));
            else
                certificates[groupOf(r.Content.Certificate.PublicKey)] << &r;
            break;
        case TFileKind::Request:
            if (r.Content.Request.PublicKey.isEmpty())
                groups.append(SingleFileGroup(r.File, TBookState::Unreadable,
                                              QStringLiteral("el pedido no tiene una clave pública legible")));
            else
                requests[groupOf(r.Content.Request.PublicKey)] << &r;
            break;
        case TFileKind::PrivateKey:
            if (r.Content.Key.State == TKeyInfo::Encrypted)
                groups.append(SingleFileGroup(r.File, TBookState::Unreadable, r.Content.Key.Reason));
            else if (r.Content.Key.PublicKey.isEmpty())
                groups.append(SingleFileGroup(r.File, TBookState::KeyDamaged, r.Content.Key.Reason));
            else
                keys[groupOf(r.Content.Key.PublicKey)] << &r;
            break;
        default:
            if (IsOriginFile(name)) {
                companyBySuffix.insert(suffixKey(r.File), r.Content.Request.Organization);
                sourceBySuffix.insert(suffixKey(r.File), r.File);
            } else if (!KeptCopy(name)
                       && !name.endsWith(QLatin1String(".pem"), Qt::CaseInsensitive)) {
                // A .crt, .cer, .der, .key, .req or .csr that holds nothing
                // readable (a .pem may be any other PEM, such as a public key).
                groups.append(SingleFileGroup(r.File, TBookState::Unreadable,
                                              QStringLiteral("el archivo está dañado o incompleto")));
            }
            break;
        }
    }
    for (const QString &folder : UnreadableFolders)
        groups.append(SingleFileGroup(folder, TBookState::Unreadable,
                                      QStringLiteral("no hay permiso para leer la carpeta")));

    // Each key-pair group: its files, the key, request and certificate in use.
    for (int i = 0; i < groups.size(); ++i) {
        TBookGroup &g = groups[i];
        if (g.PublicKey.isEmpty())
            continue;
        const TBookRead *key = nullptr;
        bool anySound = false;
        for (const TBookRead *k : keys.value(i)) {
            g.Files << k->File;
            const bool sound = k->Content.Key.State == TKeyInfo::Sound;
            // The current key before a kept copy, a sound one before a damaged one.
            const auto rank = [](const TBookRead *r) {
                return (r->Content.Key.State == TKeyInfo::Sound ? 0 : 2) + (KeptCopy(r->File) ? 1 : 0);
            };
            if (!key || rank(k) < rank(key))
                key = k;
            anySound = anySound || sound;
        }
        const TBookRead *request = nullptr;
        for (const TBookRead *r : requests.value(i)) {
            g.Files << r->File;
            if (!request || (KeptCopy(request->File) && !KeptCopy(r->File)))
                request = r;
        }
        const TBookRead *certificate = nullptr;
        for (const TBookRead *c : certificates.value(i)) {
            g.Files << c->File;
            if (!certificate || Later(c->Content.Certificate, certificate->Content.Certificate))
                certificate = c;
        }
        if (key) {
            g.KeyFile = key->File;
            g.KeyIsKeptCopy = KeptCopy(key->File);
            if (!anySound)
                g.Reason = key->Content.Key.Reason;
        }
        QString origin;
        for (const TBookRead *f : keys.value(i) + requests.value(i)) {
            const QString sk = suffixKey(f->File);
            if (!sk.isEmpty() && sourceBySuffix.contains(sk)) {
                origin = sk;
                break;
            }
        }
        if (!origin.isEmpty()) {
            g.SourceFile = sourceBySuffix.value(origin);
            g.Files << g.SourceFile;
        }
        if (request) {
            const TRequestInfo &q = request->Content.Request;
            g.RequestFile = request->File;
            g.Company = q.Organization;
            g.Holder = q.Holder;
            g.CUIT = q.CUIT;
        }
        if (g.Company.isEmpty() && !origin.isEmpty())
            g.Company = companyBySuffix.value(origin);
        if (certificate) {
            const TCertificateInfo &c = certificate->Content.Certificate;
            g.HasCertificate = true;
            g.CertificateFile = certificate->File;
            g.Holder = c.Holder;
            g.CUIT = c.CUIT;
            g.Verdict = c.IssuerVerdict;
            g.Environment = c.IssuerVerdict == TIssuerVerdict::Authority ? c.IssuerKind
                                                                         : TIssuerKind::Other;
            g.ValidUntil = c.NotAfter;
            g.DaysLeft = DaysLeft(c, Now);
        }
        g.CUITValid = !g.CUIT.isEmpty() && ValidateCUIT(g.CUIT);
        std::sort(g.Files.begin(), g.Files.end());

        if (!g.HasCertificate) {
            if (key && !anySound)
                g.State = TBookState::KeyDamaged;
            else if (!key)
                g.State = TBookState::NoKey;
            else
                g.State = TBookState::RequestPending;
        } else if (g.Verdict != TIssuerVerdict::Authority) {
            g.State = TBookState::NotIssuedByAuthority;
            g.Reason = g.Verdict == TIssuerVerdict::UnknownAuthorityKey
                           ? QStringLiteral("el emisor se llama como la A.F.I.P., pero con una "
                                            "clave que este programa no conoce")
                           : g.Verdict == TIssuerVerdict::NotIssuedByAuthority
                                 ? QStringLiteral("la firma no es de la A.F.I.P.")
                                 : QStringLiteral("otro emisor");
        } else if (g.DaysLeft < 0) {
            g.State = TBookState::Expired;
        } else if (key && !anySound) {
            g.State = TBookState::KeyDamaged;
        } else if (!key) {
            g.State = TBookState::NoKey;
        } else if (g.DaysLeft <= kExpiryWarningDays) {
            g.State = TBookState::ExpiresSoon;
        } else {
            g.State = TBookState::Valid;
        }
    }

    // Expired or expiring, but a later certificate of the same CUIT, holder and
    // environment is in force: replaced, nothing to do.
    QHash<QString, QDateTime> inForce; // CUIT|holder|environment -> latest end in force
    for (const TBookGroup &g : groups)
        if (g.HasCertificate && g.Verdict == TIssuerVerdict::Authority && g.DaysLeft >= 0) {
            const QString k = g.CUIT + QLatin1Char('|') + g.Holder + QLatin1Char('|')
                              + QString::number(int(g.Environment));
            if (!inForce.contains(k) || inForce.value(k) < g.ValidUntil)
                inForce.insert(k, g.ValidUntil);
        }
    for (TBookGroup &g : groups) {
        if (g.State != TBookState::Expired && g.State != TBookState::ExpiresSoon
            && !(g.HasCertificate && g.Verdict == TIssuerVerdict::Authority
                 && g.DaysLeft <= kExpiryWarningDays))
            continue;
        const QString k = g.CUIT + QLatin1Char('|') + g.Holder + QLatin1Char('|')
                          + QString::number(int(g.Environment));
        const auto it = inForce.constFind(k);
        if (it != inForce.constEnd() && it.value() > g.ValidUntil)
            g.State = TBookState::Replaced;
    }
    LinkRenewals(groups);

    std::stable_sort(groups.begin(), groups.end(), [](const TBookGroup &a, const TBookGroup &b) {
        if (a.State != b.State)
            return int(a.State) < int(b.State);
        if (a.HasCertificate != b.HasCertificate)
            return a.HasCertificate;
        if (a.DaysLeft != b.DaysLeft)
            return a.DaysLeft < b.DaysLeft;
        if (a.Company != b.Company)
            return a.Company.localeAwareCompare(b.Company) < 0;
        return a.Files.value(0) < b.Files.value(0);
    });
    PlaceRenewals(groups);
    return groups;
}

TBook ReadBook(const QString &Folder, const QDateTime &Now,
               const std::function<void(int, int, const QList<TBookGroup> &)> &Progress,
               const std::atomic<bool> *Cancel, const TBookLimits &Limits)
{
    TBook book;
    book.Listing = ListBookFolder(Folder, Limits, Cancel);
    const TAuthorityKeys authorities;
    QList<TBookRead> reads;
    reads.reserve(book.Listing.Files.size());
    const int total = int(book.Listing.Files.size());
    QElapsedTimer sinceReport;
    sinceReport.start();
    bool reported = false;
    // Files are read in rounds, each shared among a few threads (libcrypto
    // reads and verifies with shared keys safely); after a round the groups
    // so far are reported.
    const int threads = int(qBound(1u, std::thread::hardware_concurrency(), 4u));
    constexpr int kRound = 96;
    for (int from = 0; from < total; from += kRound) {
        if (Cancel && Cancel->load()) {
            book.Cancelled = true;
            break;
        }
        const int count = qMin(kRound, total - from);
        std::vector<TBookRead> round(static_cast<size_t>(count));
        auto work = [&](int AFirst) {
            for (int i = AFirst; i < count; i += threads)
                round[size_t(i)] = ReadBookEntry(book.Listing.Files.at(from + i), authorities,
                                                 Limits.MaxFileSize);
        };
        std::vector<std::thread> pool;
        for (int t = 1; t < threads && t < count; ++t)
            pool.emplace_back(work, t);
        work(0);
        for (std::thread &t : pool)
            t.join();
        for (TBookRead &r : round)
            reads << std::move(r);
        const int done = from + count;
        if (Progress && done < total && (!reported || sinceReport.elapsed() >= 100)) {
            // Only whole folders: a company's files are judged together.
            int whole = done;
            const QString next = QFileInfo(book.Listing.Files.at(done)).path();
            while (whole > 0 && QFileInfo(book.Listing.Files.at(whole - 1)).path() == next)
                --whole;
            Progress(done, total, GroupBook(reads.mid(0, whole), {}, Now));
            reported = true;
            sinceReport.restart();
        }
    }
    book.Groups = GroupBook(reads, book.Listing.UnreadableFolders, Now);
    if (Progress)
        Progress(int(reads.size()), total, book.Groups);
    return book;
}
