#pragma once
// Catalogue module with treasury symbols.

#include "UDmImages.h"

class TDmImagesFondos : public TDmImages
{
public:
    explicit TDmImagesFondos(QObject *AOwner = nullptr);
    static TDmImagesClass ClassType();
};
