#pragma once
// Catalogue module with the makers' logos.

#include "UDmImages.h"

class TDmImagesLogo : public TDmImages
{
public:
    explicit TDmImagesLogo(QObject *AOwner = nullptr);
    static TDmImagesClass ClassType();

    // A logo comes at its own list's size whatever size is asked for; an
    // identifier that is not a logo leaves ABitMap untouched.
    void GetBitmap(TImageEnum AImageEnum, TImageSize AImageSize, QPixmap &ABitMap) override;
};
