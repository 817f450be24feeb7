#pragma once
// Catalogue module with dialog box symbols.

#include "UDmImages.h"

class TDmImagesDialog : public TDmImages
{
public:
    explicit TDmImagesDialog(QObject *AOwner = nullptr);
    static TDmImagesClass ClassType();
};
