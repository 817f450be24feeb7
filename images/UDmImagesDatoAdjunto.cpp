#include "UDmImagesDatoAdjunto.h"

namespace {

const TImageListDecl Lists[] = {
    {"ImgDatoAdjunto16Png", is16p, ivPng, 16, 16, 2, clNone},
    {"ImgDatoAdjunto16Bmp", is16p, ivBmp, 16, 16, 2, clNone},
    {"ImgDatoAdjunto32Png", is32p, ivPng, 32, 32, 2, clNone},
    {"ImgDatoAdjunto32Bmp", is32p, ivBmp, 32, 32, 2, clNone},
};

// Picture order: the index of an identifier in every list.
const TImageEnum Order[] = {
    ieDatoAdjuntoCon,
    ieDatoAdjuntoSin,
};

TDmImages *Create(QObject *AOwner)
{
    return new TDmImagesDatoAdjunto(AOwner);
}

const TDmImagesDecl ModuleDecl = {
    "TDmImagesDatoAdjunto", "DatoAdjunto", Lists, std::size(Lists), Order, std::size(Order), ikOrder, Create,
};

} // namespace

TDmImagesDatoAdjunto::TDmImagesDatoAdjunto(QObject *AOwner)
    : TDmImages(&ModuleDecl, AOwner)
{
}

TDmImagesClass TDmImagesDatoAdjunto::ClassType()
{
    return &ModuleDecl;
}
