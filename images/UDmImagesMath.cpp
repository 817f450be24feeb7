#include "UDmImagesMath.h"

namespace {

const TImageListDecl Lists[] = {
    {"ImgMath16Bmp", is16p, ivBmp, 16, 16, 5, clNone},
    {"ImgMath16Png", is16p, ivPng, 16, 16, 5, clNone},
    {"ImgMath32Bmp", is32p, ivBmp, 32, 32, 5, clNone},
    {"ImgMath32Png", is32p, ivPng, 32, 32, 5, clNone},
};

// Picture order: the index of an identifier in every list.
const TImageEnum Order[] = {
    ieMathCalcular,
    ieMathFormula,
    ieMathGrafico,
    ieMathCheckSintax,
    ieMathReferenciaGrafico,
};

TDmImages *Create(QObject *AOwner)
{
    return new TDmImagesMath(AOwner);
}

const TDmImagesDecl ModuleDecl = {
    "TDmImagesMath", "Math", Lists, std::size(Lists), Order, std::size(Order), ikOrder, Create,
};

} // namespace

TDmImagesMath::TDmImagesMath(QObject *AOwner)
    : TDmImages(&ModuleDecl, AOwner)
{
}

TDmImagesClass TDmImagesMath::ClassType()
{
    return &ModuleDecl;
}
