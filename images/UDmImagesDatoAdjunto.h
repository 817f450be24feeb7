#pragma once
// Catalogue module with attached-data markers.

#include "UDmImages.h"

class TDmImagesDatoAdjunto : public TDmImages
{
public:
    explicit TDmImagesDatoAdjunto(QObject *AOwner = nullptr);
    static TDmImagesClass ClassType();
};
