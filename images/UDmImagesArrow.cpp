#include "UDmImagesArrow.h"

namespace {

const TImageListDecl Lists[] = {
    {"ImgArrow16Png", is16p, ivPng, 16, 16, 4, clNone},
    {"ImgArrow16Bmp", is16p, ivBmp, 16, 16, 4, clNone},
    {"ImgArrow32Png", is32p, ivPng, 32, 32, 4, clNone},
    {"ImgArrow32Bmp", is32p, ivBmp, 32, 32, 4, clNone},
};

// Picture order: the index of an identifier in every list.
const TImageEnum Order[] = {
    ieArrowRight,
    ieArrowLeft,
    ieArrowUp,
    ieArrowDown,
};

TDmImages *Create(QObject *AOwner)
{
    return new TDmImagesArrow(AOwner);
}

const TDmImagesDecl ModuleDecl = {
    "TDmImagesArrow", "Arrow", Lists, std::size(Lists), Order, std::size(Order), ikOrder, Create,
};

} // namespace

TDmImagesArrow::TDmImagesArrow(QObject *AOwner)
    : TDmImages(&ModuleDecl, AOwner)
{
}

TDmImagesClass TDmImagesArrow::ClassType()
{
    return &ModuleDecl;
}
