#include "UDmImagesAdmEmpresas.h"

namespace {

const TImageListDecl Lists[] = {
    {"ImgAdmEmpresas16Png", is16p, ivPng, 16, 16, 4, clNone},
    {"ImgAdmEmpresas16Bmp", is16p, ivBmp, 16, 16, 4, clNone},
    {"ImgAdmEmpresas32Png", is32p, ivPng, 32, 32, 4, clNone},
    {"ImgAdmEmpresas32Bmp", is32p, ivBmp, 32, 32, 4, clNone},
};

// Picture order: the index of an identifier in every list.
const TImageEnum Order[] = {
    ieAdmEmpresa,
    ieAdmCamposAdicionales,
    ieAdmAutomatizacion,
    ieAdmUtilidades,
};

TDmImages *Create(QObject *AOwner)
{
    return new TDmImagesAdmEmpresas(AOwner);
}

const TDmImagesDecl ModuleDecl = {
    "TDmImagesAdmEmpresas", "AdmEmpresas", Lists, std::size(Lists), Order, std::size(Order), ikOrder, Create,
};

} // namespace

TDmImagesAdmEmpresas::TDmImagesAdmEmpresas(QObject *AOwner)
    : TDmImages(&ModuleDecl, AOwner)
{
}

TDmImagesClass TDmImagesAdmEmpresas::ClassType()
{
    return &ModuleDecl;
}
