#pragma once
// Catalogue module with office suite symbols.

#include "UDmImages.h"

class TDmImagesMs : public TDmImages
{
public:
    explicit TDmImagesMs(QObject *AOwner = nullptr);
    static TDmImagesClass ClassType();
};
