#pragma once
// Catalogue module with database symbols.

#include "UDmImages.h"

class TDmImagesDataBase : public TDmImages
{
public:
    explicit TDmImagesDataBase(QObject *AOwner = nullptr);
    static TDmImagesClass ClassType();
};
