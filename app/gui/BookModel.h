#pragma once
// TBookModel: the groups of the certificate book as the rows of a table.
// State by text and icon; Qt::UserRole gives each cell's sort key, so that
// the state column sorts by urgency.

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

    int rowCount(const QModelIndex &AParent = QModelIndex()) const override;
    int columnCount(const QModelIndex &AParent = QModelIndex()) const override;
    QVariant data(const QModelIndex &AIndex, int ARole = Qt::DisplayRole) const override;
    QVariant headerData(int ASection, Qt::Orientation AOrientation,
                        int ARole = Qt::DisplayRole) const override;

    static QString EnvironmentText(const TBookGroup &AGroup);

private:
    QList<TBookGroup> FGroups;
};
