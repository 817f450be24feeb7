#pragma once
// Catalogue module with table-map editor tools.

#include "UDmImages.h"

class TDmImagesMapaMesa : public TDmImages
{
public:
    explicit TDmImagesMapaMesa(QObject *AOwner = nullptr);
    static TDmImagesClass ClassType();
};
