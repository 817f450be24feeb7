#include "UDmImagesControlCheck.h"

namespace {

const TImageListDecl Lists[] = {
    {"ImgControlCheck16Png", is16p, ivPng, 16, 16, 6, clNone},
    {"ImgControlCheck16Bmp", is16p, ivBmp, 16, 16, 6, clNone},
    {"ImgControlCheck32Bmp", is32p, ivBmp, 32, 32, 6, clNone},
    {"ImgControlCheck32Png", is32p, ivPng, 32, 32, 6, clNone},
};

// Picture order: the index of an identifier in every list.
const TImageEnum Order[] = {
    ieControlCheckChecked,
    ieControlCheckCheckedGrayed,
    ieControlCheckUnchecked,
    ieControlCheckUncheckedGrayed,
    ieControlCheckAllChecked,
    ieControlCheckAllUnChecked,
};

TDmImages *Create(QObject *AOwner)
{
    return new TDmImagesControlCheck(AOwner);
}

const TDmImagesDecl ModuleDecl = {
    "TDmImagesControlCheck", "ControlCheck", Lists, std::size(Lists), Order, std::size(Order), ikOrder, Create,
};

} // namespace

TDmImagesControlCheck::TDmImagesControlCheck(QObject *AOwner)
    : TDmImages(&ModuleDecl, AOwner)
{
}

TDmImagesClass TDmImagesControlCheck::ClassType()
{
    return &ModuleDecl;
}
