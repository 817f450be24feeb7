#pragma once
// Catalogue module with application module symbols.

#include "UDmImages.h"

class TDmImagesModules : public TDmImages
{
public:
    explicit TDmImagesModules(QObject *AOwner = nullptr);
    static TDmImagesClass ClassType();
};
