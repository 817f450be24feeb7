#include "BookModel.h"

#include "Cuit.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QIcon>
#include <QStyle>

namespace {

QIcon StateIcon(TBookState AState)
{
    QStyle *style = QApplication::style();
    switch (AState) {
    case TBookState::Valid: return style->standardIcon(QStyle::SP_DialogApplyButton);
    case TBookState::Replaced: return style->standardIcon(QStyle::SP_BrowserReload);
    case TBookState::RequestPending: return style->standardIcon(QStyle::SP_MessageBoxInformation);
    case TBookState::ExpiresSoon:
    case TBookState::NoKey: return style->standardIcon(QStyle::SP_MessageBoxWarning);
    case TBookState::Unreadable: return style->standardIcon(QStyle::SP_MessageBoxQuestion);
    case TBookState::Expired:
    case TBookState::KeyDamaged:
    case TBookState::NotIssuedByAuthority: return style->standardIcon(QStyle::SP_MessageBoxCritical);
    }
    return QIcon();
}

QString FileNames(const TBookGroup &G)
{
    QStringList names;
    for (const QString &f : G.Files)
        names << QFileInfo(f).fileName();
    return names.join(QStringLiteral(", "));
}

// " (reason; renewal)" after the state; empty when neither.
QString StateNotes(const TBookGroup &G)
{
    QStringList notes;
    if (!G.Reason.isEmpty() && G.State != TBookState::Valid)
        notes << G.Reason;
    if (const QString renewal = RenewalNote(G); !renewal.isEmpty())
        notes << renewal;
    return notes.isEmpty() ? QString()
                           : QStringLiteral(" (") + notes.join(QStringLiteral("; ")) + QLatin1Char(')');
}

} // namespace

TBookModel::TBookModel(QObject *AParent) : QAbstractTableModel(AParent) {}

void TBookModel::SetGroups(const QList<TBookGroup> &AGroups)
{
    beginResetModel();
    FGroups = AGroups;
    QHash<QString, int> byCertificate;
    for (int i = 0; i < FGroups.size(); ++i)
        if (!FGroups.at(i).CertificateFile.isEmpty())
            byCertificate.insert(FGroups.at(i).CertificateFile, i);
    FRenewed.clear();
    for (int i = 0; i < FGroups.size(); ++i) {
        // Up the chain of renewals, at most once around the book.
        int row = i;
        for (int step = 0; step < FGroups.size() && !FGroups.at(row).RenewalOf.isEmpty(); ++step)
            row = byCertificate.value(FGroups.at(row).RenewalOf, row);
        FRenewed << row;
    }
    endResetModel();
}

int TBookModel::rowCount(const QModelIndex &AParent) const
{
    return AParent.isValid() ? 0 : int(FGroups.size());
}

int TBookModel::columnCount(const QModelIndex &AParent) const
{
    return AParent.isValid() ? 0 : ColumnCount;
}

QString TBookModel::EnvironmentText(const TBookGroup &AGroup)
{
    if (!AGroup.HasCertificate)
        return QString();
    switch (AGroup.Environment) {
    case TIssuerKind::Production: return QStringLiteral("Producción");
    case TIssuerKind::Testing: return QStringLiteral("Homologación");
    case TIssuerKind::Other: break;
    }
    return QStringLiteral("Otro emisor");
}

QVariant TBookModel::data(const QModelIndex &AIndex, int ARole) const
{
    if (!AIndex.isValid() || AIndex.row() >= FGroups.size())
        return QVariant();
    const TBookGroup &g = FGroups.at(AIndex.row());
    if (ARole == Qt::DecorationRole && AIndex.column() == colEstado)
        return StateIcon(g.State);
    if (ARole == Qt::ToolTipRole) {
        QString tip = StateText(g.State);
        if (!g.Reason.isEmpty())
            tip += QStringLiteral(": ") + g.Reason;
        if (const QString renewal = RenewalNote(g); !renewal.isEmpty())
            tip += QLatin1Char('\n') + renewal.left(1).toUpper() + renewal.mid(1);
        for (const QString &f : g.Files)
            tip += QLatin1Char('\n') + QDir::toNativeSeparators(f);
        return tip;
    }
    if (ARole == Qt::TextAlignmentRole && AIndex.column() == colDias)
        return int(Qt::AlignRight | Qt::AlignVCenter);
    const bool sort = ARole == Qt::UserRole;
    if (ARole != Qt::DisplayRole && !sort)
        return QVariant();
    switch (AIndex.column()) {
    case colEstado:
        if (sort)
            // Urgency: the state, then the fewest days left, then the row's
            // place in the book.
            return qlonglong(int(g.State)) * 100000000LL
                   + (g.HasCertificate ? qlonglong(g.DaysLeft) + 50000000LL : 99999999LL);
        return StateText(g.State) + StateNotes(g);
    case colOrganizacion: return g.Company;
    case colTitular: return g.Holder;
    case colCUIT:
        if (sort)
            return g.CUIT;
        return g.CUIT.isEmpty() ? QString()
                                : FormatCUIT(g.CUIT)
                                      + (g.CUITValid ? QString() : QStringLiteral(" (inválido)"));
    case colAmbiente: return EnvironmentText(g);
    case colVence:
        if (sort)
            return g.HasCertificate ? g.ValidUntil : QDateTime();
        return g.HasCertificate ? g.ValidUntil.toUTC().toString(QStringLiteral("dd/MM/yyyy"))
                                : QString();
    case colDias:
        if (sort)
            return g.HasCertificate ? g.DaysLeft : 99999999;
        return g.HasCertificate ? QString::number(g.DaysLeft) : QString();
    case colArchivos: return FileNames(g);
    default: break;
    }
    return QVariant();
}

QVariant TBookModel::headerData(int ASection, Qt::Orientation AOrientation, int ARole) const
{
    if (AOrientation != Qt::Horizontal || ARole != Qt::DisplayRole)
        return QVariant();
    static const QStringList titles = {
        QStringLiteral("Estado"),   QStringLiteral("Organización"), QStringLiteral("Titular"),
        QStringLiteral("CUIT"),     QStringLiteral("Ambiente"),     QStringLiteral("Vence"),
        QStringLiteral("Días"),     QStringLiteral("Archivos")};
    return titles.value(ASection);
}
