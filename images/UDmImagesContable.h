#pragma once
// Catalogue module with accounting symbols.

#include "UDmImages.h"

class TDmImagesContable : public TDmImages
{
public:
    explicit TDmImagesContable(QObject *AOwner = nullptr);
    static TDmImagesClass ClassType();
};
