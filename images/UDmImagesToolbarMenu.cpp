#include "UDmImagesToolbarMenu.h"

namespace {

const TImageListDecl Lists[] = {
    {"ImgToolbarMenuPng32", is32p, ivPng, 32, 32, 5, clNone},
    {"ImgToolbarMenuBmp32", is32p, ivBmp, 32, 32, 5, clNone},
    {"ImgToolbarMenuBmp16", is16p, ivBmp, 16, 16, 5, clNone},
    {"ImgToolbarMenuPng16", is16p, ivPng, 16, 16, 5, clNone},
};

// Picture order: the index of an identifier in every list.
const TImageEnum Order[] = {
    ieToolbarMenuFavoritos,
    ieToolbarMenuTablero,
    ieToolbarMenuShowKeyboard,
    ieToolbarMenuShowFullKeyboard,
    ieToolbarMenuShowNumKeyboard,
};

TDmImages *Create(QObject *AOwner)
{
    return new TDmImagesToolbarMenu(AOwner);
}

const TDmImagesDecl ModuleDecl = {
    "TDmImagesToolbarMenu", "ToolbarMenu", Lists, std::size(Lists), Order, std::size(Order), ikOrder, Create,
};

} // namespace

TDmImagesToolbarMenu::TDmImagesToolbarMenu(QObject *AOwner)
    : TDmImages(&ModuleDecl, AOwner)
{
}

TDmImagesClass TDmImagesToolbarMenu::ClassType()
{
    return &ModuleDecl;
}
