#pragma once
// Catalogue module with record navigator buttons.

#include "UDmImages.h"

class TDmImagesNav : public TDmImages
{
public:
    explicit TDmImagesNav(QObject *AOwner = nullptr);
    static TDmImagesClass ClassType();
};
