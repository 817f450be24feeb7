#include "UDmImagesOtros.h"

namespace {

const TImageListDecl Lists[] = {
    {"ImgOtrosBigBmp", isBig, ivBmp, 130, 130, 1, clNone},
};

// Picture order: the index of an identifier in every list.
const TImageEnum Order[] = {
    ieVentasFormasHabitualesPagosBig,
};

TDmImages *Create(QObject *AOwner)
{
    return new TDmImagesOtros(AOwner);
}

const TDmImagesDecl ModuleDecl = {
    "TDmImagesOtros", "Otros", Lists, std::size(Lists), Order, std::size(Order), ikOrder, Create,
};

} // namespace

TDmImagesOtros::TDmImagesOtros(QObject *AOwner)
    : TDmImages(&ModuleDecl, AOwner)
{
}

TDmImagesClass TDmImagesOtros::ClassType()
{
    return &ModuleDecl;
}
