#include "UDmImagesNotificaciones.h"

namespace {

const TImageListDecl Lists[] = {
    {"ImgNotificacionesPng32", is32p, ivPng, 32, 32, 2, clNone},
    {"ImgNotificacionesBmp32", is32p, ivBmp, 32, 32, 2, clNone},
    {"ImgNotificacionesPng16", is16p, ivPng, 16, 16, 2, clNone},
    {"ImgNotificacionesBmp16", is16p, ivBmp, 16, 16, 2, clNone},
};

// Picture order: the index of an identifier in every list.
const TImageEnum Order[] = {
    ieNotificacionesSin,
    ieNotificacionesCon,
};

TDmImages *Create(QObject *AOwner)
{
    return new TDmImagesNotificaciones(AOwner);
}

const TDmImagesDecl ModuleDecl = {
    "TDmImagesNotificaciones", "Notificaciones", Lists, std::size(Lists), Order, std::size(Order), ikOrder, Create,
};

} // namespace

TDmImagesNotificaciones::TDmImagesNotificaciones(QObject *AOwner)
    : TDmImages(&ModuleDecl, AOwner)
{
}

TDmImagesClass TDmImagesNotificaciones::ClassType()
{
    return &ModuleDecl;
}
