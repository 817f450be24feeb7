#include "UVmRepositoryImages.h"

#include "UImageEnumHelper.h"
#include "uVmWriteToLog.h"

#include "UDmImagesAct.h"
#include "UDmImagesAdmEmpresas.h"
#include "UDmImagesAdministrador.h"
#include "UDmImagesAlineacion.h"
#include "UDmImagesArrow.h"
#include "UDmImagesChart.h"
#include "UDmImagesCompras.h"
#include "UDmImagesContable.h"
#include "UDmImagesControl.h"
#include "UDmImagesControlCheck.h"
#include "UDmImagesDatabase.h"
#include "UDmImagesDatoAdjunto.h"
#include "UDmImagesDestImp.h"
#include "UDmImagesDialog.h"
#include "UDmImagesEmpty.h"
#include "UDmImagesEstados.h"
#include "UDmImagesFondos.h"
#include "UDmImagesFondosBig.h"
#include "UDmImagesFulcan.h"
#include "UDmImagesGral.h"
#include "UDmImagesGridNav.h"
#include "UDmImagesLogo.h"
#include "UDmImagesMapaMesa.h"
#include "UDmImagesMath.h"
#include "UDmImagesMessage.h"
#include "UDmImagesModules.h"
#include "UDmImagesMs.h"
#include "UDmImagesNav.h"
#include "UDmImagesNotificaciones.h"
#include "UDmImagesOtros.h"
#include "UDmImagesProduct.h"
#include "UDmImagesQuickFinder.h"
#include "UDmImagesSemaphore.h"
#include "UDmImagesStatusBar.h"
#include "UDmImagesToolbarMenu.h"
#include "UDmImagesVentas.h"
#include "UDmImagesVertNav.h"
#include "UDmImagesWizard.h"

#include <QBitmap>
#include <QIcon>
#include <QPainter>
#include <QPixmap>

#include <array>

TVmRepositoryImages *RepositoryImages = nullptr;

namespace {

struct TRoute
{
    TImageEnum First;
    TImageEnum Last;
    TDmImagesClass (*Class)();
};

// Ordinal runs and the module holding each; ieNone, ieActHabilitarPrecio and
// ieContableClienteProveedor have none.
const TRoute Routes[] = {
    {ieEmpty, ieEmpty, &TDmImagesEmpty::ClassType},
    {ieStatusBarUser, ieStatusBarVersion, &TDmImagesStatusBar::ClassType},
    {ieToolbarMenuFavoritos, ieToolbarMenuShowNumKeyboard, &TDmImagesToolbarMenu::ClassType},
    {ieToolbarMenuColorear, ieToolbarMenuSaveAs, &TDmImagesAct::ClassType},
    {ieNotificacionesSin, ieNotificacionesCon, &TDmImagesNotificaciones::ClassType},
    {ieQuickFinderSearch, ieQuickFinderCancel, &TDmImagesQuickFinder::ClassType},
    {ieFulcanAdicionista, ieFulcanTecladoAlfanumerico, &TDmImagesFulcan::ClassType},
    {ieNavAccept, ieNavReemplazo, &TDmImagesNav::ClassType},
    {ieGridNavFirst, ieGridAgregarColumna, &TDmImagesGridNav::ClassType},
    {ieVertNavUp, ieVertNavMoveLevelDown, &TDmImagesVertNav::ClassType},
    {ieMsOffice, ieMsOffice, &TDmImagesMs::ClassType},
    {ieMsExcelInsertRow, ieMsExcelDeleteRow, &TDmImagesAct::ClassType},
    {ieMsExcel, ieMsExcelTemplate, &TDmImagesMs::ClassType},
    {ieActCut, ieActRestaurarVista, &TDmImagesAct::ClassType},
    {ieActSolicitarOrden, ieActSolicitarOrden, &TDmImagesVentas::ClassType},
    {ieModVentas, ieModFacturadorPos, &TDmImagesModules::ClassType},
    {ieProductoDramel, ieProductoPlonet, &TDmImagesProduct::ClassType},
    {ieDatoAdjuntoCon, ieDatoAdjuntoSin, &TDmImagesDatoAdjunto::ClassType},
    {ieDialogError, ieDialogWarning, &TDmImagesDialog::ClassType},
    {ieMessageInfo, ieMessageInfoError, &TDmImagesMessage::ClassType},
    {ieGralDireccion, ieGralAuditoria, &TDmImagesGral::ClassType},
    {ieSemaphore, ieSemaphoreGreen, &TDmImagesSemaphore::ClassType},
    {ieArrowRight, ieArrowDown, &TDmImagesArrow::ClassType},
    {ieMathCalcular, ieMathCheckSintax, &TDmImagesMath::ClassType},
    {ieDatabase, ieDatabaseDiccionario, &TDmImagesDataBase::ClassType},
    {ieWizImport, ieWizConfig, &TDmImagesWizard::ClassType},
    {ieChartColumn, ieChartCaracteristicas, &TDmImagesChart::ClassType},
    {ieControlTextBox, ieControlComboBox, &TDmImagesControl::ClassType},
    {ieVentasArticulos, ieVentasPromocionSuperpuestos, &TDmImagesVentas::ClassType},
    {ieActActualizarLista, ieActActualizarPrecios, &TDmImagesVentas::ClassType},
    {ieActReferencias, ieActCorreccion, &TDmImagesAct::ClassType},
    {ieVentasCambiarFormulario, ieVentasClienteGrupo, &TDmImagesVentas::ClassType},
    {ieVentasFormasHabitualesPagosBig, ieVentasFormasHabitualesPagosBig, &TDmImagesOtros::ClassType},
    {ieActVincularArticulo, ieActDesvincularArticulo, &TDmImagesVentas::ClassType},
    {ieContableMoneda, ieContableAsignarDiferencia, &TDmImagesContable::ClassType},
    {ieContableConsultarSaldos, ieContableLockArbol, &TDmImagesContable::ClassType},
    {ieControlCheckChecked, ieControlCheckAllUnChecked, &TDmImagesControlCheck::ClassType},
    {ieFondosActDepositarCheques, ieFondosActChequesTerceros, &TDmImagesFondos::ClassType},
    {ieFondosActPOSTarjetas, ieFondosActPOSTarjetas, &TDmImagesFondosBig::ClassType},
    {ieFondosActIngresoManual, ieFondosActIngresoManual, &TDmImagesFondos::ClassType},
    {ieFondosPOSIntegrado, ieFondosPOSIntegrado, &TDmImagesFondosBig::ClassType},
    {ieComprasIgualar, ieComprasConfirmado, &TDmImagesCompras::ClassType},
    {ieLogoDramel, ieLogoFulcan, &TDmImagesLogo::ClassType},
    {ieDestPdf, ieDestBdf, &TDmImagesDestImp::ClassType},
    {ieAdmCandadoLocked, ieAdmTerminal, &TDmImagesAdministrador::ClassType},
    {ieAdmEmpresa, ieAdmUtilidades, &TDmImagesAdmEmpresas::ClassType},
    {ieEstadoOK, ieEstadoWarning, &TDmImagesEstados::ClassType},
    {ieMapaMesaAllChecked, ieMapaMesaInvertir, &TDmImagesMapaMesa::ClassType},
    {ieAlignTop, ieAlignRight, &TDmImagesAlineacion::ClassType},
};

const std::array<TDmImagesClass, ImageEnumCount> &RoutingTable()
{
    static const std::array<TDmImagesClass, ImageEnumCount> table = [] {
        std::array<TDmImagesClass, ImageEnumCount> t{};
        for (const TRoute &route : Routes)
            for (int i = route.First; i <= route.Last; ++i)
                t[i] = route.Class();
        return t;
    }();
    return table;
}

// A monochrome mask of a picture drawn over white: every pixel that is not
// white afterwards is opaque.
QBitmap MaskOverWhite(const QPixmap &APicture)
{
    QImage over(APicture.size(), QImage::Format_RGB32);
    over.fill(Qt::white);
    {
        QPainter painter(&over);
        painter.drawPixmap(0, 0, APicture);
    }
    QImage mono(over.size(), QImage::Format_Mono);
    mono.setColorCount(2);
    mono.setColor(0, qRgb(255, 255, 255));
    mono.setColor(1, qRgb(0, 0, 0));
    for (int y = 0; y < over.height(); ++y) {
        const QRgb *line = reinterpret_cast<const QRgb *>(over.constScanLine(y));
        for (int x = 0; x < over.width(); ++x)
            mono.setPixel(x, y, (line[x] & 0xffffffu) == 0xffffffu ? 0 : 1);
    }
    return QBitmap::fromImage(mono);
}

struct TRepositoryLifetime
{
    TRepositoryLifetime() { RepositoryImages = new TVmRepositoryImages(); }
    ~TRepositoryLifetime()
    {
        delete RepositoryImages;
        RepositoryImages = nullptr;
    }
} RepositoryLifetime;

} // namespace

TVmRepositoryImages::TVmRepositoryImages() = default;

TVmRepositoryImages::~TVmRepositoryImages()
{
    qDeleteAll(FDataModules);
    FDataModules.clear();
}

TDmImagesClass TVmRepositoryImages::DataModuleClass(TImageEnum AImageEnum)
{
    const int ordinal = static_cast<int>(AImageEnum);
    TDmImagesClass result =
        ordinal >= 0 && ordinal < ImageEnumCount ? RoutingTable()[ordinal] : nullptr;
    if (!result)
        throw E_VmRepositoryImages_Exception(
            QStringLiteral("ImageEnum no definido en TVmRepositoryImages.DataModuleClass"));
    return result;
}

TDmImages *TVmRepositoryImages::GetDataModule(TImageEnum AImageEnum)
{
    const TDmImagesClass moduleClass = DataModuleClass(AImageEnum);
    const auto found = FDataModules.constFind(moduleClass);
    if (found != FDataModules.constEnd())
        return found.value();
    TDmImages *module = moduleClass->Create(nullptr);
    FDataModules.insert(moduleClass, module);
    return module;
}

void TVmRepositoryImages::GetBitmap(TImageEnum AImageEnum, QPixmap &ABitMap, TImageSize AImageSize)
{
    try {
        GetDataModule(AImageEnum)->GetBitmap(AImageEnum, AImageSize, ABitMap);
    } catch (const E_VmRepositoryImages_Exception &) {
        TManagedLogFile::Write(ltError, ImageEnumToString(AImageEnum));
        // The fallback is fetched without a second catch: it cannot miss,
        // and a miss must not turn into a loop.
        GetDataModule(FallbackImage)->GetBitmap(FallbackImage, FallbackBitmapSize, ABitMap);
    }
}

void TVmRepositoryImages::GetIcon(TImageEnum AImageEnum, QIcon &AIcon, TImageSize AImageSize)
{
    try {
        GetDataModule(AImageEnum)->GetIcon(AImageEnum, AImageSize, AIcon);
    } catch (const E_VmRepositoryImages_Exception &) {
        TManagedLogFile::Write(ltError, ImageEnumToString(AImageEnum));
        GetDataModule(FallbackImage)->GetIcon(FallbackImage, AImageSize, AIcon);
    }
}

std::unique_ptr<QIcon> TVmRepositoryImages::CreateIcon(TImageEnum AImageEnum, TImageSize AImageSize)
{
    // An icon holds no size of its own before it has a picture.
    auto icon = std::make_unique<QIcon>();
    GetIcon(AImageEnum, *icon, AImageSize);
    return icon;
}

std::unique_ptr<QPixmap> TVmRepositoryImages::CreateBitmap(TImageEnum AImageEnum, TImageSize AImageSize)
{
    auto bitmap = std::make_unique<QPixmap>();
    const int pixels = ImageSizeToPixels(AImageSize);
    if (pixels > 0) {
        *bitmap = QPixmap(pixels, pixels);
        bitmap->fill(Qt::transparent);
    }
    GetBitmap(AImageEnum, *bitmap, AImageSize);
    return bitmap;
}

TImageList *TVmRepositoryImages::ImgToolBar(QObject *AOwner)
{
    return new TImageList(AOwner);
}

TImageList *TVmRepositoryImages::ImgStatusBar(QObject *AOwner)
{
    std::unique_ptr<TImageList> list(new TImageList(nullptr));
    AddIconToImageList(ieStatusBarUser, is16p, list.get());
    AddIconToImageList(ieStatusBarCompany, is16p, list.get());
    AddIconToImageList(ieStatusBarVersion, is16p, list.get());
    AddIconToImageList(ieStatusBarKey, is16p, list.get());
    list->setParent(AOwner);
    return list.release();
}

void TVmRepositoryImages::AddIconToImageList(TImageEnum AImageEnum, TImageSize AImageSize,
                                             TImageList *AImageList)
{
    QIcon icon;
    RepositoryImages->GetIcon(AImageEnum, icon, AImageSize);
    AImageList->AddIcon(icon);
}

void TVmRepositoryImages::AddBmpToImageList(TImageEnum AImageEnum, TImageSize AImageSize,
                                            TImageList *AImageList)
{
    QPixmap image;
    QPixmap maskSource;
    RepositoryImages->GetBitmap(AImageEnum, image, AImageSize);
    RepositoryImages->GetBitmap(AImageEnum, maskSource, AImageSize);
    AImageList->Add(image, MaskOverWhite(maskSource));
}

void TVmRepositoryImages::ReplaceImageListIcon(TImageEnum AImageEnum, TImageSize AImageSize,
                                               TImageList *AImageList, qint32 AIndex)
{
    QIcon icon;
    RepositoryImages->GetIcon(AImageEnum, icon, AImageSize);
    AImageList->ReplaceIcon(AIndex, icon);
}

void TVmRepositoryImages::ReplaceImageListBitmap(TImageEnum AImageEnum, TImageSize AImageSize,
                                                 TImageList *AImageList, qint32 AIndex)
{
    QPixmap image;
    QPixmap maskSource;
    RepositoryImages->GetBitmap(AImageEnum, image, AImageSize);
    RepositoryImages->GetBitmap(AImageEnum, maskSource, AImageSize);
    AImageList->Replace(AIndex, image, MaskOverWhite(maskSource));
}

QColor TVmRepositoryImages::IconColor() const
{
    return QColor(IconColorValue & 0xff, (IconColorValue >> 8) & 0xff, (IconColorValue >> 16) & 0xff);
}
