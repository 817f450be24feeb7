#pragma once
// Catalogue module with plain arrows.

#include "UDmImages.h"

class TDmImagesArrow : public TDmImages
{
public:
    explicit TDmImagesArrow(QObject *AOwner = nullptr);
    static TDmImagesClass ClassType();
};
