#pragma once
// An image list: equally sized pictures numbered 0 .. Count()-1, with an
// optional background colour, drawn into bitmaps (QPixmap) or taken as icons.
//
// Pictures are kept as premultiplied ARGB images, so a list stays usable
// after the GUI application object is gone (the catalogue modules outlive
// it at program end). A picture added as image + mask keeps the mask as its
// alpha channel (fully opaque or fully transparent pixels only).
//
// A strip added as image + mask is kept whole; each of its pictures is cut
// out and converted the first time it is drawn or asked for, then kept. A
// deferred strip is decoded only when the first of its pictures is needed.

#include <QColor>
#include <QImage>
#include <QObject>
#include <QVector>

#include <functional>

class QBitmap;
class QIcon;
class QPainter;
class QPixmap;

class TImageList : public QObject
{
public:
    // An empty list of 16 x 16 pictures, owned by AOwner (may be none).
    explicit TImageList(QObject *AOwner = nullptr);
    TImageList(int AWidth, int AHeight, QObject *AOwner = nullptr);

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    int Count() const { return FImages.size(); }
    // Pictures cut out of their strip so far (for inspection).
    int CutCount() const;
    // Strips, deferred ones included, whose images have been obtained.
    int DecodedStripCount() const;

    // Invalid colour = none: the pictures' transparent parts stay transparent.
    // A valid one fills every picture's area before the picture is drawn.
    QColor BkColor() const { return FBkColor; }
    void SetBkColor(const QColor &AColor) { FBkColor = AColor; }
    // Kept with the list for selected/focused drawing; plain drawing ignores it.
    QColor BlendColor() const { return FBlendColor; }
    void SetBlendColor(const QColor &AColor) { FBlendColor = AColor; }

    // Draws picture AIndex into ABitmap: the bitmap is resized to Width() x
    // Height() (old contents kept at the top-left, new area transparent) and
    // the picture is drawn over it at (0, 0). An index outside the list leaves
    // ABitmap exactly as it was.
    void GetBitmap(int AIndex, QPixmap &ABitmap) const;
    // AIcon receives picture AIndex at the list's size; an index outside the
    // list leaves AIcon empty (null).
    void GetIcon(int AIndex, QIcon &AIcon) const;
    // Draws picture AIndex at (X, Y); nothing for an index outside the list.
    void Draw(QPainter &APainter, int X, int Y, int AIndex) const;

    // Appends the icon, scaled to the list's size; returns its index.
    int AddIcon(const QIcon &AIcon);
    // Appends AImage with AMask (set bits opaque, clear bits transparent).
    // An image wider than the list is a strip: it adds Width()-wide pictures
    // from left to right. Returns the index of the first picture added.
    int Add(const QPixmap &AImage, const QBitmap &AMask);
    // The same for images already in memory: AMask is any image whose dark
    // pixels mark the opaque ones; a null AMask takes AImage's own alpha.
    int AddMasked(const QImage &AImage, const QImage &AMask);
    // Appends APictures pictures of a strip that is not decoded yet: ADecode
    // gives its image and mask, as AddMasked takes them, the first time one
    // of its pictures is needed. An exception from ADecode leaves the strip
    // undecoded (the next use tries again) and reaches the caller.
    using TStripDecoder = std::function<void(QImage &AImage, QImage &AMask)>;
    int AddDeferred(int APictures, TStripDecoder ADecode);
    // Replaces picture AIndex; throws Exception for an index outside the list.
    void ReplaceIcon(int AIndex, const QIcon &AIcon);
    void Replace(int AIndex, const QPixmap &AImage, const QBitmap &AMask);

    // Picture AIndex as stored (without the background colour); a null image
    // for an index outside the list.
    QImage Image(int AIndex) const;
    // Picture AIndex as drawn (background colour applied).
    QImage Rendered(int AIndex) const;
    void Clear();

private:
    // An added strip whose pictures are not all cut yet.
    struct TStrip
    {
        QImage Image;
        QImage Mask;
        int First;     // index of its first picture in the list
        int Remaining; // pictures still to cut; the images are freed at 0
        TStripDecoder Decode; // a deferred strip's, until it has been decoded
        bool Decoded;         // its images have been obtained
    };

    const QImage &Picture(int AIndex) const;
    QImage FromIcon(const QIcon &AIcon) const;
    QImage Cell(const QImage &AImage, const QImage &AMask, int AX) const;
    void SetPicture(int AIndex, const QImage &AImage);

    int FWidth;
    int FHeight;
    QColor FBkColor;
    QColor FBlendColor;
    mutable QVector<QImage> FImages;
    mutable QVector<int> FPending; // per picture: its strip in FStrips, -1 = cut
    mutable QVector<TStrip> FStrips;
};
