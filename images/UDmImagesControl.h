#pragma once
// Catalogue module with large previews of input controls.

#include "UDmImages.h"

class TDmImagesControl : public TDmImages
{
public:
    explicit TDmImagesControl(QObject *AOwner = nullptr);
    static TDmImagesClass ClassType();
};
