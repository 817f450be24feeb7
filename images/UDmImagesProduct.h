#pragma once
// Catalogue module with product icons.

#include "UDmImages.h"

class TDmImagesProduct : public TDmImages
{
public:
    explicit TDmImagesProduct(QObject *AOwner = nullptr);
    static TDmImagesClass ClassType();
};
