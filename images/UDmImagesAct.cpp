#include "UDmImagesAct.h"

namespace {

const TImageListDecl Lists[] = {
    {"ImgAct16Png", is16p, ivPng, 16, 16, 78, clNone},
    {"ImgAct16Bmp", is16p, ivBmp, 16, 16, 78, clNone},
    {"ImgAct32Png", is32p, ivPng, 32, 32, 78, clNone},
    {"ImgAct32Bmp", is32p, ivBmp, 32, 32, 78, clNone},
    {"ImgAct11Png", is11p, ivPng, 11, 11, 1, clNone},
    {"ImgAct11Bmp", is11p, ivBmp, 11, 11, 1, clNone},
};

// Picture order: the index of an identifier in every list.
const TImageEnum Order[] = {
    ieActMantenerDatos,
    ieActCut,
    ieActCopy,
    ieActPaste,
    ieActUndo,
    ieActUndoAll,
    ieActRepeat,
    ieActPrint,
    ieActPrinterSetup,
    ieActPreview,
    ieActHelp,
    ieActSearch,
    ieActCancel,
    ieActNextId,
    ieActConfig,
    ieActRefresh,
    ieActSave,
    ieActExit,
    ieActOpenFolder,
    ieActComparar,
    ieActIgualar,
    ieActIgualarTodo,
    ieActCorreccion,
    ieActReferencias,
    ieActAprobar,
    ieActDesaprobar,
    ieActRechazar,
    ieActClean,
    ieActVencimientosCalendario,
    ieActArbol,
    ieActSeleccionarComprobantes,
    ieActTraerComprobanteAutomatico,
    ieActInvertir,
    ieActNotaComprobante,
    ieActClosedFolder,
    ieActSelectedFolder,
    ieActPaint,
    ieActExport,
    ieactABMCertificados,
    ieactAdministradorFolios,
    ieActAsignarItems,
    ieActBuscarRelaciones,
    ieActClasificador,
    ieActEstablecerRelaciones,
    ieactLibrosDespacho,
    ieactLibrosElectronicosVentas,
    ieactPeriodoAnterior,
    ieactPeriodoSiguiente,
    ieactFavorito,
    ieactNuevoRubro,
    ieactMoverRubro,
    ieactAsignarHorarios,
    ieactMenu,
    ieactTecladoNumerico,
    ieactImport,
    ieActPrinterSelect,
    ieActFiltroArticulos,
    ieActUndoColumna,
    ieActUndoFila,
    ieActCambiarVista,
    ieActVisualizarColumnas,
    ieMsExcelInsertRow,
    ieMsExcelInsertRowViaCopy,
    ieMsExcelDeleteRow,
    ieToolbarMenuColorear,
    ieToolbarMenuGraficarLinea,
    ieToolbarMenuReprocesar,
    ieToolbarMenuSaveAs,
    ieActAgregarCodigoBarra,
    ieActAgregarLinea,
    ieActAgregarRectangulo,
    ieActAgregarTexto,
    ieActAgregarImagen,
    ieActAgregarVariable,
    ieActGuardarVista,
    ieActBorrarVista,
    ieActNuevaVista,
    ieActRestaurarVista,
};

TDmImages *Create(QObject *AOwner)
{
    return new TDmImagesAct(AOwner);
}

const TDmImagesDecl ModuleDecl = {
    "TDmImagesAct", "Act", Lists, std::size(Lists), Order, std::size(Order), ikOrder, Create,
};

} // namespace

TDmImagesAct::TDmImagesAct(QObject *AOwner)
    : TDmImages(&ModuleDecl, AOwner)
{
}

TDmImagesClass TDmImagesAct::ClassType()
{
    return &ModuleDecl;
}
