#pragma once
// Catalogue module with card terminal symbols with large pictures.

#include "UDmImages.h"

class TDmImagesFondosBig : public TDmImages
{
public:
    explicit TDmImagesFondosBig(QObject *AOwner = nullptr);
    static TDmImagesClass ClassType();
};
