#pragma once
// Catalogue module with large chart-type previews.

#include "UDmImages.h"

class TDmImagesChart : public TDmImages
{
public:
    explicit TDmImagesChart(QObject *AOwner = nullptr);
    static TDmImagesClass ClassType();
};
