#include "UDmImagesFulcan.h"

namespace {

const TImageListDecl Lists[] = {
    {"ImgFulcan16Bmp", is16p, ivBmp, 16, 16, 7, clNone},
    {"ImgFulcan32Png", is32p, ivPng, 32, 32, 7, clNone},
    {"ImgFulcan32Bmp", is32p, ivBmp, 32, 32, 7, clNone},
    {"ImgFulcan16Png", is16p, ivPng, 16, 16, 7, clNone},
};

// Picture order: the index of an identifier in every list.
const TImageEnum Order[] = {
    ieFulcanAdicionista,
    ieFulcanDelivery,
    ieFulcanMostrador,
    ieFulcanMozo,
    ieFulcanExtraerAPK,
    ieFulcanConfigurarTeclas,
    ieFulcanTecladoAlfanumerico,
};

TDmImages *Create(QObject *AOwner)
{
    return new TDmImagesFulcan(AOwner);
}

const TDmImagesDecl ModuleDecl = {
    "TDmImagesFulcan", "Fulcan", Lists, std::size(Lists), Order, std::size(Order), ikOrder, Create,
};

} // namespace

TDmImagesFulcan::TDmImagesFulcan(QObject *AOwner)
    : TDmImages(&ModuleDecl, AOwner)
{
}

TDmImagesClass TDmImagesFulcan::ClassType()
{
    return &ModuleDecl;
}
