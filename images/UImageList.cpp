#include "UImageList.h"

#include "Exception.h"

#include <QBitmap>
#include <QIcon>
#include <QPainter>
#include <QPixmap>

namespace {

constexpr QImage::Format StoreFormat = QImage::Format_ARGB32_Premultiplied;

void ThrowReplaceFailed()
{
    throw Exception(QStringLiteral("No se puede reemplazar la imagen de la lista."));
}

} // namespace

TImageList::TImageList(QObject *AOwner)
    : TImageList(16, 16, AOwner)
{
}

TImageList::TImageList(int AWidth, int AHeight, QObject *AOwner)
    : QObject(AOwner), FWidth(AWidth), FHeight(AHeight)
{
}

QImage TImageList::Rendered(int AIndex) const
{
    if (AIndex < 0 || AIndex >= FImages.size())
        return QImage();
    if (!FBkColor.isValid())
        return FImages.at(AIndex);
    QImage result(FWidth, FHeight, StoreFormat);
    result.fill(FBkColor);
    QPainter painter(&result);
    painter.drawImage(0, 0, FImages.at(AIndex));
    return result;
}

QImage TImageList::Image(int AIndex) const
{
    if (AIndex < 0 || AIndex >= FImages.size())
        return QImage();
    return FImages.at(AIndex);
}

void TImageList::Draw(QPainter &APainter, int X, int Y, int AIndex) const
{
    if (AIndex < 0 || AIndex >= FImages.size())
        return;
    if (FBkColor.isValid())
        APainter.fillRect(X, Y, FWidth, FHeight, FBkColor);
    APainter.drawImage(X, Y, FImages.at(AIndex));
}

void TImageList::GetBitmap(int AIndex, QPixmap &ABitmap) const
{
    if (AIndex < 0 || AIndex >= FImages.size())
        return;
    if (ABitmap.width() != FWidth || ABitmap.height() != FHeight) {
        QPixmap resized(FWidth, FHeight);
        resized.fill(Qt::transparent);
        if (!ABitmap.isNull()) {
            QPainter copy(&resized);
            copy.drawPixmap(0, 0, ABitmap);
        }
        ABitmap = resized;
    }
    QPainter painter(&ABitmap);
    Draw(painter, 0, 0, AIndex);
}

void TImageList::GetIcon(int AIndex, QIcon &AIcon) const
{
    if (AIndex < 0 || AIndex >= FImages.size()) {
        AIcon = QIcon();
        return;
    }
    AIcon = QIcon(QPixmap::fromImage(Rendered(AIndex)));
}

QImage TImageList::FromIcon(const QIcon &AIcon) const
{
    QImage cell(FWidth, FHeight, StoreFormat);
    cell.fill(Qt::transparent);
    if (AIcon.isNull())
        return cell;
    const QPixmap pixmap = AIcon.pixmap(QSize(FWidth, FHeight));
    QPainter painter(&cell);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    if (pixmap.size() == QSize(FWidth, FHeight))
        painter.drawPixmap(0, 0, pixmap);
    else
        painter.drawPixmap(QRect(0, 0, FWidth, FHeight), pixmap);
    return cell;
}

QImage TImageList::Cell(const QImage &AImage, const QImage &AMask, int AX) const
{
    QImage cell(FWidth, FHeight, StoreFormat);
    cell.fill(Qt::transparent);
    const QImage source = AImage.convertToFormat(QImage::Format_ARGB32);
    const int w = qMin(FWidth, source.width() - AX);
    const int h = qMin(FHeight, source.height());
    for (int y = 0; y < h; ++y) {
        const QRgb *src = reinterpret_cast<const QRgb *>(source.constScanLine(y)) + AX;
        QRgb *dst = reinterpret_cast<QRgb *>(cell.scanLine(y));
        for (int x = 0; x < w; ++x) {
            if (AMask.isNull()) {
                dst[x] = qPremultiply(src[x]);
            } else {
                const bool inMask = AX + x < AMask.width() && y < AMask.height();
                const bool opaque = inMask && qGray(AMask.pixel(AX + x, y)) < 128;
                dst[x] = opaque ? (src[x] | 0xff000000u) : 0u;
            }
        }
    }
    return cell;
}

int TImageList::AddMasked(const QImage &AImage, const QImage &AMask)
{
    const int first = FImages.size();
    if (AImage.isNull())
        return first;
    const int pictures = qMax(1, AImage.width() / FWidth);
    for (int i = 0; i < pictures; ++i)
        FImages.append(Cell(AImage, AMask, i * FWidth));
    return first;
}

int TImageList::Add(const QPixmap &AImage, const QBitmap &AMask)
{
    return AddMasked(AImage.toImage(), AMask.isNull() ? QImage() : AMask.toImage());
}

int TImageList::AddIcon(const QIcon &AIcon)
{
    FImages.append(FromIcon(AIcon));
    return FImages.size() - 1;
}

void TImageList::ReplaceIcon(int AIndex, const QIcon &AIcon)
{
    if (AIndex < 0 || AIndex >= FImages.size())
        ThrowReplaceFailed();
    FImages[AIndex] = FromIcon(AIcon);
}

void TImageList::Replace(int AIndex, const QPixmap &AImage, const QBitmap &AMask)
{
    if (AIndex < 0 || AIndex >= FImages.size())
        ThrowReplaceFailed();
    FImages[AIndex] = Cell(AImage.toImage(), AMask.isNull() ? QImage() : AMask.toImage(), 0);
}
