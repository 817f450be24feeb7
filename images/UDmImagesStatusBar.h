#pragma once
// Catalogue module with status-bar symbols.

#include "UDmImages.h"

class TDmImagesStatusBar : public TDmImages
{
public:
    explicit TDmImagesStatusBar(QObject *AOwner = nullptr);
    static TDmImagesClass ClassType();
};
