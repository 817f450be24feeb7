#pragma once
// The wizard's picture: the bitmap the host supplies and the image widget
// that shows it in the side strip or in the header.

#include "WizardPanels.h"

#include <QPixmap>
#include <QRegion>
#include <QWidget>

// The picture held by the image widget.  Changing it repaints the image.
class TPictureKv
{
public:
    explicit TPictureKv(QWidget *AImage) : FImage(AImage) {}
    const QPixmap &Bitmap() const { return FBitmap; }
    bool Empty() const { return FBitmap.isNull(); }
    // Sizes in device-independent pixels: a bitmap drawn for a high-density
    // screen takes the room of its size at a scale factor of 1.
    int Width() const { return qRound(FBitmap.deviceIndependentSize().width()); }
    int Height() const { return qRound(FBitmap.deviceIndependentSize().height()); }
    void Assign(const QPixmap &ABitmap);
    bool LoadFromFile(const QString &AFileName);

private:
    QWidget *FImage;
    QPixmap FBitmap;
};

// Image widget: draws its picture at its top-left corner; when Transparent
// the colour of the bitmap's bottom-left pixel is not drawn.
class TImageKv : public QWidget
{
    Q_OBJECT
public:
    explicit TImageKv(QWidget *AParent);
    TPictureKv *Picture() { return &FPicture; }
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool AValue);
    TAlignKv Align = TAlignKv::alLeft;

protected:
    void paintEvent(QPaintEvent *) override;

private:
    // Prepares the picture as drawn, kept until the picture or the
    // transparency changes: with its see-through colour cleared, or, when
    // that colour covers only a few runs of pixels, the picture itself drawn
    // inside FDrawnClip (which saves a copy of a large picture).
    void PrepareDrawn();

    TPictureKv FPicture;
    bool FTransparent = false;
    QPixmap FDrawn;
    QRegion FDrawnClip;
    bool FDrawnClipped = false;
    qint64 FDrawnKey = 0;
    bool FDrawnTransparent = false;
};
