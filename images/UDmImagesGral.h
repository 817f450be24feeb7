#pragma once
// Catalogue module with general-purpose symbols.

#include "UDmImages.h"

class TDmImagesGral : public TDmImages
{
public:
    explicit TDmImagesGral(QObject *AOwner = nullptr);
    static TDmImagesClass ClassType();
};
