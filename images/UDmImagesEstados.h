#pragma once
// Catalogue module with state markers.

#include "UDmImages.h"

class TDmImagesEstados : public TDmImages
{
public:
    explicit TDmImagesEstados(QObject *AOwner = nullptr);
    static TDmImagesClass ClassType();
};
