#pragma once
// Catalogue module with calculation and formula symbols.

#include "UDmImages.h"

class TDmImagesMath : public TDmImages
{
public:
    explicit TDmImagesMath(QObject *AOwner = nullptr);
    static TDmImagesClass ClassType();
};
