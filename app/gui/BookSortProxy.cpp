#include "BookSortProxy.h"

#include "BookModel.h"

TBookSortProxy::TBookSortProxy(TBookModel *AModel, QObject *AParent)
    : QSortFilterProxyModel(AParent), FModel(AModel)
{
    setSourceModel(AModel);
}

bool TBookSortProxy::lessThan(const QModelIndex &ALeft, const QModelIndex &ARight) const
{
    // Descending, the view asks lessThan(right, left): the rows' own order
    // is turned round as well, so that within a family it reads the same
    // either way (the certificate first, its renewals after it).
    const bool descending = sortOrder() == Qt::DescendingOrder;
    const auto before = [descending](int A, int B) { return descending ? B < A : A < B; };
    const int left = FModel->RenewedRow(ALeft.row());
    const int right = FModel->RenewedRow(ARight.row());
    if (left == right)
        return before(ALeft.row(), ARight.row());
    const QModelIndex l = FModel->index(left, ALeft.column());
    const QModelIndex r = FModel->index(right, ARight.column());
    if (QSortFilterProxyModel::lessThan(l, r))
        return true;
    if (QSortFilterProxyModel::lessThan(r, l))
        return false;
    // Equal values: two families are not interleaved.
    return before(left, right);
}
