#include "RenewalFolders.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

const QString kRenewal = QStringLiteral("Renovación");

QString Numbered(const QString &Base, int Number)
{
    return Number <= 1 ? Base : QStringLiteral("%1 (%2)").arg(Base).arg(Number);
}

// The first of Base, "Base (2)", ... that nothing stands at in Folder.
QString FirstFree(const QString &Folder, const QString &Base)
{
    for (int n = 1;; ++n) {
        const QString path = QDir(Folder).filePath(Numbered(Base, n));
        // A dangling link counts as taken as well.
        if (!QFileInfo(path).exists() && !QFileInfo(path).isSymLink())
            return path;
    }
}

} // namespace

QString RenewalFolderName(const QDate &Day, int Number)
{
    return Numbered(kRenewal + QLatin1Char(' ') + Day.toString(QStringLiteral("yyyy-MM-dd")),
                    Number);
}

QString NextRenewalFolder(const QString &CertificateFolder, const QDate &Day)
{
    return FirstFree(CertificateFolder, RenewalFolderName(Day));
}

bool IsRenewalFolderName(const QString &Name)
{
    static const QRegularExpression pattern(
        QStringLiteral("^Renovación \\d{4}-\\d{2}-\\d{2}( \\([1-9]\\d*\\))?$"));
    return pattern.match(Name.normalized(QString::NormalizationForm_C)).hasMatch();
}

bool InRenewalFolder(const QString &File)
{
    return IsRenewalFolderName(QFileInfo(QFileInfo(File).absolutePath()).fileName());
}

QString NextPreviousFolder(const QString &CertificateFolder, const QDate &Day)
{
    return FirstFree(QDir(CertificateFolder).filePath(QStringLiteral("Anteriores")),
                     Day.toString(QStringLiteral("yyyy-MM-dd")));
}
