#include "UDmImagesAdministrador.h"

namespace {

const TImageListDecl Lists[] = {
    {"ImgAdministrador16Png", is16p, ivPng, 16, 16, 7, clNone},
    {"ImgAdministrador16Bmp", is16p, ivBmp, 16, 16, 7, clNone},
    {"ImgAdministrador32Png", is32p, ivPng, 32, 32, 7, clNone},
    {"ImgAdministrador32Bmp", is32p, ivBmp, 32, 32, 7, clNone},
};

// Picture order: the index of an identifier in every list.
const TImageEnum Order[] = {
    ieAdmCandadoLocked,
    ieAdmCandadoUnlocked,
    ieAdmUser,
    ieAdmRol,
    ieAdmReporte,
    ieAdmNetwork,
    ieAdmTerminal,
};

TDmImages *Create(QObject *AOwner)
{
    return new TDmImagesAdministrador(AOwner);
}

const TDmImagesDecl ModuleDecl = {
    "TDmImagesAdministrador", "Administrador", Lists, std::size(Lists), Order, std::size(Order), ikOrder, Create,
};

} // namespace

TDmImagesAdministrador::TDmImagesAdministrador(QObject *AOwner)
    : TDmImages(&ModuleDecl, AOwner)
{
}

TDmImagesClass TDmImagesAdministrador::ClassType()
{
    return &ModuleDecl;
}
