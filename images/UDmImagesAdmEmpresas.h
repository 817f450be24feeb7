#pragma once
// Catalogue module with company administration symbols.

#include "UDmImages.h"

class TDmImagesAdmEmpresas : public TDmImages
{
public:
    explicit TDmImagesAdmEmpresas(QObject *AOwner = nullptr);
    static TDmImagesClass ClassType();
};
