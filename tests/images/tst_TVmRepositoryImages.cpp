// The repository: routing, lazy modules, fallback with its log entry, the
// image-list conveniences and the global instance.

#include "UDmImagesAct.h"
#include "UDmImagesDialog.h"
#include "UDmImagesLogo.h"
#include "UDmImagesMath.h"
#include "UDmImagesNav.h"
#include "UDmImagesProduct.h"
#include "UDmImagesStatusBar.h"
#include "UImageEnumHelper.h"
#include "UVmRepositoryImages.h"
#include "uVmPaths.h"
#include "uVmWriteToLog.h"

#include <QDirIterator>
#include <QFile>
#include <QIcon>
#include <QPixmap>
#include <QResource>
#include <QTemporaryDir>
#include <QtTest>

namespace {

struct TExpectedRoute
{
    int First;
    int Last;
    const char *Module; // "" = no module
};

// The routing table as published, typed independently of the code.
const TExpectedRoute ExpectedRoutes[] = {
    {0, 0, ""},
    {1, 1, "TDmImagesEmpty"},
    {2, 5, "TDmImagesStatusBar"},
    {6, 10, "TDmImagesToolbarMenu"},
    {11, 14, "TDmImagesAct"},
    {15, 16, "TDmImagesNotificaciones"},
    {17, 19, "TDmImagesQuickFinder"},
    {20, 26, "TDmImagesFulcan"},
    {27, 49, "TDmImagesNav"},
    {50, 58, "TDmImagesGridNav"},
    {59, 70, "TDmImagesVertNav"},
    {71, 71, "TDmImagesMs"},
    {72, 74, "TDmImagesAct"},
    {75, 83, "TDmImagesMs"},
    {84, 152, "TDmImagesAct"},
    {153, 153, "TDmImagesVentas"},
    {154, 167, "TDmImagesModules"},
    {168, 172, "TDmImagesProduct"},
    {173, 174, "TDmImagesDatoAdjunto"},
    {175, 178, "TDmImagesDialog"},
    {179, 183, "TDmImagesMessage"},
    {184, 203, "TDmImagesGral"},
    {204, 207, "TDmImagesSemaphore"},
    {208, 211, "TDmImagesArrow"},
    {212, 216, "TDmImagesMath"},
    {217, 221, "TDmImagesDataBase"},
    {222, 227, "TDmImagesWizard"},
    {228, 234, "TDmImagesChart"},
    {235, 240, "TDmImagesControl"},
    {241, 248, "TDmImagesVentas"},
    {249, 249, ""},
    {250, 251, "TDmImagesVentas"},
    {252, 253, "TDmImagesAct"},
    {254, 258, "TDmImagesVentas"},
    {259, 259, "TDmImagesOtros"},
    {260, 264, "TDmImagesVentas"},
    {265, 268, "TDmImagesContable"},
    {269, 269, ""},
    {270, 271, "TDmImagesContable"},
    {272, 277, "TDmImagesControlCheck"},
    {278, 283, "TDmImagesFondos"},
    {284, 284, "TDmImagesFondosBig"},
    {285, 285, "TDmImagesFondos"},
    {286, 286, "TDmImagesFondosBig"},
    {287, 293, "TDmImagesCompras"},
    {294, 296, "TDmImagesLogo"},
    {297, 300, "TDmImagesDestImp"},
    {301, 307, "TDmImagesAdministrador"},
    {308, 311, "TDmImagesAdmEmpresas"},
    {312, 315, "TDmImagesEstados"},
    {316, 330, "TDmImagesMapaMesa"},
    {331, 336, "TDmImagesAlineacion"},
};

QImage Pixels(const QPixmap &APixmap)
{
    return APixmap.toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

QImage Pixels(const QIcon &AIcon)
{
    const QList<QSize> sizes = AIcon.availableSizes();
    if (sizes.isEmpty())
        return QImage();
    return AIcon.pixmap(sizes.first()).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

// The picture a module holds for an identifier, as GetBitmap draws it.
QImage ModuleBitmap(TDmImagesClass AClass, TImageEnum AImage, TImageSize ASize)
{
    std::unique_ptr<TDmImages> module(AClass->Create(nullptr));
    QPixmap pixmap;
    module->GetBitmap(AImage, ASize, pixmap);
    return Pixels(pixmap);
}

} // namespace

class TestTVmRepositoryImages : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir FLogHome;

    // Lines of every log file under the temporary data folder naming AText
    // as the whole message.
    int LogLines(const QString &AText) const
    {
        int n = 0;
        QDirIterator it(FLogHome.path(), QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            if (!path.endsWith(QLatin1String(".log")))
                continue;
            QFile f(path);
            if (!f.open(QIODevice::ReadOnly))
                continue;
            for (const QByteArray &line : f.readAll().split('\n'))
                if (line.trimmed().endsWith(" " + AText.toLatin1()) || line.trimmed().endsWith("\t" + AText.toLatin1()))
                    ++n;
        }
        return n;
    }

private slots:
    // Must stay first: nothing may have fetched a picture yet.
    void startsWithAnEmptyGlobalRepositoryAndNoModuleRead()
    {
        QVERIFY(RepositoryImages);
        QCOMPARE(RepositoryImages->LoadedModuleCount(), 0);
        QCOMPARE(TDmImages::InstanceCount(), 0);
        QVERIFY(!QFile::exists(QStringLiteral(":/ZeDede/images/Act/ImgAct16Png.0.png")));
    }

    void initTestCase()
    {
        QVERIFY(FLogHome.isValid());
        qputenv("XDG_DATA_HOME", QFile::encodeName(FLogHome.path()));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(FLogHome.path() + "/config"));
        TVmPaths::ClearCommonAppDataCache();
        TManagedLogFile::ClearThreadData();
    }

    void routesEveryOrdinalAsPublished()
    {
        int covered = 0;
        for (const TExpectedRoute &route : ExpectedRoutes) {
            for (int i = route.First; i <= route.Last; ++i, ++covered) {
                QCOMPARE(covered, i);
                const auto ie = static_cast<TImageEnum>(i);
                if (*route.Module == 0) {
                    QVERIFY_THROWS_EXCEPTION(E_VmRepositoryImages_Exception,
                                             TVmRepositoryImages::DataModuleClass(ie));
                    try {
                        TVmRepositoryImages::DataModuleClass(ie);
                    } catch (const E_VmRepositoryImages_Exception &e) {
                        QCOMPARE(e.Message(),
                                 QStringLiteral("ImageEnum no definido en TVmRepositoryImages.DataModuleClass"));
                    }
                    continue;
                }
                const TDmImagesClass c = TVmRepositoryImages::DataModuleClass(ie);
                QVERIFY2(QByteArray(c->ClassName) == route.Module, qPrintable(ImageEnumToString(ie)));
                // The module routed to holds the identifier.
                bool held = c->IndexKind != ikOrder;
                for (std::size_t k = 0; k < c->OrderCount; ++k)
                    held = held || c->Order[k] == ie;
                QVERIFY2(held, qPrintable(ImageEnumToString(ie)));
            }
        }
        QCOMPARE(covered, ImageEnumCount);
    }

    void createsAModuleOnFirstUseAndReusesIt()
    {
        TVmRepositoryImages repository;
        const int before = TDmImages::InstanceCount(TDmImagesAct::ClassType());
        QPixmap glyph;
        repository.GetBitmap(ieActHelp, glyph, is16p);
        QCOMPARE(glyph.size(), QSize(16, 16));
        QCOMPARE(Pixels(glyph), ModuleBitmap(TDmImagesAct::ClassType(), ieActHelp, is16p));
        QCOMPARE(repository.LoadedModuleCount(), 1);
        TDmImages *first = repository.GetDataModule(ieActHelp);
        QPixmap other;
        repository.GetBitmap(ieActCut, other, is32p);
        repository.GetBitmap(ieToolbarMenuSaveAs, other, is16p);
        QCOMPARE(repository.GetDataModule(ieActRestaurarVista), first);
        QCOMPARE(repository.LoadedModuleCount(), 1);
        QCOMPARE(TDmImages::InstanceCount(TDmImagesAct::ClassType()), before + 1);
    }

    void missingPictureLogsItsNameOnceAndDrawsTheSmallFallback()
    {
        TVmRepositoryImages repository;
        const int before = LogLines(QStringLiteral("ieActHabilitarPrecio"));
        QPixmap b(40, 40);
        b.fill(Qt::red);
        repository.GetBitmap(ieActHabilitarPrecio, b, is32p);
        QCOMPARE(LogLines(QStringLiteral("ieActHabilitarPrecio")), before + 1);
        QCOMPARE(b.size(), QSize(16, 16));
        // Over the kept top-left corner of the red bitmap.
        QPixmap expected(40, 40);
        expected.fill(Qt::red);
        std::unique_ptr<TDmImages> product(TDmImagesProduct::ClassType()->Create(nullptr));
        product->GetBitmap(ieProductoFulcan, is16p, expected);
        QCOMPARE(Pixels(b), Pixels(expected));
        QVERIFY(!repository.IsLoaded(TDmImagesAct::ClassType()));
        QVERIFY(repository.IsLoaded(TDmImagesProduct::ClassType()));
    }

    void iconFallbackKeepsTheAskedSizeOrFailsWhereTheProductHasNoList()
    {
        TVmRepositoryImages repository;
        const int before = LogLines(QStringLiteral("ieNone"));
        QIcon icon;
        repository.GetIcon(ieNone, icon, is32p);
        QCOMPARE(Pixels(icon).size(), QSize(32, 32));
        QCOMPARE(LogLines(QStringLiteral("ieNone")), before + 1);
        QVERIFY_THROWS_EXCEPTION(EAbstractError, repository.GetIcon(ieNone, icon, is48p));
        QCOMPARE(LogLines(QStringLiteral("ieNone")), before + 2);
    }

    void heldPicturesAndAbstractErrorsWriteNoLogEntry()
    {
        TVmRepositoryImages repository;
        const int math = LogLines(QStringLiteral("ieMathReferenciaGrafico"));
        QPixmap b;
        repository.GetBitmap(ieMathReferenciaGrafico, b, is16p);
        QCOMPARE(Pixels(b), ModuleBitmap(TDmImagesMath::ClassType(), ieMathReferenciaGrafico, is16p));
        QCOMPARE(LogLines(QStringLiteral("ieMathReferenciaGrafico")), math);

        const int logo = LogLines(QStringLiteral("ieLogoKorvo"));
        for (TImageSize s : {is11p, is16p, is32p, is48p, isBig}) {
            QPixmap l;
            repository.GetBitmap(ieLogoKorvo, l, s);
            QCOMPARE(l.size(), QSize(195, 39));
        }
        QIcon icon;
        QVERIFY_THROWS_EXCEPTION(EAbstractError, repository.GetIcon(ieLogoKorvo, icon, is16p));
        QVERIFY_THROWS_EXCEPTION(EAbstractError, repository.GetBitmap(ieEmpty, b, is11p));
        QCOMPARE(LogLines(QStringLiteral("ieLogoKorvo")), logo);
        QCOMPARE(LogLines(QStringLiteral("ieEmpty")), 0);
    }

    void createdGraphicsHoldThePicture()
    {
        TVmRepositoryImages repository;
        const std::unique_ptr<QPixmap> bitmap = repository.CreateBitmap(ieDialogInfo, is32p);
        QCOMPARE(bitmap->size(), QSize(32, 32));
        const std::unique_ptr<QIcon> icon = repository.CreateIcon(ieDialogInfo, is16p);
        QCOMPARE(Pixels(*icon).size(), QSize(16, 16));
        const std::unique_ptr<QPixmap> big = repository.CreateBitmap(ieLogoDramel, isBig);
        QCOMPARE(big->size(), QSize(179, 39));
    }

    void statusBarListHoldsUserCompanyVersionKey()
    {
        QObject form;
        TImageList *list = RepositoryImages->ImgStatusBar(&form);
        QCOMPARE(list->parent(), &form);
        QCOMPARE(QSize(list->Width(), list->Height()), QSize(16, 16));
        QCOMPARE(list->Count(), 4);
        const TImageEnum order[] = {ieStatusBarUser, ieStatusBarCompany, ieStatusBarVersion, ieStatusBarKey};
        for (int i = 0; i < 4; ++i) {
            QIcon icon;
            RepositoryImages->GetIcon(order[i], icon, is16p);
            QCOMPARE(list->Image(i), Pixels(icon));
        }
        TImageList *toolbar = TVmRepositoryImages::ImgToolBar(&form);
        QCOMPARE(toolbar->Count(), 0);
        QCOMPARE(QSize(toolbar->Width(), toolbar->Height()), QSize(16, 16));
    }

    void imageListsAreFreedWithTheirOwner()
    {
        QPointer<TImageList> a, b;
        {
            QObject form;
            a = RepositoryImages->ImgStatusBar(&form);
            b = TVmRepositoryImages::ImgToolBar(&form);
        }
        QVERIFY(!a);
        QVERIFY(!b);
    }

    void replacingAnImageKeepsTheCount()
    {
        TImageList list;
        for (TImageEnum e : {ieDialogError, ieDialogWarning, ieDialogQuestion, ieDialogError})
            RepositoryImages->AddIconToImageList(e, is16p, &list);
        const QImage before = list.Image(2);
        RepositoryImages->ReplaceImageListIcon(ieDialogInfo, is16p, &list, 2);
        QCOMPARE(list.Count(), 4);
        QVERIFY(list.Image(2) != before);
        QIcon info;
        RepositoryImages->GetIcon(ieDialogInfo, info, is16p);
        QCOMPARE(list.Image(2), Pixels(info));
        QVERIFY_THROWS_EXCEPTION(Exception, RepositoryImages->ReplaceImageListIcon(ieDialogInfo, is16p, &list, 4));
        QCOMPARE(list.Count(), 4);
    }

    void bitmapAddsCarryTheirMask()
    {
        TImageList list;
        RepositoryImages->AddBmpToImageList(ieActHelp, is16p, &list);
        QCOMPARE(list.Count(), 1);
        const QImage img = list.Image(0);
        int opaque = 0, clear = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) {
                const int a = qAlpha(img.pixel(x, y));
                QVERIFY(a == 0 || a == 255);
                (a ? opaque : clear)++;
            }
        QVERIFY(opaque > 60);
        QVERIFY(clear > 10); // the round symbol leaves the corners transparent
        RepositoryImages->ReplaceImageListBitmap(ieActCut, is16p, &list, 0);
        QCOMPARE(list.Count(), 1);
        QVERIFY(list.Image(0) != img);
    }

    void iconColourIsFixed()
    {
        TVmRepositoryImages repository;
        for (int i = 0; i < 3; ++i) {
            const QColor c = repository.IconColor();
            QCOMPARE(c, QColor(89, 122, 164));
            QCOMPARE(c.red() | (c.green() << 8) | (c.blue() << 16), 10779225);
        }
    }

    void destructionFreesExactlyTheLoadedModules()
    {
        const int act = TDmImages::InstanceCount(TDmImagesAct::ClassType());
        const int nav = TDmImages::InstanceCount(TDmImagesNav::ClassType());
        const int dialog = TDmImages::InstanceCount(TDmImagesDialog::ClassType());
        const int total = TDmImages::InstanceCount();
        auto repository = std::make_unique<TVmRepositoryImages>();
        QPixmap b;
        repository->GetBitmap(ieActCut, b, is16p);
        repository->GetBitmap(ieNavFirst, b, is16p);
        repository->GetBitmap(ieDialogError, b, is32p);
        repository->GetBitmap(ieNavLast, b, is32p);
        QCOMPARE(repository->LoadedModuleCount(), 3);
        QCOMPARE(TDmImages::InstanceCount(), total + 3);
        repository.reset();
        QCOMPARE(TDmImages::InstanceCount(TDmImagesAct::ClassType()), act);
        QCOMPARE(TDmImages::InstanceCount(TDmImagesNav::ClassType()), nav);
        QCOMPARE(TDmImages::InstanceCount(TDmImagesDialog::ClassType()), dialog);
        QCOMPARE(TDmImages::InstanceCount(), total);
    }
};

QTEST_MAIN(TestTVmRepositoryImages)
#include "tst_TVmRepositoryImages.moc"
