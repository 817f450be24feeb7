#include "UDmImagesMapaMesa.h"

namespace {

const TImageListDecl Lists[] = {
    {"ImgAct16Png", is16p, ivPng, 16, 16, 15, clNone},
    {"ImgAct16Bmp", is16p, ivBmp, 16, 16, 15, clNone},
    {"ImgAct32Bmp", is32p, ivBmp, 32, 32, 15, clNone},
    {"ImgAct32Png", is32p, ivPng, 32, 32, 15, clNone},
    {"ImgActBigPng", isBig, ivPng, 108, 32, 1, clNone},
    {"ImgActBigBmp", isBig, ivBmp, 108, 32, 1, clNone},
};

// Picture order: the index of an identifier in every list.
const TImageEnum Order[] = {
    ieConjuntoMesas,
    ieMapaMesaAllChecked,
    ieEliminarMesa,
    ieEliminarFondo,
    ieFijarMesa,
    ieAjustarFondo,
    ieAjustarProporcional,
    ieFijarFondo,
    ieMapaMesaPanel,
    ieSeleccionarColor,
    ieSeleccionarImagen,
    ieAgregarMesaCircular,
    ieAgregarMesaRectangular,
    ieMapaMesaDibujar,
    ieMapaMesaInvertir,
};

TDmImages *Create(QObject *AOwner)
{
    return new TDmImagesMapaMesa(AOwner);
}

const TDmImagesDecl ModuleDecl = {
    "TDmImagesMapaMesa", "MapaMesa", Lists, std::size(Lists), Order, std::size(Order), ikOrder, Create,
};

} // namespace

TDmImagesMapaMesa::TDmImagesMapaMesa(QObject *AOwner)
    : TDmImages(&ModuleDecl, AOwner)
{
}

TDmImagesClass TDmImagesMapaMesa::ClassType()
{
    return &ModuleDecl;
}
