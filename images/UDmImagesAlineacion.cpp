#include "UDmImagesAlineacion.h"

namespace {

const TImageListDecl Lists[] = {
    {"ImgAlineacion16Png", is16p, ivPng, 16, 16, 6, clNone},
    {"ImgAlineacion16Bmp", is16p, ivBmp, 16, 16, 6, clNone},
    {"ImgAlineacion32Png", is32p, ivPng, 32, 32, 6, clNone},
    {"ImgAlineacion32Bmp", is32p, ivBmp, 32, 32, 6, clNone},
};

// Picture order: the index of an identifier in every list.
const TImageEnum Order[] = {
    ieAlignTop,
    ieAlignCenterVertical,
    ieAlignBottom,
    ieAlignLeft,
    ieAlignCenterHorizontal,
    ieAlignRight,
};

TDmImages *Create(QObject *AOwner)
{
    return new TDmImagesAlineacion(AOwner);
}

const TDmImagesDecl ModuleDecl = {
    "TDmImagesAlineacion", "Alineacion", Lists, std::size(Lists), Order, std::size(Order), ikOrder, Create,
};

} // namespace

TDmImagesAlineacion::TDmImagesAlineacion(QObject *AOwner)
    : TDmImages(&ModuleDecl, AOwner)
{
}

TDmImagesClass TDmImagesAlineacion::ClassType()
{
    return &ModuleDecl;
}
