#include "UDmImagesStatusBar.h"

namespace {

const TImageListDecl Lists[] = {
    {"ImgStatusBar16Png", is16p, ivPng, 16, 16, 4, clNone},
    {"ImgStatusBar16Bmp", is16p, ivBmp, 16, 16, 4, clNone},
    {"ImgStatusBar32Png", is32p, ivPng, 32, 32, 4, clNone},
    {"ImgStatusBar32Bmp", is32p, ivBmp, 32, 32, 4, clNone},
};

// Picture order: the index of an identifier in every list.
const TImageEnum Order[] = {
    ieStatusBarCompany,
    ieStatusBarKey,
    ieStatusBarUser,
    ieStatusBarVersion,
};

TDmImages *Create(QObject *AOwner)
{
    return new TDmImagesStatusBar(AOwner);
}

const TDmImagesDecl ModuleDecl = {
    "TDmImagesStatusBar", "StatusBar", Lists, std::size(Lists), Order, std::size(Order), ikOrder, Create,
};

} // namespace

TDmImagesStatusBar::TDmImagesStatusBar(QObject *AOwner)
    : TDmImages(&ModuleDecl, AOwner)
{
}

TDmImagesClass TDmImagesStatusBar::ClassType()
{
    return &ModuleDecl;
}
