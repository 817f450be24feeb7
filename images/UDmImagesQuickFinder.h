#pragma once
// Catalogue module with quick finder box symbols.

#include "UDmImages.h"

class TDmImagesQuickFinder : public TDmImages
{
public:
    explicit TDmImagesQuickFinder(QObject *AOwner = nullptr);
    static TDmImagesClass ClassType();
};
