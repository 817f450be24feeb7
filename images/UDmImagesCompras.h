#pragma once
// Catalogue module with purchasing symbols.

#include "UDmImages.h"

class TDmImagesCompras : public TDmImages
{
public:
    explicit TDmImagesCompras(QObject *AOwner = nullptr);
    static TDmImagesClass ClassType();
};
