#pragma once
// Catalogue module with vertical (tree) navigator buttons.

#include "UDmImages.h"

class TDmImagesVertNav : public TDmImages
{
public:
    explicit TDmImagesVertNav(QObject *AOwner = nullptr);
    static TDmImagesClass ClassType();
};
