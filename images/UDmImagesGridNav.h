#pragma once
// Catalogue module with grid navigator buttons.

#include "UDmImages.h"

class TDmImagesGridNav : public TDmImages
{
public:
    explicit TDmImagesGridNav(QObject *AOwner = nullptr);
    static TDmImagesClass ClassType();
};
