#pragma once
// Catalogue module with user administration symbols.

#include "UDmImages.h"

class TDmImagesAdministrador : public TDmImages
{
public:
    explicit TDmImagesAdministrador(QObject *AOwner = nullptr);
    static TDmImagesClass ClassType();
};
