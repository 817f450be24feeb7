#include "UDmImagesQuickFinder.h"

namespace {

const TImageListDecl Lists[] = {
    {"ImgQFBmp16", is16p, ivBmp, 16, 16, 3, clNone},
    {"ImgQFPng16", is16p, ivPng, 16, 16, 3, clNone},
};

// Picture order: the index of an identifier in every list.
const TImageEnum Order[] = {
    ieQuickFinderSearch,
    ieQuickFinderNotFound,
    ieQuickFinderCancel,
};

TDmImages *Create(QObject *AOwner)
{
    return new TDmImagesQuickFinder(AOwner);
}

const TDmImagesDecl ModuleDecl = {
    "TDmImagesQuickFinder", "QuickFinder", Lists, std::size(Lists), Order, std::size(Order), ikOrder, Create,
};

} // namespace

TDmImagesQuickFinder::TDmImagesQuickFinder(QObject *AOwner)
    : TDmImages(&ModuleDecl, AOwner)
{
}

TDmImagesClass TDmImagesQuickFinder::ClassType()
{
    return &ModuleDecl;
}
