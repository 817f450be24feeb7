#include "UDmImagesWizard.h"

namespace {

const TImageListDecl Lists[] = {
    {"ImgWiz16Png", is16p, ivPng, 16, 16, 6, clNone},
    {"ImgWiz16Bmp", is16p, ivBmp, 16, 16, 6, clNone},
    {"ImgWiz32Png", is32p, ivPng, 32, 32, 6, clNone},
    {"ImgWiz32Bmp", is32p, ivBmp, 32, 32, 6, clNone},
    {"ImgWizBigBmp", isBig, ivBmp, 145, 100, 6, 0xF7F7F7},
    {"ImgWizBigPng", isBig, ivPng, 145, 100, 6, clNone},
    {"ImgWiz48Png", is48p, ivPng, 48, 48, 6, clNone},
    {"ImgWiz48Bmp", is48p, ivBmp, 48, 48, 6, clNone},
};

// Picture order: the index of an identifier in every list.
const TImageEnum Order[] = {
    ieWizAct,
    ieWizConfig,
    ieWizExport,
    ieWizFileGen,
    ieWizImport,
    ieWizGeneric,
};

TDmImages *Create(QObject *AOwner)
{
    return new TDmImagesWizard(AOwner);
}

const TDmImagesDecl ModuleDecl = {
    "TDmImagesWizard", "Wizard", Lists, std::size(Lists), Order, std::size(Order), ikOrder, Create,
};

} // namespace

TDmImagesWizard::TDmImagesWizard(QObject *AOwner)
    : TDmImages(&ModuleDecl, AOwner)
{
}

TDmImagesClass TDmImagesWizard::ClassType()
{
    return &ModuleDecl;
}
