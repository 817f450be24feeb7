#pragma once
// Catalogue module with traffic-light states.

#include "UDmImages.h"

class TDmImagesSemaphore : public TDmImages
{
public:
    explicit TDmImagesSemaphore(QObject *AOwner = nullptr);
    static TDmImagesClass ClassType();
};
