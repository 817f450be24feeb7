#pragma once
// Catalogue module with toolbar menu entries.

#include "UDmImages.h"

class TDmImagesToolbarMenu : public TDmImages
{
public:
    explicit TDmImagesToolbarMenu(QObject *AOwner = nullptr);
    static TDmImagesClass ClassType();
};
