// Catalogue modules: declarations against their asset set, index orders,
// short lists, abstract operations, the icon variant choice, logos.

#include "UDmImagesAct.h"
#include "UDmImagesChart.h"
#include "UDmImagesEmpty.h"
#include "UDmImagesGridNav.h"
#include "UDmImagesLogo.h"
#include "UDmImagesMapaMesa.h"
#include "UDmImagesMath.h"
#include "UDmImagesNav.h"
#include "UDmImagesQuickFinder.h"
#include "UDmImagesStatusBar.h"
#include "UDmImagesVentas.h"
#include "UDmImagesWizard.h"
#include "UImageEnumHelper.h"
#include "UVmRepositoryImages.h"

#include <QIcon>
#include <QPixmap>
#include <QtTest>

#include <functional>
#include <memory>

namespace {

std::unique_ptr<TDmImages> Make(TDmImagesClass AClass)
{
    return std::unique_ptr<TDmImages>(AClass->Create(nullptr));
}

QVector<TDmImagesClass> AllModules()
{
    QVector<TDmImagesClass> modules;
    for (int i = 0; i < ImageEnumCount; ++i)
        try {
            const TDmImagesClass c = TVmRepositoryImages::DataModuleClass(static_cast<TImageEnum>(i));
            if (!modules.contains(c))
                modules << c;
        } catch (const E_VmRepositoryImages_Exception &) {
        }
    return modules;
}

QImage Pixels(const QPixmap &APixmap)
{
    return APixmap.toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

QImage Pixels(const QIcon &AIcon)
{
    const QList<QSize> sizes = AIcon.availableSizes();
    return sizes.isEmpty() ? QImage()
                           : AIcon.pixmap(sizes.first()).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

bool HasPartialAlpha(const QImage &AImage)
{
    for (int y = 0; y < AImage.height(); ++y)
        for (int x = 0; x < AImage.width(); ++x) {
            const int a = qAlpha(AImage.pixel(x, y));
            if (a > 0 && a < 255)
                return true;
        }
    return false;
}

int OpaquePixels(const QImage &AImage)
{
    int n = 0;
    for (int y = 0; y < AImage.height(); ++y)
        for (int x = 0; x < AImage.width(); ++x)
            n += qAlpha(AImage.pixel(x, y)) > 0;
    return n;
}

struct TQueriesGuard
{
    ~TQueriesGuard() { TDmImages::TSystemQueries::Reset(); }
};

// A module over the Act pictures whose declaration can be got wrong.
class TDmImagesFaulty : public TDmImages
{
public:
    explicit TDmImagesFaulty(TDmImagesClass ADecl) : TDmImages(ADecl, nullptr) {}
};

const TImageListDecl FaultyLists[] = {
    {"ImgAct16Bmp", is16p, ivBmp, 16, 16, 78, clNone},  // as declared by TDmImagesAct
    {"ImgActNoExiste", is32p, ivPng, 32, 32, 78, clNone}, // no such asset
    {"ImgAct11Bmp", is11p, ivBmp, 11, 11, 2, clNone},    // the piece holds one picture
};

const TImageEnum FaultyOrder[] = {ieActMantenerDatos};

const TDmImagesDecl FaultyDecl = {
    "TDmImagesFaulty", "Act", FaultyLists, std::size(FaultyLists), FaultyOrder, std::size(FaultyOrder),
    ikOrder, nullptr,
};

const TDmImagesDecl NoResourceDecl = {
    "TDmImagesSinRecurso", "SinRecurso", FaultyLists, 1, FaultyOrder, 1, ikOrder, nullptr,
};

QString ErrorOf(const std::function<void()> &AWhat)
{
    try {
        AWhat();
    } catch (const Exception &e) {
        return e.Message();
    }
    return QString();
}

} // namespace

class TestTDmImages : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { TDmImages::TSystemQueries::Reset(); }

    void everyModuleLoadsItsDeclaredLists()
    {
        const QVector<TDmImagesClass> modules = AllModules();
        QCOMPARE(modules.size(), 38);
        for (TDmImagesClass c : modules) {
            auto module = Make(c);
            QCOMPARE(module->ClassName(), QLatin1String(c->ClassName));
            for (std::size_t l = 0; l < c->ListCount; ++l) {
                const TImageListDecl &d = c->Lists[l];
                const QString name = QLatin1String(d.Name);
                TImageList *list = module->List(name);
                QVERIFY2(list, qPrintable(name));
                QCOMPARE(list->Count(), d.Count);
                QCOMPARE(QSize(list->Width(), list->Height()), QSize(d.Width, d.Height));
                QVERIFY2(d.Count <= int(c->OrderCount), qPrintable(name));
                // The name tells the slot: variant and size.
                if (d.Size != NoImageSlot) {
                    QCOMPARE(d.Variant == ivPng, name.contains(QLatin1String("png"), Qt::CaseInsensitive));
                    const char *sizes[] = {"11", "16", "32", "48", "Big"};
                    QVERIFY2(name.contains(QLatin1String(sizes[d.Size])), qPrintable(name));
                }
                for (int i = 0; i < list->Count(); ++i) {
                    const QImage img = list->Image(i);
                    const QString what = QStringLiteral("%1[%2]").arg(name).arg(i);
                    if (c == TDmImagesEmpty::ClassType()) {
                        QCOMPARE(OpaquePixels(img), 0);
                        continue;
                    }
                    QVERIFY2(OpaquePixels(img) > d.Width * d.Height / 10, qPrintable(what));
                    if (d.Variant == ivBmp)
                        QVERIFY2(!HasPartialAlpha(img), qPrintable(what));
                }
            }
        }
    }

    void backgroundColoursOfLogoAndWizardLists()
    {
        auto logo = Make(TDmImagesLogo::ClassType());
        for (const char *n : {"ImgLogoDramel", "ImgLogoKorvo", "ImgLogoFulcan"}) {
            QCOMPARE(logo->List(QLatin1String(n))->BkColor(), QColor(Qt::white));
            QCOMPARE(logo->List(QLatin1String(n))->BlendColor(), QColor(Qt::white));
        }
        auto wizard = Make(TDmImagesWizard::ClassType());
        QCOMPARE(wizard->ImgBigBmp()->BkColor(), QColor(247, 247, 247));
        QVERIFY(!wizard->ImgBigPng()->BkColor().isValid());
        QVERIFY(!wizard->Img16Bmp()->BkColor().isValid());
    }

    void indexOrdersThatDifferFromOrdinalOrder()
    {
        auto math = Make(TDmImagesMath::ClassType());
        QCOMPARE(math->IndexOf(ieMathCheckSintax), 3);
        QCOMPARE(math->IndexOf(ieMathReferenciaGrafico), 4);
        auto nav = Make(TDmImagesNav::ClassType());
        QCOMPARE(nav->IndexOf(ieNavFilter), 13);
        QCOMPARE(nav->IndexOf(ieNavSearch), 14);
        auto act = Make(TDmImagesAct::ClassType());
        QCOMPARE(act->IndexOf(ieActMantenerDatos), 0);
        QCOMPARE(act->IndexOf(ieActHelp), 10);
        QCOMPARE(act->IndexOf(ieMsExcelInsertRow), 61);
        QCOMPARE(act->IndexOf(ieActRestaurarVista), 77);
        auto status = Make(TDmImagesStatusBar::ClassType());
        QCOMPARE(status->IndexOf(ieStatusBarCompany), 0);
        QCOMPARE(status->IndexOf(ieStatusBarUser), 2);
        auto ventas = Make(TDmImagesVentas::ClassType());
        QCOMPARE(ventas->IndexOf(ieVentasPromocionDescuentoGeneral), 0);
        QCOMPARE(ventas->IndexOf(ieActSolicitarOrden), 20);
        auto grid = Make(TDmImagesGridNav::ClassType());
        QCOMPARE(grid->IndexOf(ieGridNavInsertColumn), 6);
        QCOMPARE(grid->IndexOf(ieGridNavInsertRow), 7);
    }

    void foreignIdentifierIsACatalogueErrorNamingTheModule()
    {
        auto nav = Make(TDmImagesNav::ClassType());
        try {
            nav->IndexOf(ieActHelp);
            QFAIL("no error");
        } catch (const E_VmRepositoryImages_Exception &e) {
            QCOMPARE(e.Message(), QStringLiteral("TDmImagesNav.IndexOf"));
        }
        QPixmap b(5, 5);
        b.fill(Qt::blue);
        QVERIFY_THROWS_EXCEPTION(E_VmRepositoryImages_Exception, nav->GetBitmap(ieActHelp, is16p, b));
        QCOMPARE(b.size(), QSize(5, 5));
        auto empty = Make(TDmImagesEmpty::ClassType());
        QCOMPARE(empty->IndexOf(ieActHelp), 0);
        QCOMPARE(empty->IndexOf(ieNone), 0);
    }

    void missingListsAreAbstractErrors()
    {
        auto empty = Make(TDmImagesEmpty::ClassType());
        QPixmap b;
        for (TImageSize s : {is16p, is32p, is48p}) {
            empty->GetBitmap(ieEmpty, s, b);
            QCOMPARE(b.width(), ImageSizeToPixels(s));
        }
        QVERIFY_THROWS_EXCEPTION(EAbstractError, empty->GetBitmap(ieEmpty, is11p, b));
        QVERIFY_THROWS_EXCEPTION(EAbstractError, empty->GetBitmap(ieEmpty, isBig, b));
        try {
            empty->Img11Png();
        } catch (const EAbstractError &e) {
            QCOMPARE(e.Message(), QStringLiteral("Abstract Error"));
        }
        auto qf = Make(TDmImagesQuickFinder::ClassType());
        qf->GetBitmap(ieQuickFinderCancel, is16p, b);
        QVERIFY_THROWS_EXCEPTION(EAbstractError, qf->GetBitmap(ieQuickFinderCancel, is32p, b));

        // Big-only modules: a Bmp list and nothing else.
        auto chart = Make(TDmImagesChart::ClassType());
        chart->GetBitmap(ieChartArea, isBig, b);
        QCOMPARE(b.size(), QSize(80, 80));
        QVERIFY_THROWS_EXCEPTION(EAbstractError, chart->GetBitmap(ieChartArea, is32p, b));
        QIcon icon;
        TDmImages::TSystemQueries::Current().ColorDepth = [] { return 32; };
        TDmImages::TSystemQueries::Current().WindowsVersion = [] { return wvWin10; };
        auto chartPng = Make(TDmImagesChart::ClassType());
        QVERIFY_THROWS_EXCEPTION(EAbstractError, chartPng->GetIcon(ieChartArea, isBig, icon));
        TDmImages::TSystemQueries::Current().ColorDepth = [] { return 24; };
        auto chartBmp = Make(TDmImagesChart::ClassType());
        chartBmp->GetIcon(ieChartArea, isBig, icon);
        QCOMPARE(Pixels(icon).size(), QSize(80, 80));
    }

    void shortListsLeaveTheBitmapAloneAndTheIconEmpty()
    {
        auto act = Make(TDmImagesAct::ClassType());
        QPixmap b;
        act->GetBitmap(ieActMantenerDatos, is11p, b);
        QCOMPARE(b.size(), QSize(11, 11));
        QPixmap kept(20, 20);
        kept.fill(Qt::green);
        const QImage before = Pixels(kept);
        act->GetBitmap(ieActHelp, is11p, kept);
        QCOMPARE(Pixels(kept), before);
        QIcon icon = QIcon(kept);
        act->GetIcon(ieActHelp, is11p, icon);
        QVERIFY(icon.isNull());

        auto grid = Make(TDmImagesGridNav::ClassType());
        grid->GetBitmap(ieGridAgregarColumna, is11p, kept);
        QCOMPARE(Pixels(kept), before);
        grid->GetBitmap(ieGridAgregarColumna, is16p, b);
        QCOMPARE(b.size(), QSize(16, 16));

        auto ventas = Make(TDmImagesVentas::ClassType());
        for (TImageEnum e : {ieActVincularArticulo, ieVentasInformacionPedidoWeb, ieActVincularCliente,
                             ieActDesvincularCliente, ieActDesvincularArticulo, ieActSolicitarOrden}) {
            ventas->GetBitmap(e, is32p, kept);
            QCOMPARE(Pixels(kept), before);
        }
        ventas->GetBitmap(ieVentasClienteGrupo, is32p, b);
        QCOMPARE(b.size(), QSize(32, 32));
        ventas->GetBitmap(ieVentasPromocionDescuentoArticulo, isBig, b);
        QCOMPARE(b.size(), QSize(108, 45));
        ventas->GetBitmap(ieVentasSucursal, isBig, kept);
        QCOMPARE(Pixels(kept), before);

        auto mesas = Make(TDmImagesMapaMesa::ClassType());
        mesas->GetBitmap(ieConjuntoMesas, isBig, b);
        QCOMPARE(b.size(), QSize(108, 32));
        mesas->GetBitmap(ieMapaMesaAllChecked, isBig, kept);
        QCOMPARE(Pixels(kept), before);
    }

    void helpGlyphIsImageTenOfTheSmallBmpList()
    {
        auto act = Make(TDmImagesAct::ClassType());
        QPixmap glyph;
        act->GetBitmap(ieActHelp, is16p, glyph);
        QCOMPARE(glyph.size(), QSize(16, 16));
        QCOMPARE(Pixels(glyph), act->Img16Bmp()->Image(10));
        QVERIFY(Pixels(glyph) != act->Img16Bmp()->Image(9));
    }

    void iconVariantFollowsColourDepthAndWindowsVersion()
    {
        int versionAsked = 0;
        TWindowsVersion version = wvWin10;
        TDmImages::TSystemQueries::Current().ColorDepth = [] { return 32; };
        TDmImages::TSystemQueries::Current().WindowsVersion = [&] { ++versionAsked; return version; };
        auto act = Make(TDmImagesAct::ClassType());
        QCOMPARE(act->ColorDepth(), 32);
        QIcon icon;
        act->GetIcon(ieActHelp, is32p, icon);
        QCOMPARE(Pixels(icon), act->Img32Png()->Image(10));
        QVERIFY(HasPartialAlpha(Pixels(icon)));
        version = wvWinServer2008R2;
        act->GetIcon(ieActHelp, is32p, icon);
        QCOMPARE(Pixels(icon), act->Img32Bmp()->Image(10));
        QCOMPARE(versionAsked, 2);
        for (TWindowsVersion v : {wvUnknown, wvWinVista, wvWinSeven, wvWin8, wvWinServer2012, wvWin81,
                                  wvWinServer2012R2, wvWin10Server}) {
            version = v;
            act->GetIcon(ieActHelp, is16p, icon);
            QCOMPARE(Pixels(icon), act->Img16Png()->Image(10));
        }
        for (TWindowsVersion v : {wvWin95, wvWin98SE, wvWinME, wvWinNT4, wvWin2000, wvWinXP, wvWin2003,
                                  wvWinServer2008}) {
            version = v;
            act->GetIcon(ieActHelp, is16p, icon);
            QCOMPARE(Pixels(icon), act->Img16Bmp()->Image(10));
        }

        // Another depth: Bmp, and the version is not asked.
        TDmImages::TSystemQueries::Current().ColorDepth = [] { return 16; };
        auto act16 = Make(TDmImagesAct::ClassType());
        version = wvWin10;
        versionAsked = 0;
        act16->GetIcon(ieActHelp, is32p, icon);
        QCOMPARE(Pixels(icon), act16->Img32Bmp()->Image(10));
        QCOMPARE(versionAsked, 0);

        // A depth that cannot be read counts as 32 bits.
        TDmImages::TSystemQueries::Current().ColorDepth = []() -> int { throw Exception(QStringLiteral("sin pantalla")); };
        QCOMPARE(Make(TDmImagesAct::ClassType())->ColorDepth(), 32);
    }

    void sizeOutsideTheFive()
    {
        auto act = Make(TDmImagesAct::ClassType());
        const auto bad = static_cast<TImageSize>(7);
        QPixmap kept(3, 3);
        kept.fill(Qt::green);
        act->GetBitmap(ieActHelp, bad, kept);
        QCOMPARE(kept.size(), QSize(3, 3));
        QIcon icon;
        try {
            act->GetIcon(ieActHelp, bad, icon);
            QFAIL("no error");
        } catch (const E_VmRepositoryImages_Exception &e) {
            QCOMPARE(e.Message(), QStringLiteral("TDmImages.GetIcon"));
        }
    }

    void logosComeAtTheirOwnSize()
    {
        auto logo = Make(TDmImagesLogo::ClassType());
        const struct { TImageEnum Image; QSize Size; } logos[] = {
            {ieLogoDramel, {179, 39}}, {ieLogoKorvo, {195, 39}}, {ieLogoFulcan, {140, 48}}};
        for (const auto &l : logos)
            for (TImageSize s : {is11p, is16p, is32p, is48p, isBig}) {
                QPixmap b;
                logo->GetBitmap(l.Image, s, b);
                QCOMPARE(b.size(), l.Size);
                QCOMPARE(qAlpha(b.toImage().pixel(0, 0)), 255); // white background, opaque
            }
        QPixmap kept(4, 4);
        kept.fill(Qt::green);
        logo->GetBitmap(ieActHelp, is16p, kept);
        QCOMPARE(kept.size(), QSize(4, 4));
        QIcon icon;
        QVERIFY_THROWS_EXCEPTION(EAbstractError, logo->GetIcon(ieLogoDramel, is16p, icon));
        QVERIFY_THROWS_EXCEPTION(EAbstractError, logo->IndexOf(ieLogoDramel));
    }

    void modulePicturesAreReadOnlyWhileAListIsDecoded()
    {
        const QString path = QStringLiteral(":/ZeDede/images/Math/ImgMath16Png.0.png");
        QVERIFY(!QFile::exists(path));
        const int live = TDmImages::InstanceCount(TDmImagesMath::ClassType());
        {
            auto math = Make(TDmImagesMath::ClassType());
            QCOMPARE(TDmImages::InstanceCount(TDmImagesMath::ClassType()), live + 1);
            QCOMPARE(math->Img16Png()->Count(), 5);
            QVERIFY(!QFile::exists(path));
            // A later list is read from the resource again, and released again.
            QCOMPARE(math->Img32Bmp()->Count(), 5);
            QVERIFY(!QFile::exists(path));
        }
        QVERIFY(!QFile::exists(path));
        QCOMPARE(TDmImages::InstanceCount(TDmImagesMath::ClassType()), live);
    }

    void onlyTheListsInUseAreDecoded()
    {
        auto act = Make(TDmImagesAct::ClassType());
        QCOMPARE(act->DecodedListCount(), 0);
        QCOMPARE(act->IndexOf(ieActHelp), 10); // answered from the declaration
        QPixmap glyph;
        act->GetBitmap(ieActHelp, is16p, glyph);
        QCOMPARE(act->DecodedListCount(), 1);
        QVERIFY(act->IsListDecoded(QStringLiteral("ImgAct16Bmp")));
        QVERIFY(!act->IsListDecoded(QStringLiteral("ImgAct16Png")));
        // Only the drawn picture was cut, out of the only piece decoded.
        QCOMPARE(act->Img16Bmp()->CutCount(), 1);
        QCOMPARE(act->Img16Bmp()->Count(), 78);
        QCOMPARE(act->Img16Bmp()->DecodedStripCount(), 1);
        // The last piece holds the 14 pictures left over (64 .. 77).
        QCOMPARE(act->Img16Bmp()->Image(77).size(), QSize(16, 16));
        QVERIFY(act->Img16Bmp()->Image(78).isNull());
        QCOMPARE(act->Img16Bmp()->DecodedStripCount(), 2);
        QCOMPARE(act->DecodedListCount(), 1);
        // An abstract list decodes nothing; an unknown name is no list.
        QVERIFY_THROWS_EXCEPTION(EAbstractError, act->Img48Bmp());
        QVERIFY(!act->List(QStringLiteral("ImgNav16Bmp")));
        QCOMPARE(act->DecodedListCount(), 1);
        // The same list object is handed out every time.
        TImageList *small = act->Img16Bmp();
        QCOMPARE(act->List(QStringLiteral("ImgAct16Bmp")), small);
        QCOMPARE(small->parent(), act.get());

        // A list decoded later holds its own pictures, not the earlier list's.
        QIcon icon;
        TDmImages::TSystemQueries::Current().ColorDepth = [] { return 32; };
        TDmImages::TSystemQueries::Current().WindowsVersion = [] { return wvWin10; };
        auto png = Make(TDmImagesAct::ClassType());
        png->GetIcon(ieActHelp, is32p, icon);
        QCOMPARE(png->DecodedListCount(), 1);
        QVERIFY(png->IsListDecoded(QStringLiteral("ImgAct32Png")));
        QCOMPARE(Pixels(icon).size(), QSize(32, 32));
        QVERIFY(HasPartialAlpha(Pixels(icon)));
        act->GetBitmap(ieActHelp, is32p, glyph);
        QCOMPARE(glyph.size(), QSize(32, 32));
        QVERIFY(!HasPartialAlpha(Pixels(glyph)));
        QCOMPARE(act->DecodedListCount(), 2);
    }

    void aFaultyListFailsWhenItIsDecodedAndLeavesTheOthersUsable()
    {
        // A theme without pictures fails at once.
        QCOMPARE(ErrorOf([] { TDmImagesFaulty m(&NoResourceDecl); }),
                 QStringLiteral("Las imágenes de TDmImagesSinRecurso no están en el programa."));

        TDmImagesFaulty faulty(&FaultyDecl);
        QCOMPARE(faulty.DecodedListCount(), 0);
        const QString missing = QStringLiteral(
            "No se pudo leer la imagen :/ZeDede/images/Act/ImgActNoExiste.0.png de TDmImagesFaulty.");
        QCOMPARE(ErrorOf([&] { faulty.Img32Png(); }), missing);
        QCOMPARE(ErrorOf([&] { faulty.List(QStringLiteral("ImgActNoExiste")); }), missing); // again
        QCOMPARE(ErrorOf([&] { faulty.Img11Bmp(); }),
                 QStringLiteral("La lista ImgAct11Bmp de TDmImagesFaulty no tiene el tamaño esperado."));
        QCOMPARE(faulty.DecodedListCount(), 0);
        // The resource was released after each failure.
        QVERIFY(!QFile::exists(QStringLiteral(":/ZeDede/images/Act/ImgAct16Bmp.0.png")));
        QPixmap b;
        faulty.GetBitmap(ieActMantenerDatos, is16p, b);
        QCOMPARE(b.size(), QSize(16, 16));
        auto act = Make(TDmImagesAct::ClassType());
        QCOMPARE(Pixels(b), act->Img16Bmp()->Image(0));
        QCOMPARE(faulty.DecodedListCount(), 1);
    }
};

QTEST_MAIN(TestTDmImages)
#include "tst_TDmImages.moc"
