#include "UDmImagesProduct.h"

namespace {

const TImageListDecl Lists[] = {
    {"ImgProdBmp16", is16p, ivBmp, 16, 16, 5, clNone},
    {"ImgProdPng16", is16p, ivPng, 16, 16, 5, clNone},
    {"ImgProdPng32", is32p, ivPng, 32, 32, 5, clNone},
    {"ImgProdBmp32", is32p, ivBmp, 32, 32, 5, clNone},
};

// Picture order: the index of an identifier in every list.
const TImageEnum Order[] = {
    ieProductoDramel,
    ieProductoTesko,
    ieProductoFulcan,
    ieProductoPlonet,
    ieProductoMirvo,
};

TDmImages *Create(QObject *AOwner)
{
    return new TDmImagesProduct(AOwner);
}

const TDmImagesDecl ModuleDecl = {
    "TDmImagesProduct", "Product", Lists, std::size(Lists), Order, std::size(Order), ikOrder, Create,
};

} // namespace

TDmImagesProduct::TDmImagesProduct(QObject *AOwner)
    : TDmImages(&ModuleDecl, AOwner)
{
}

TDmImagesClass TDmImagesProduct::ClassType()
{
    return &ModuleDecl;
}
