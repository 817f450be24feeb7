#pragma once
// Catalogue module with the blank picture.

#include "UDmImages.h"

class TDmImagesEmpty : public TDmImages
{
public:
    explicit TDmImagesEmpty(QObject *AOwner = nullptr);
    static TDmImagesClass ClassType();
};
