#pragma once
// Catalogue module with alignment tools.

#include "UDmImages.h"

class TDmImagesAlineacion : public TDmImages
{
public:
    explicit TDmImagesAlineacion(QObject *AOwner = nullptr);
    static TDmImagesClass ClassType();
};
