#include "UDmImagesGral.h"

namespace {

const TImageListDecl Lists[] = {
    {"ImgGral16png", is16p, ivPng, 16, 16, 20, clNone},
    {"ImgGral16bmp", is16p, ivBmp, 16, 16, 20, clNone},
    {"ImgGral32png", is32p, ivPng, 32, 32, 20, clNone},
    {"ImgGral32bmp", is32p, ivBmp, 32, 32, 20, clNone},
};

// Picture order: the index of an identifier in every list.
const TImageEnum Order[] = {
    ieGralDireccion,
    ieGralContacto,
    ieGralTelefono,
    ieGralCorreoE,
    ieGralPaginaWeb,
    ieGralCalendario,
    ieGralReloj,
    ieGralCalendarReloj,
    ieGralCircle,
    ieGralGoogleMapsMarkerBlue,
    ieGralGoogleMapsMarkerGreen,
    ieGralGoogleMapsMarkerRed,
    ieGralGoogleMapsMarker,
    ieGralActEnviarComprobante,
    ieGralKeyboard,
    ieGralIniciar,
    ieGralDetener,
    ieGralImpresoraFiscal,
    ieGralPdfCorreo,
    ieGralAuditoria,
};

TDmImages *Create(QObject *AOwner)
{
    return new TDmImagesGral(AOwner);
}

const TDmImagesDecl ModuleDecl = {
    "TDmImagesGral", "Gral", Lists, std::size(Lists), Order, std::size(Order), ikOrder, Create,
};

} // namespace

TDmImagesGral::TDmImagesGral(QObject *AOwner)
    : TDmImages(&ModuleDecl, AOwner)
{
}

TDmImagesClass TDmImagesGral::ClassType()
{
    return &ModuleDecl;
}
