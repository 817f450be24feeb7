#pragma once
// TBookModel: the groups of the certificate book as the rows of a table.
// State by text and icon; Qt::UserRole gives each cell's sort key, so that
// the state column sorts by urgency. A renewal's row knows the row of the
// certificate it is to replace (TBookSortProxy keeps them together).

#include "CertificateBook.h"

#include <QAbstractTableModel>

class TBookModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum TColumn { colEstado, colOrganizacion, colTitular, colCUIT, colAmbiente, colVence,
                   colDias, colArchivos, ColumnCount };

    explicit TBookModel(QObject *AParent = nullptr);

    void SetGroups(const QList<TBookGroup> &AGroups);
    const QList<TBookGroup> &Groups() const { return FGroups; }
    const TBookGroup &Group(int ARow) const { return FGroups.at(ARow); }
    // The row of the certificate a renewal's row is to replace (that
    // certificate's own when it is a renewal too); ARow itself for any other.
    int RenewedRow(int ARow) const { return FRenewed.value(ARow, ARow); }

    int rowCount(const QModelIndex &AParent = QModelIndex()) const override;
    int columnCount(const QModelIndex &AParent = QModelIndex()) const override;
    QVariant data(const QModelIndex &AIndex, int ARole = Qt::DisplayRole) const override;
    QVariant headerData(int ASection, Qt::Orientation AOrientation,
                        int ARole = Qt::DisplayRole) const override;

    static QString EnvironmentText(const TBookGroup &AGroup);

private:
    QList<TBookGroup> FGroups;
    QList<int> FRenewed;
};
