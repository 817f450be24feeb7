#include "UDmImages.h"

#include "PngImage.h"
#include "ScreenColorDepth.h"

#include <QHash>
#include <QIcon>
#include <QPixmap>
#include <QResource>

namespace {

// Never destroyed: modules are freed during static destruction at exit.
QHash<TDmImagesClass, int> &LiveModules()
{
    static auto *live = new QHash<TDmImagesClass, int>();
    return *live;
}

QString AssetPath(const TDmImagesDecl &ADecl, const char *AList, int APiece, const char *ASuffix)
{
    return QStringLiteral(":/ZeDede/images/%1/%2.%3%4.png")
        .arg(QLatin1String(ADecl.Theme), QLatin1String(AList), QString::number(APiece),
             QLatin1String(ASuffix));
}

// A PNG picture of a module's resource, where the embedded resource keeps
// it: the bytes stay valid while the program runs, registered or not.
struct TEncodedAsset
{
    QString Path;
    const uchar *Data = nullptr;
    qsizetype Size = 0;
};

[[noreturn]] void ThrowUnreadable(const QString &APath, const TDmImagesDecl &ADecl)
{
    throw Exception(QStringLiteral("No se pudo leer la imagen %1 de %2.")
                        .arg(APath, QLatin1String(ADecl.ClassName)));
}

[[noreturn]] void ThrowWrongSize(const TImageListDecl &AList, const TDmImagesDecl &ADecl)
{
    throw Exception(QStringLiteral("La lista %1 de %2 no tiene el tamaño esperado.")
                        .arg(QLatin1String(AList.Name), QLatin1String(ADecl.ClassName)));
}

// Finds an asset of the registered resource and checks the size its header
// gives; nothing is decoded.
TEncodedAsset FindAsset(const QString &APath, const QSize &ASize, const TImageListDecl &AList,
                        const TDmImagesDecl &ADecl)
{
    const QResource resource(APath);
    // The catalogue's resources are built uncompressed (images/CMakeLists.txt).
    if (!resource.isValid() || resource.compressionAlgorithm() != QResource::NoCompression)
        ThrowUnreadable(APath, ADecl);
    const TEncodedAsset asset{APath, resource.data(), resource.size()};
    const QSize size = PngSize(asset.Data, asset.Size);
    if (!size.isValid())
        ThrowUnreadable(APath, ADecl);
    if (size != ASize)
        ThrowWrongSize(AList, ADecl);
    return asset;
}

QImage DecodeAsset(const TEncodedAsset &AAsset, const QSize &ASize, const TImageListDecl &AList,
                   const TDmImagesDecl &ADecl)
{
    const QImage image = DecodePng(AAsset.Data, AAsset.Size);
    if (image.isNull())
        ThrowUnreadable(AAsset.Path, ADecl);
    if (image.size() != ASize)
        ThrowWrongSize(AList, ADecl);
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
    : QObject(AOwner), FDecl(ADecl), FResourceData(DmImagesResourceData(ADecl->Theme))
{
    if (!FResourceData)
        throw Exception(QStringLiteral("Las imágenes de %1 no están en el programa.")
                            .arg(QLatin1String(FDecl->ClassName)));
    setObjectName(QLatin1String(ADecl->ClassName));
    FIndex.fill(-1, ImageEnumCount);
    for (std::size_t i = 0; i < ADecl->OrderCount; ++i)
        FIndex[ADecl->Order[i]] = static_cast<qint16>(i);
    for (auto &sizes : FSlots)
        sizes[ivPng] = sizes[ivBmp] = -1;
    FLists.fill(nullptr, static_cast<int>(ADecl->ListCount));
    for (std::size_t i = 0; i < ADecl->ListCount; ++i)
        if (ADecl->Lists[i].Size != NoImageSlot)
            FSlots[ADecl->Lists[i].Size][ADecl->Lists[i].Variant] = static_cast<int>(i);
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

TImageList *TDmImages::DecodedList(int AIndex) const
{
    if (TImageList *list = FLists.at(AIndex))
        return list;
    // The resource is mapped only while the list is decoded.
    if (!QResource::registerResource(FResourceData))
        throw Exception(QStringLiteral("Las imágenes de %1 están dañadas.")
                            .arg(QLatin1String(FDecl->ClassName)));
    struct Unregister
    {
        const unsigned char *Data;
        ~Unregister() { QResource::unregisterResource(Data); }
    } unregister{FResourceData};

    // Every piece is found and its size checked now; each is decoded when
    // the first of its pictures is needed.
    const TImageListDecl &decl = FDecl->Lists[AIndex];
    struct TPiece
    {
        int Pictures;
        QSize Size;
        TEncodedAsset Image;
        TEncodedAsset Mask;
    };
    QVector<TPiece> pieces;
    for (int k = 0; k < PieceCount(decl); ++k) {
        const int pictures = qMin(PicturesPerPiece, decl.Count - k * PicturesPerPiece);
        const QSize size(pictures * decl.Width, decl.Height);
        TPiece piece{pictures, size,
                     FindAsset(AssetPath(*FDecl, decl.Name, k, ""), size, decl, *FDecl),
                     TEncodedAsset()};
        if (decl.Variant == ivBmp)
            piece.Mask = FindAsset(AssetPath(*FDecl, decl.Name, k, ".mask"), size, decl, *FDecl);
        pieces.append(piece);
    }
    // Owned by the module: decoding does not change what the module is.
    auto *list = new TImageList(decl.Width, decl.Height, const_cast<TDmImages *>(this));
    list->setObjectName(QLatin1String(decl.Name));
    if (decl.BkColor != clNone) {
        const QColor bk = QColor::fromRgb(static_cast<QRgb>(decl.BkColor));
        list->SetBkColor(bk);
        list->SetBlendColor(bk);
    }
    // The declarations are static tables: they outlive every list.
    const TDmImagesDecl *module = FDecl;
    const TImageListDecl *listDecl = &decl;
    for (const TPiece &piece : pieces) {
        list->AddDeferred(piece.Pictures, [piece, listDecl, module](QImage &AImage, QImage &AMask) {
            AImage = DecodeAsset(piece.Image, piece.Size, *listDecl, *module);
            if (piece.Mask.Data)
                AMask = DecodeAsset(piece.Mask, piece.Size, *listDecl, *module);
        });
    }
    FLists[AIndex] = list;
    return list;
}

int TDmImages::ListIndex(const QString &AName) const
{
    for (std::size_t i = 0; i < FDecl->ListCount; ++i)
        if (AName == QLatin1String(FDecl->Lists[i].Name))
            return static_cast<int>(i);
    return -1;
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
    const int index = ListIndex(AName);
    return index < 0 ? nullptr : DecodedList(index);
}

bool TDmImages::IsListDecoded(const QString &AName) const
{
    const int index = ListIndex(AName);
    return index >= 0 && FLists.at(index);
}

int TDmImages::DecodedListCount() const
{
    return static_cast<int>(FLists.size() - FLists.count(nullptr));
}

TImageList *TDmImages::SlotOrAbstract(int ASize, TImageVariant AVariant) const
{
    const int index = FSlots[ASize][AVariant];
    if (index < 0)
        throw EAbstractError();
    return DecodedList(index);
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
