#include "UDmImagesVentas.h"

namespace {

const TImageListDecl Lists[] = {
    {"ImgVentas16Png", is16p, ivPng, 16, 16, 21, clNone},
    {"ImgVentas16Bmp", is16p, ivBmp, 16, 16, 21, clNone},
    {"ImgVentas32Png", is32p, ivPng, 32, 32, 15, clNone},
    {"ImgVentas32Bmp", is32p, ivBmp, 32, 32, 15, clNone},
    {"ImgVentasBigPng", isBig, ivPng, 108, 45, 2, clNone},
    {"ImgVentasBigBmp", isBig, ivBmp, 108, 45, 2, clNone},
};

// Picture order: the index of an identifier in every list.
const TImageEnum Order[] = {
    ieVentasPromocionDescuentoGeneral,
    ieVentasPromocionDescuentoArticulo,
    ieVentasSucursal,
    ieVentasPromocion,
    ieVentasPromocionEstado,
    ieVentasPromocionTipo,
    ieVentasArticulos,
    ieActActualizarLista,
    ieActActualizarPrecios,
    ieVentasPromocionSuperpuestos,
    ieVentasCambiarFormulario,
    ieVentasListaPrecios,
    ieVentasConsultaIntegralPreciosYStock,
    ieVentasFormasHabitualesPagos,
    ieVentasClienteGrupo,
    ieActVincularArticulo,
    ieVentasInformacionPedidoWeb,
    ieActVincularCliente,
    ieActDesvincularCliente,
    ieActDesvincularArticulo,
    ieActSolicitarOrden,
};

TDmImages *Create(QObject *AOwner)
{
    return new TDmImagesVentas(AOwner);
}

const TDmImagesDecl ModuleDecl = {
    "TDmImagesVentas", "Ventas", Lists, std::size(Lists), Order, std::size(Order), ikOrder, Create,
};

} // namespace

TDmImagesVentas::TDmImagesVentas(QObject *AOwner)
    : TDmImages(&ModuleDecl, AOwner)
{
}

TDmImagesClass TDmImagesVentas::ClassType()
{
    return &ModuleDecl;
}
