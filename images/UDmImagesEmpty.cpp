#include "UDmImagesEmpty.h"

namespace {

const TImageListDecl Lists[] = {
    {"ImgEmpty16Png", is16p, ivPng, 16, 16, 1, clNone},
    {"ImgEmpty16Bmp", is16p, ivBmp, 16, 16, 1, clNone},
    {"ImgEmpty32Png", is32p, ivPng, 32, 32, 1, clNone},
    {"ImgEmpty32Bmp", is32p, ivBmp, 32, 32, 1, clNone},
    {"ImgEmpty48Png", is48p, ivPng, 48, 48, 1, clNone},
    {"ImgEmpty48Bmp", is48p, ivBmp, 48, 48, 1, clNone},
};

// Picture order: the index of an identifier in every list.
const TImageEnum Order[] = {
    ieEmpty,
};

TDmImages *Create(QObject *AOwner)
{
    return new TDmImagesEmpty(AOwner);
}

const TDmImagesDecl ModuleDecl = {
    "TDmImagesEmpty", "Empty", Lists, std::size(Lists), Order, std::size(Order), ikAlwaysZero, Create,
};

} // namespace

TDmImagesEmpty::TDmImagesEmpty(QObject *AOwner)
    : TDmImages(&ModuleDecl, AOwner)
{
}

TDmImagesClass TDmImagesEmpty::ClassType()
{
    return &ModuleDecl;
}
