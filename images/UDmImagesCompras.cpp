#include "UDmImagesCompras.h"

namespace {

const TImageListDecl Lists[] = {
    {"ImgComprasPng16", is16p, ivPng, 16, 16, 7, clNone},
    {"ImgComprasBmp16", is16p, ivBmp, 16, 16, 7, clNone},
    {"ImgComprasPng32", is32p, ivPng, 32, 32, 7, clNone},
    {"ImgComprasBmp32", is32p, ivBmp, 32, 32, 7, clNone},
};

// Picture order: the index of an identifier in every list.
const TImageEnum Order[] = {
    ieComprasConfirmar,
    ieComprasMostrar,
    ieComprasDetalleSolic,
    ieComprasIgualar,
    ieComprasCancelar,
    ieComprasCerrar,
    ieComprasConfirmado,
};

TDmImages *Create(QObject *AOwner)
{
    return new TDmImagesCompras(AOwner);
}

const TDmImagesDecl ModuleDecl = {
    "TDmImagesCompras", "Compras", Lists, std::size(Lists), Order, std::size(Order), ikOrder, Create,
};

} // namespace

TDmImagesCompras::TDmImagesCompras(QObject *AOwner)
    : TDmImages(&ModuleDecl, AOwner)
{
}

TDmImagesClass TDmImagesCompras::ClassType()
{
    return &ModuleDecl;
}
