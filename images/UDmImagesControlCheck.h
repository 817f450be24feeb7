#pragma once
// Catalogue module with check-box states.

#include "UDmImages.h"

class TDmImagesControlCheck : public TDmImages
{
public:
    explicit TDmImagesControlCheck(QObject *AOwner = nullptr);
    static TDmImagesClass ClassType();
};
