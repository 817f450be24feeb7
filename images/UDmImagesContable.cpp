#include "UDmImagesContable.h"

namespace {

const TImageListDecl Lists[] = {
    {"ImgContable16Png", is16p, ivPng, 16, 16, 6, clNone},
    {"ImgContable16Bmp", is16p, ivBmp, 16, 16, 6, clNone},
    {"ImgContable32Png", is32p, ivPng, 32, 32, 6, clNone},
    {"ImgContable32Bmp", is32p, ivBmp, 32, 32, 6, clNone},
    {"ImgContable11Bmp", is11p, ivBmp, 11, 11, 6, clNone},
    {"ImgContable11Png", is11p, ivPng, 11, 11, 6, clNone},
};

// Picture order: the index of an identifier in every list.
const TImageEnum Order[] = {
    ieContableAsiento,
    ieContableAsignarDiferencia,
    ieContableInvertirImporte,
    ieContableMoneda,
    ieContableConsultarSaldos,
    ieContableLockArbol,
};

TDmImages *Create(QObject *AOwner)
{
    return new TDmImagesContable(AOwner);
}

const TDmImagesDecl ModuleDecl = {
    "TDmImagesContable", "Contable", Lists, std::size(Lists), Order, std::size(Order), ikOrder, Create,
};

} // namespace

TDmImagesContable::TDmImagesContable(QObject *AOwner)
    : TDmImages(&ModuleDecl, AOwner)
{
}

TDmImagesClass TDmImagesContable::ClassType()
{
    return &ModuleDecl;
}
