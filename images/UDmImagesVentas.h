#pragma once
// Catalogue module with sales symbols.

#include "UDmImages.h"

class TDmImagesVentas : public TDmImages
{
public:
    explicit TDmImagesVentas(QObject *AOwner = nullptr);
    static TDmImagesClass ClassType();
};
