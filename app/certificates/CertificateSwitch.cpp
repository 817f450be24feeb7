#include "CertificateSwitch.h"

#include "CertificateCheck.h"
#include "CertificateReport.h"
#include "FileWrite.h"
#include "Paths.h"
#include "Renewal.h"
#include "RenewalFolders.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

namespace {

bool Stands(const QString &Path)
{
    const QFileInfo f(Path);
    return f.exists() || f.isSymLink();
}

// The certificates lying directly in Folder that name the same holder, CUIT
// and environment as Info: the ones a renewal of it replaces.
QStringList SameCertificates(const QString &Folder, const TCertificateInfo &Info)
{
    QStringList found;
    const QDir dir(Folder);
    const QStringList names = dir.entryList(
        {QStringLiteral("*.crt"), QStringLiteral("*.cer"), QStringLiteral("*.pem"),
         QStringLiteral("*.der")},
        QDir::Files, QDir::Name);
    for (const QString &name : names) {
        const QString path = dir.absoluteFilePath(name);
        try {
            const TCertificateInfo other = ReadCertificate(path);
            if (other.CUIT == Info.CUIT && other.Holder == Info.Holder
                && other.IssuerKind == Info.IssuerKind)
                found << path;
        } catch (const Exception &) {
            // Not a certificate this switch replaces.
        }
    }
    return found;
}

QString FileName(const QString &Path) { return QFileInfo(Path).fileName(); }

} // namespace

bool RenameOneFile(const QString &From, const QString &To, QString &Reason)
{
    if (Stands(To)) {
        Reason = QStringLiteral("ya existe %1").arg(NativePath(To));
        return false;
    }
    TFileError error;
    if (!RenameFile(From, To, error)) {
        Reason = error.Reason();
        return false;
    }
    return true;
}

TSwitchPlan PlanSwitch(const QString &NewCertificate, const QDateTime &Now)
{
    TSwitchPlan plan;
    plan.NewCertificate = QFileInfo(NewCertificate).absoluteFilePath();
    plan.RenewalFolder = QFileInfo(plan.NewCertificate).absolutePath();
    if (!InRenewalFolder(plan.NewCertificate))
        throw ESwitchRefused(QStringLiteral(
            "No se cambió nada: el certificado %1 no está en una carpeta de renovación "
            "(«Renovación AAAA-MM-DD»).").arg(NativePath(plan.NewCertificate)));
    plan.CertificateFolder = QFileInfo(plan.RenewalFolder).absolutePath();

    // The new certificate with the keys of its renewal folder only.
    const TVerification fresh = VerifyFile(plan.NewCertificate, plan.RenewalFolder, Now);

    // The pair in use: a certificate of the same holder, CUIT and
    // environment in the parent folder, with its key there.
    QStringList oldCertificates;
    QString oldKey;
    if (fresh.IsCertificate())
        oldCertificates = SameCertificates(plan.CertificateFolder, fresh.Certificate);
    for (const QString &c : oldCertificates) {
        const TVerification v = VerifyFile(c, plan.CertificateFolder, Now);
        if (v.MatchingKey.isEmpty()
            || QFileInfo(v.MatchingKey).absolutePath() != plan.CertificateFolder)
            continue;
        if (plan.OldCertificate.isEmpty() || (!plan.OldValid && ExitCodeOf(v) == veOk)) {
            plan.OldCertificate = c;
            oldKey = v.MatchingKey;
            plan.OldValid = ExitCodeOf(v) == veOk;
        }
    }
    if (plan.OldCertificate.isEmpty() && !oldCertificates.isEmpty())
        plan.OldCertificate = oldCertificates.first();

    const QString freshKey = fresh.MatchingKey;
    if (ExitCodeOf(fresh) != veOk
        || QFileInfo(freshKey).absolutePath() != plan.RenewalFolder) {
        const QString problems = Problems(fresh).join(QLatin1Char(' '));
        throw ESwitchRefused(
            plan.OldValid
                ? QStringLiteral("No se cambió nada: el certificado nuevo no es válido con su "
                                 "clave de la carpeta de renovación (%1), y el certificado en uso "
                                 "%2 es el único válido. Sigue en su lugar.")
                      .arg(problems, FileName(plan.OldCertificate))
                : QStringLiteral("No se cambió nada: el certificado nuevo no es válido con su "
                                 "clave de la carpeta de renovación (%1).")
                      .arg(problems));
    }

    // Names: the new files take those of the files they replace; where
    // none is there, the usual names of the pair in use, else their own.
    const QString oldSuffix = KeySuffix(oldKey);
    const QString suffix = oldSuffix.isEmpty() ? KeySuffix(freshKey) : oldSuffix;
    const QDir parent(plan.CertificateFolder);
    const QDir renewal(plan.RenewalFolder);
    const QString newSuffix = KeySuffix(freshKey);

    QList<QPair<QString, QString>> placing; // new file -> its place
    placing.append({freshKey, oldKey.isEmpty() ? parent.absoluteFilePath(FileName(freshKey))
                                               : oldKey});
    if (!newSuffix.isEmpty()) {
        const QString request = renewal.absoluteFilePath(QStringLiteral("Pedido_%1.req").arg(newSuffix));
        const QString origin = renewal.absoluteFilePath(QStringLiteral("Source_%1.txt").arg(newSuffix));
        if (QFileInfo(request).isFile())
            placing.append({request, parent.absoluteFilePath(QStringLiteral("Pedido_%1.req").arg(suffix))});
        if (QFileInfo(origin).isFile())
            placing.append({origin, parent.absoluteFilePath(QStringLiteral("Source_%1.txt").arg(suffix))});
    }
    placing.append({plan.NewCertificate,
                    plan.OldCertificate.isEmpty()
                        ? parent.absoluteFilePath(FileName(plan.NewCertificate))
                        : plan.OldCertificate});

    // What goes aside: the previous certificates, their key, and whatever
    // stands where a new file goes.
    QStringList aside = oldCertificates;
    if (!oldKey.isEmpty())
        aside << oldKey;
    for (const auto &p : placing)
        if (Stands(p.second))
            aside << p.second;
    aside.removeDuplicates();

    plan.PreviousFolder = NextPreviousFolder(plan.CertificateFolder, Now.toLocalTime().date());
    QSet<QString> names;
    for (const QString &f : aside) {
        if (QFileInfo(f).isDir())
            throw ESwitchRefused(QStringLiteral("No se cambió nada: %1 es una carpeta.")
                                     .arg(NativePath(f)));
        // Two files of one name cannot go into one folder; none is expected.
        if (names.contains(FileName(f)))
            throw ESwitchRefused(QStringLiteral("No se cambió nada: hay dos archivos %1.")
                                     .arg(FileName(f)));
        names.insert(FileName(f));
        plan.Moves.append({f, QDir(plan.PreviousFolder).absoluteFilePath(FileName(f))});
    }
    plan.Moves.append(placing);
    return plan;
}

TSwitchResult PerformSwitch(const TSwitchPlan &Plan, const TMoveFile &Move)
{
    TSwitchResult result;
    result.PreviousFolder = Plan.PreviousFolder;
    if (!QDir().mkpath(Plan.PreviousFolder))
        throw Exception(QStringLiteral("No se cambió nada: no se pudo crear la carpeta %1.")
                            .arg(NativePath(Plan.PreviousFolder)));
    QList<QPair<QString, QString>> done;
    for (const auto &m : Plan.Moves) {
        QString reason;
        if (Move(m.first, m.second, reason)) {
            done.append(m);
            continue;
        }
        // Back the way they came, the last first.
        QStringList stuck;
        for (int i = done.size() - 1; i >= 0; --i) {
            QString ignored;
            if (!RenameOneFile(done[i].second, done[i].first, ignored))
                stuck << QStringLiteral("%1 quedó como %2")
                             .arg(NativePath(done[i].first), NativePath(done[i].second));
        }
        QDir().rmdir(Plan.PreviousFolder);
        QDir().rmdir(QFileInfo(Plan.PreviousFolder).absolutePath());
        QString message = QStringLiteral("No se pudo mover %1 a %2: %3.")
                              .arg(NativePath(m.first), NativePath(m.second), reason);
        message += stuck.isEmpty()
                       ? QStringLiteral(" No se cambió nada: los archivos están donde estaban.")
                       : QStringLiteral(" No se pudo deshacer todo: ") + stuck.join(QStringLiteral("; "))
                             + QLatin1Char('.');
        throw Exception(message);
    }
    for (const auto &m : Plan.Moves) {
        if (QFileInfo(m.second).absolutePath() == QDir(Plan.PreviousFolder).absolutePath())
            result.Kept << m.second;
        else
            result.Placed << m.second;
        if (m.first == Plan.NewCertificate)
            result.Certificate = m.second;
    }
    // An emptied renewal folder goes; one with other files stays.
    QDir().rmdir(Plan.RenewalFolder);
    return result;
}

TSwitchResult SwitchCertificate(const QString &NewCertificate, const QDateTime &Now,
                                const TMoveFile &Move)
{
    return PerformSwitch(PlanSwitch(NewCertificate, Now), Move);
}
