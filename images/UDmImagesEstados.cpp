#include "UDmImagesEstados.h"

namespace {

const TImageListDecl Lists[] = {
    {"ImgEstados16Png", is16p, ivPng, 16, 16, 4, clNone},
    {"ImgEstados16Bmp", is16p, ivBmp, 16, 16, 4, clNone},
    {"ImgEstados32Png", is32p, ivPng, 32, 32, 4, clNone},
    {"ImgEstados32Bmp", is32p, ivBmp, 32, 32, 4, clNone},
};

// Picture order: the index of an identifier in every list.
const TImageEnum Order[] = {
    ieEstadoOK,
    ieEstadoError,
    ieEstadoDisabled,
    ieEstadoWarning,
};

TDmImages *Create(QObject *AOwner)
{
    return new TDmImagesEstados(AOwner);
}

const TDmImagesDecl ModuleDecl = {
    "TDmImagesEstados", "Estados", Lists, std::size(Lists), Order, std::size(Order), ikOrder, Create,
};

} // namespace

TDmImagesEstados::TDmImagesEstados(QObject *AOwner)
    : TDmImages(&ModuleDecl, AOwner)
{
}

TDmImagesClass TDmImagesEstados::ClassType()
{
    return &ModuleDecl;
}
