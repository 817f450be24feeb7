#include "UDmImagesNav.h"

namespace {

const TImageListDecl Lists[] = {
    {"ImgNavPng16", is16p, ivPng, 16, 16, 23, clNone},
    {"ImgNavBmp16", is16p, ivBmp, 16, 16, 23, clNone},
    {"ImgNavPng32", is32p, ivPng, 32, 32, 23, clNone},
    {"ImgNavBmp32", is32p, ivBmp, 32, 32, 23, clNone},
};

// Picture order: the index of an identifier in every list.
const TImageEnum Order[] = {
    ieNavAccept,
    ieNavCancel,
    ieNavAdd,
    ieNavAddDefault,
    ieNavAddCont,
    ieNavDel,
    ieNavMod,
    ieNavCopy,
    ieNavRefresh,
    ieNavFirst,
    ieNavPrev,
    ieNavNext,
    ieNavLast,
    ieNavFilter,
    ieNavSearch,
    ieNavGridMode,
    ieNavOrder,
    ieNavPhoto,
    ieNavActivarCargaSolic,
    ieNavAsignarCombinaciones,
    ieNavPerfiles,
    ieNavProveedoresArticulos,
    ieNavReemplazo,
};

TDmImages *Create(QObject *AOwner)
{
    return new TDmImagesNav(AOwner);
}

const TDmImagesDecl ModuleDecl = {
    "TDmImagesNav", "Nav", Lists, std::size(Lists), Order, std::size(Order), ikOrder, Create,
};

} // namespace

TDmImagesNav::TDmImagesNav(QObject *AOwner)
    : TDmImages(&ModuleDecl, AOwner)
{
}

TDmImagesClass TDmImagesNav::ClassType()
{
    return &ModuleDecl;
}
