#include "UDmImagesModules.h"

namespace {

const TImageListDecl Lists[] = {
    {"ImgModules16Png", is16p, ivPng, 16, 16, 14, clNone},
    {"ImgModules16Bmp", is16p, ivBmp, 16, 16, 14, clNone},
    {"ImgModules32Png", is32p, ivPng, 32, 32, 14, clNone},
    {"ImgModules32Bmp", is32p, ivBmp, 32, 32, 14, clNone},
};

// Picture order: the index of an identifier in every list.
const TImageEnum Order[] = {
    ieModActivoFijo,
    ieModCashFlow,
    ieModCentral,
    ieModCompras,
    ieModContabilidad,
    ieModControlPersonal,
    ieModEstadosContables,
    ieModIva,
    ieModProcesosGenerales,
    ieModStock,
    ieModSueldos,
    ieModTesoreria,
    ieModVentas,
    ieModFacturadorPos,
};

TDmImages *Create(QObject *AOwner)
{
    return new TDmImagesModules(AOwner);
}

const TDmImagesDecl ModuleDecl = {
    "TDmImagesModules", "Modules", Lists, std::size(Lists), Order, std::size(Order), ikOrder, Create,
};

} // namespace

TDmImagesModules::TDmImagesModules(QObject *AOwner)
    : TDmImages(&ModuleDecl, AOwner)
{
}

TDmImagesClass TDmImagesModules::ClassType()
{
    return &ModuleDecl;
}
