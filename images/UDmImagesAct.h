#pragma once
// Catalogue module with toolbar and menu actions.

#include "UDmImages.h"

class TDmImagesAct : public TDmImages
{
public:
    explicit TDmImagesAct(QObject *AOwner = nullptr);
    static TDmImagesClass ClassType();
};
