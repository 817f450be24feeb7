#pragma once
// Catalogue module with print destinations.

#include "UDmImages.h"

class TDmImagesDestImp : public TDmImages
{
public:
    explicit TDmImagesDestImp(QObject *AOwner = nullptr);
    static TDmImagesClass ClassType();
};
