#pragma once
// Catalogue module with notification bells.

#include "UDmImages.h"

class TDmImagesNotificaciones : public TDmImages
{
public:
    explicit TDmImagesNotificaciones(QObject *AOwner = nullptr);
    static TDmImagesClass ClassType();
};
