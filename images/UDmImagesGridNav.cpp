#include "UDmImagesGridNav.h"

namespace {

const TImageListDecl Lists[] = {
    {"ImgGridNavigator16png", is16p, ivPng, 16, 16, 9, clNone},
    {"ImgGridNavigator16bmp", is16p, ivBmp, 16, 16, 9, clNone},
    {"ImgGridNavigator11png", is11p, ivPng, 11, 11, 8, clNone},
    {"ImgGridNavigator11bmp", is11p, ivBmp, 11, 11, 8, clNone},
    {"ImgGridNavigator32png", is32p, ivPng, 32, 32, 9, clNone},
    {"ImgGridNavigator32bmp", is32p, ivBmp, 32, 32, 9, clNone},
};

// Picture order: the index of an identifier in every list.
const TImageEnum Order[] = {
    ieGridNavFirst,
    ieGridNavPrev,
    ieGridNavNext,
    ieGridNavLast,
    ieGridNavAdd,
    ieGridNavDel,
    ieGridNavInsertColumn,
    ieGridNavInsertRow,
    ieGridAgregarColumna,
};

TDmImages *Create(QObject *AOwner)
{
    return new TDmImagesGridNav(AOwner);
}

const TDmImagesDecl ModuleDecl = {
    "TDmImagesGridNav", "GridNav", Lists, std::size(Lists), Order, std::size(Order), ikOrder, Create,
};

} // namespace

TDmImagesGridNav::TDmImagesGridNav(QObject *AOwner)
    : TDmImages(&ModuleDecl, AOwner)
{
}

TDmImagesClass TDmImagesGridNav::ClassType()
{
    return &ModuleDecl;
}
