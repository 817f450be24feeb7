#pragma once
// TBookSortProxy: the sorted, filtered view of a TBookModel in which a
// renewal's row stays right after the certificate it is to replace, whatever
// the column and the order: the two sort by the certificate's values.

#include <QSortFilterProxyModel>

class TBookModel;

class TBookSortProxy : public QSortFilterProxyModel
{
    Q_OBJECT
public:
    explicit TBookSortProxy(TBookModel *AModel, QObject *AParent = nullptr);

protected:
    bool lessThan(const QModelIndex &ALeft, const QModelIndex &ARight) const override;

private:
    TBookModel *FModel;
};
