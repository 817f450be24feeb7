#include "UImageList.h"

#include "Exception.h"

#include <QBitmap>
#include <QIcon>
#include <QPainter>
#include <QPixmap>

#include <algorithm>

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

const QImage &TImageList::Picture(int AIndex) const
{
    int &pending = FPending[AIndex];
    if (pending >= 0) {
        TStrip &strip = FStrips[pending];
        if (strip.Decode) {
            QImage image;
            QImage mask;
            strip.Decode(image, mask);
            strip.Image = image;
            strip.Mask = mask;
            strip.Decode = nullptr;
            strip.Decoded = true;
        }
        FImages[AIndex] = Cell(strip.Image, strip.Mask, (AIndex - strip.First) * FWidth);
        pending = -1;
        if (--strip.Remaining == 0) {
            strip.Image = QImage();
            strip.Mask = QImage();
        }
    }
    return FImages.at(AIndex);
}

int TImageList::CutCount() const
{
    return static_cast<int>(std::count(FPending.cbegin(), FPending.cend(), -1));
}

int TImageList::DecodedStripCount() const
{
    return static_cast<int>(std::count_if(FStrips.cbegin(), FStrips.cend(),
                                          [](const TStrip &AStrip) { return AStrip.Decoded; }));
}

void TImageList::SetPicture(int AIndex, const QImage &AImage)
{
    int &pending = FPending[AIndex];
    if (pending >= 0) {
        TStrip &strip = FStrips[pending];
        if (--strip.Remaining == 0) {
            strip.Image = QImage();
            strip.Mask = QImage();
            strip.Decode = nullptr; // nothing of it is needed any more
        }
        pending = -1;
    }
    FImages[AIndex] = AImage;
}

void TImageList::Clear()
{
    FImages.clear();
    FPending.clear();
    FStrips.clear();
}

QImage TImageList::Rendered(int AIndex) const
{
    if (AIndex < 0 || AIndex >= FImages.size())
        return QImage();
    if (!FBkColor.isValid())
        return Picture(AIndex);
    QImage result(FWidth, FHeight, StoreFormat);
    result.fill(FBkColor);
    QPainter painter(&result);
    painter.drawImage(0, 0, Picture(AIndex));
    return result;
}

QImage TImageList::Image(int AIndex) const
{
    if (AIndex < 0 || AIndex >= FImages.size())
        return QImage();
    return Picture(AIndex);
}

void TImageList::Draw(QPainter &APainter, int X, int Y, int AIndex) const
{
    if (AIndex < 0 || AIndex >= FImages.size())
        return;
    if (FBkColor.isValid())
        APainter.fillRect(X, Y, FWidth, FHeight, FBkColor);
    APainter.drawImage(X, Y, Picture(AIndex));
}

void TImageList::GetBitmap(int AIndex, QPixmap &ABitmap) const
{
    if (AIndex < 0 || AIndex >= FImages.size())
        return;
    if (ABitmap.isNull()) {
        // Drawn over nothing, the bitmap is the picture as drawn: no painter.
        ABitmap = QPixmap::fromImage(Rendered(AIndex));
        return;
    }
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
    const int w = qMin(FWidth, AImage.width() - AX);
    const int h = qMin(FHeight, AImage.height());
    if (w <= 0 || h <= 0)
        return cell;
    // Only the picture's own rectangle of the strip is converted.
    const QImage source = AImage.copy(AX, 0, w, h).convertToFormat(QImage::Format_ARGB32);
    const bool masked = !AMask.isNull();
    // Pixels outside the mask are transparent.
    const int mw = masked ? qBound(0, AMask.width() - AX, w) : 0;
    const int mh = masked ? qBound(0, AMask.height(), h) : 0;
    const QImage mask = mw > 0 && mh > 0
                            ? AMask.copy(AX, 0, mw, mh).convertToFormat(QImage::Format_ARGB32)
                            : QImage();
    for (int y = 0; y < h; ++y) {
        const QRgb *src = reinterpret_cast<const QRgb *>(source.constScanLine(y));
        const QRgb *bits = y < mh ? reinterpret_cast<const QRgb *>(mask.constScanLine(y)) : nullptr;
        QRgb *dst = reinterpret_cast<QRgb *>(cell.scanLine(y));
        for (int x = 0; x < w; ++x) {
            if (!masked) {
                dst[x] = qPremultiply(src[x]);
            } else {
                const bool opaque = bits && x < mw && qGray(bits[x]) < 128;
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
    FStrips.append(TStrip{AImage, AMask, first, pictures, nullptr, true});
    FImages.resize(first + pictures);
    FPending.resize(first + pictures, static_cast<int>(FStrips.size() - 1));
    return first;
}

int TImageList::AddDeferred(int APictures, TStripDecoder ADecode)
{
    const int first = FImages.size();
    if (APictures <= 0 || !ADecode)
        return first;
    FStrips.append(TStrip{QImage(), QImage(), first, APictures, std::move(ADecode), false});
    FImages.resize(first + APictures);
    FPending.resize(first + APictures, static_cast<int>(FStrips.size() - 1));
    return first;
}

int TImageList::Add(const QPixmap &AImage, const QBitmap &AMask)
{
    return AddMasked(AImage.toImage(), AMask.isNull() ? QImage() : AMask.toImage());
}

int TImageList::AddIcon(const QIcon &AIcon)
{
    FImages.append(FromIcon(AIcon));
    FPending.append(-1);
    return FImages.size() - 1;
}

void TImageList::ReplaceIcon(int AIndex, const QIcon &AIcon)
{
    if (AIndex < 0 || AIndex >= FImages.size())
        ThrowReplaceFailed();
    SetPicture(AIndex, FromIcon(AIcon));
}

void TImageList::Replace(int AIndex, const QPixmap &AImage, const QBitmap &AMask)
{
    if (AIndex < 0 || AIndex >= FImages.size())
        ThrowReplaceFailed();
    SetPicture(AIndex, Cell(AImage.toImage(), AMask.isNull() ? QImage() : AMask.toImage(), 0));
}
