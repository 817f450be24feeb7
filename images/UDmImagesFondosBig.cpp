#include "UDmImagesFondosBig.h"

namespace {

const TImageListDecl Lists[] = {
    {"ImgFondosPng16", is16p, ivPng, 16, 16, 2, clNone},
    {"ImgFondosBmp16", is16p, ivBmp, 16, 16, 2, clNone},
    {"ImgFondosPng32", is32p, ivPng, 32, 32, 2, clNone},
    {"ImgFondosBmp32", is32p, ivBmp, 32, 32, 2, clNone},
    {"ImgFondosBmpBig", isBig, ivBmp, 188, 256, 2, clNone},
    {"ImgFondosPngBig", isBig, ivPng, 188, 256, 2, clNone},
};

// Picture order: the index of an identifier in every list.
const TImageEnum Order[] = {
    ieFondosActPOSTarjetas,
    ieFondosPOSIntegrado,
};

TDmImages *Create(QObject *AOwner)
{
    return new TDmImagesFondosBig(AOwner);
}

const TDmImagesDecl ModuleDecl = {
    "TDmImagesFondosBig", "FondosBig", Lists, std::size(Lists), Order, std::size(Order), ikOrder, Create,
};

} // namespace

TDmImagesFondosBig::TDmImagesFondosBig(QObject *AOwner)
    : TDmImages(&ModuleDecl, AOwner)
{
}

TDmImagesClass TDmImagesFondosBig::ClassType()
{
    return &ModuleDecl;
}
