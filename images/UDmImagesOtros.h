#pragma once
// Catalogue module with the large payment-forms picture.

#include "UDmImages.h"

class TDmImagesOtros : public TDmImages
{
public:
    explicit TDmImagesOtros(QObject *AOwner = nullptr);
    static TDmImagesClass ClassType();
};
