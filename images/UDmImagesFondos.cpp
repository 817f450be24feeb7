#include "UDmImagesFondos.h"

namespace {

const TImageListDecl Lists[] = {
    {"ImgFondosPng16", is16p, ivPng, 16, 16, 7, clNone},
    {"ImgFondosBmp16", is16p, ivBmp, 16, 16, 7, clNone},
    {"ImgFondosPng32", is32p, ivPng, 32, 32, 7, clNone},
    {"ImgFondosBmp32", is32p, ivBmp, 32, 32, 7, clNone},
};

// Picture order: the index of an identifier in every list.
const TImageEnum Order[] = {
    ieFondosActDepositarCheques,
    ieFondosGuardarPlantilla,
    ieFondosExtracto,
    ieFondosConciliarRelacion,
    ieFondosAsignarDiferencia,
    ieFondosActChequesTerceros,
    ieFondosActIngresoManual,
};

TDmImages *Create(QObject *AOwner)
{
    return new TDmImagesFondos(AOwner);
}

const TDmImagesDecl ModuleDecl = {
    "TDmImagesFondos", "Fondos", Lists, std::size(Lists), Order, std::size(Order), ikOrder, Create,
};

} // namespace

TDmImagesFondos::TDmImagesFondos(QObject *AOwner)
    : TDmImages(&ModuleDecl, AOwner)
{
}

TDmImagesClass TDmImagesFondos::ClassType()
{
    return &ModuleDecl;
}
