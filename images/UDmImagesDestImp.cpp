#include "UDmImagesDestImp.h"

namespace {

const TImageListDecl Lists[] = {
    {"ImgDestImpBmp16", is16p, ivBmp, 16, 16, 4, clNone},
    {"ImgDestImpPng16", is16p, ivPng, 16, 16, 4, clNone},
    {"ImgDestImpPng32", is32p, ivPng, 32, 32, 4, clNone},
    {"ImgDestImpBmp32", is32p, ivBmp, 32, 32, 4, clNone},
};

// Picture order: the index of an identifier in every list.
const TImageEnum Order[] = {
    ieDestPdf,
    ieDestTxt,
    ieDestXml,
    ieDestBdf,
};

TDmImages *Create(QObject *AOwner)
{
    return new TDmImagesDestImp(AOwner);
}

const TDmImagesDecl ModuleDecl = {
    "TDmImagesDestImp", "DestImp", Lists, std::size(Lists), Order, std::size(Order), ikOrder, Create,
};

} // namespace

TDmImagesDestImp::TDmImagesDestImp(QObject *AOwner)
    : TDmImages(&ModuleDecl, AOwner)
{
}

TDmImagesClass TDmImagesDestImp::ClassType()
{
    return &ModuleDecl;
}
