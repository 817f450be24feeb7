#pragma once
// Catalogue module with message symbols.

#include "UDmImages.h"

class TDmImagesMessage : public TDmImages
{
public:
    explicit TDmImagesMessage(QObject *AOwner = nullptr);
    static TDmImagesClass ClassType();
};
