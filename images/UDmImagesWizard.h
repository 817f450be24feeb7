#pragma once
// Catalogue module with wizard symbols and pictures.

#include "UDmImages.h"

class TDmImagesWizard : public TDmImages
{
public:
    explicit TDmImagesWizard(QObject *AOwner = nullptr);
    static TDmImagesClass ClassType();
};
