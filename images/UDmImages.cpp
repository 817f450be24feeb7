#include "UDmImages.h"

#include <QGuiApplication>
#include <QHash>
#include <QIcon>
#include <QImageReader>
#include <QPixmap>
#include <QResource>
#include <QScreen>

namespace {

// Never destroyed: modules are freed during static destruction at exit.
QHash<TDmImagesClass, int> &LiveModules()
{
    static auto *live = new QHash<TDmImagesClass, int>();
    return *live;
}

int ScreenColorDepth()
{
    const QScreen *screen = qobject_cast<QGuiApplication *>(QCoreApplication::instance())
                                ? QGuiApplication::primaryScreen()
                                : nullptr;
    if (!screen)
        throw Exception(QStringLiteral("No hay pantalla para leer la profundidad de color."));
    return screen->depth();
}

QString AssetPath(const TDmImagesDecl &ADecl, const char *AList, const char *ASuffix)
{
    return QStringLiteral(":/ZeDede/images/%1/%2%3.png")
        .arg(QLatin1String(ADecl.Theme), QLatin1String(AList), QLatin1String(ASuffix));
}

QImage ReadAsset(const QString &APath, const TDmImagesDecl &ADecl)
{
    QImageReader reader(APath);
    const QImage image = reader.read();
    if (image.isNull())
        throw Exception(QStringLiteral("No se pudo leer la imagen %1 de %2.")
                            .arg(APath, QLatin1String(ADecl.ClassName)));
    return image;
}

// Windows versions whose icons carry no alpha channel, and the two server
// editions that are treated like them.
bool DrawsAlphaIcons(TWindowsVersion AVersion)
{
    switch (AVersion) {
    case wvWin95: case wvWin95OSR2: case wvWin98: case wvWin98SE: case wvWinME:
    case wvWinNT31: case wvWinNT35: case wvWinNT351: case wvWinNT4:
    case wvWin2000: case wvWinXP: case wvWin2003:
    case wvWinServer2008: case wvWinServer2008R2:
        return false;
    default:
        return true;
    }
}

} // namespace

TDmImages::TSystemQueries &TDmImages::TSystemQueries::Current()
{
    static TSystemQueries queries{ScreenColorDepth, QueryWindowsVersion};
    return queries;
}

void TDmImages::TSystemQueries::Reset()
{
    Current() = TSystemQueries{ScreenColorDepth, QueryWindowsVersion};
}

TDmImages::TDmImages(TDmImagesClass ADecl, QObject *AOwner)
    : QObject(AOwner), FDecl(ADecl)
{
    setObjectName(QLatin1String(ADecl->ClassName));
    FIndex.fill(-1, ImageEnumCount);
    for (std::size_t i = 0; i < ADecl->OrderCount; ++i)
        FIndex[ADecl->Order[i]] = static_cast<qint16>(i);
    LoadLists();
    ReadColorDepth();
    ++LiveModules()[FDecl];
}

TDmImages::~TDmImages()
{
    auto &live = LiveModules();
    if (--live[FDecl] <= 0)
        live.remove(FDecl);
}

int TDmImages::InstanceCount(TDmImagesClass AClass)
{
    const auto &live = LiveModules();
    if (AClass)
        return live.value(AClass, 0);
    int total = 0;
    for (int n : live)
        total += n;
    return total;
}

void TDmImages::LoadLists()
{
    const unsigned char *data = DmImagesResourceData(FDecl->Theme);
    if (!data)
        throw Exception(QStringLiteral("Las imágenes de %1 no están en el programa.")
                            .arg(QLatin1String(FDecl->ClassName)));
    // The resource is mapped only while the lists are decoded.
    if (!QResource::registerResource(data))
        throw Exception(QStringLiteral("Las imágenes de %1 están dañadas.")
                            .arg(QLatin1String(FDecl->ClassName)));
    struct Unregister
    {
        const unsigned char *Data;
        ~Unregister() { QResource::unregisterResource(Data); }
    } unregister{data};

    for (std::size_t i = 0; i < FDecl->ListCount; ++i) {
        const TImageListDecl &decl = FDecl->Lists[i];
        auto *list = new TImageList(decl.Width, decl.Height, this);
        list->setObjectName(QLatin1String(decl.Name));
        if (decl.BkColor != clNone) {
            const QColor bk = QColor::fromRgb(static_cast<QRgb>(decl.BkColor));
            list->SetBkColor(bk);
            list->SetBlendColor(bk);
        }
        const QImage strip = ReadAsset(AssetPath(*FDecl, decl.Name, ""), *FDecl);
        const QImage mask = decl.Variant == ivBmp
                                ? ReadAsset(AssetPath(*FDecl, decl.Name, ".mask"), *FDecl)
                                : QImage();
        if (strip.height() != decl.Height || strip.width() != decl.Width * decl.Count)
            throw Exception(QStringLiteral("La lista %1 de %2 no tiene el tamaño esperado.")
                                .arg(QLatin1String(decl.Name), QLatin1String(FDecl->ClassName)));
        list->AddMasked(strip, mask);
        FLists.append(list);
        if (decl.Size != NoImageSlot)
            FSlots[decl.Size][decl.Variant] = list;
    }
}

void TDmImages::ReadColorDepth()
{
    try {
        FColorDepth = TSystemQueries::Current().ColorDepth();
    } catch (...) {
        FColorDepth = 32;
    }
}

TImageList *TDmImages::List(const QString &AName) const
{
    for (TImageList *list : FLists)
        if (list->objectName() == AName)
            return list;
    return nullptr;
}

TImageList *TDmImages::SlotOrAbstract(int ASize, TImageVariant AVariant) const
{
    TImageList *list = FSlots[ASize][AVariant];
    if (!list)
        throw EAbstractError();
    return list;
}

int TDmImages::IndexOf(TImageEnum AImageEnum) const
{
    switch (FDecl->IndexKind) {
    case ikAlwaysZero:
        return 0;
    case ikNone:
        throw EAbstractError();
    case ikOrder:
        break;
    }
    const int ordinal = static_cast<int>(AImageEnum);
    const int index = ordinal >= 0 && ordinal < ImageEnumCount ? FIndex.at(ordinal) : -1;
    if (index < 0)
        throw E_VmRepositoryImages_Exception(ClassName() + QStringLiteral(".IndexOf"));
    return index;
}

TImageList *TDmImages::Img11Png() const { return SlotOrAbstract(is11p, ivPng); }
TImageList *TDmImages::Img11Bmp() const { return SlotOrAbstract(is11p, ivBmp); }
TImageList *TDmImages::Img16Png() const { return SlotOrAbstract(is16p, ivPng); }
TImageList *TDmImages::Img16Bmp() const { return SlotOrAbstract(is16p, ivBmp); }
TImageList *TDmImages::Img32Png() const { return SlotOrAbstract(is32p, ivPng); }
TImageList *TDmImages::Img32Bmp() const { return SlotOrAbstract(is32p, ivBmp); }
TImageList *TDmImages::Img48Png() const { return SlotOrAbstract(is48p, ivPng); }
TImageList *TDmImages::Img48Bmp() const { return SlotOrAbstract(is48p, ivBmp); }
TImageList *TDmImages::ImgBigBmp() const { return SlotOrAbstract(isBig, ivBmp); }
TImageList *TDmImages::ImgBigPng() const { return SlotOrAbstract(isBig, ivPng); }

void TDmImages::GetBitmap(TImageEnum AImageEnum, TImageSize AImageSize, QPixmap &ABitMap)
{
    const int index = IndexOf(AImageEnum);
    TImageList *list = nullptr;
    switch (AImageSize) {
    case is11p: list = Img11Bmp(); break;
    case is16p: list = Img16Bmp(); break;
    case is32p: list = Img32Bmp(); break;
    case is48p: list = Img48Bmp(); break;
    case isBig: list = ImgBigBmp(); break;
    default: return;
    }
    list->GetBitmap(index, ABitMap);
}

bool TDmImages::UsesPngVariant() const
{
    if (FColorDepth != 32)
        return false;
    return DrawsAlphaIcons(TSystemQueries::Current().WindowsVersion());
}

void TDmImages::GetIcon(TImageEnum AImageEnum, TImageSize AImageSize, QIcon &AIcon)
{
    const bool png = UsesPngVariant();
    const int index = IndexOf(AImageEnum);
    TImageList *list = nullptr;
    switch (AImageSize) {
    case is11p: list = png ? Img11Png() : Img11Bmp(); break;
    case is16p: list = png ? Img16Png() : Img16Bmp(); break;
    case is32p: list = png ? Img32Png() : Img32Bmp(); break;
    case is48p: list = png ? Img48Png() : Img48Bmp(); break;
    case isBig: list = png ? ImgBigPng() : ImgBigBmp(); break;
    default: throw E_VmRepositoryImages_Exception(QStringLiteral("TDmImages.GetIcon"));
    }
    list->GetIcon(index, AIcon);
}
