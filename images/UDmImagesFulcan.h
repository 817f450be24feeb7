#pragma once
// Catalogue module with point-of-sale station symbols.

#include "UDmImages.h"

class TDmImagesFulcan : public TDmImages
{
public:
    explicit TDmImagesFulcan(QObject *AOwner = nullptr);
    static TDmImagesClass ClassType();
};
