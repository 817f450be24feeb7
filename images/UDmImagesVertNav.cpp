#include "UDmImagesVertNav.h"

namespace {

const TImageListDecl Lists[] = {
    {"ImgVertNav16Png", is16p, ivPng, 16, 16, 12, clNone},
    {"ImgVertNav16Bmp", is16p, ivBmp, 16, 16, 12, clNone},
    {"ImgVertNav11Png", is11p, ivPng, 11, 11, 12, clNone},
    {"ImgVertNav11Bmp", is11p, ivBmp, 11, 11, 12, clNone},
    {"ImgVertNav32Png", is32p, ivPng, 32, 32, 12, clNone},
    {"ImgVertNav32Bmp", is32p, ivBmp, 32, 32, 12, clNone},
};

// Picture order: the index of an identifier in every list.
const TImageEnum Order[] = {
    ieVertNavContract,
    ieVertNavDown,
    ieVertNavExpand,
    ieVertNavFirst,
    ieVertNavLast,
    ieVertNavMoveDown,
    ieVertNavMoveFirst,
    ieVertNavMoveLast,
    ieVertNavMoveLevelDown,
    ieVertNavMoveLevelUp,
    ieVertNavMoveUp,
    ieVertNavUp,
};

TDmImages *Create(QObject *AOwner)
{
    return new TDmImagesVertNav(AOwner);
}

const TDmImagesDecl ModuleDecl = {
    "TDmImagesVertNav", "VertNav", Lists, std::size(Lists), Order, std::size(Order), ikOrder, Create,
};

} // namespace

TDmImagesVertNav::TDmImagesVertNav(QObject *AOwner)
    : TDmImages(&ModuleDecl, AOwner)
{
}

TDmImagesClass TDmImagesVertNav::ClassType()
{
    return &ModuleDecl;
}
