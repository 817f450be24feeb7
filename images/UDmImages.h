#pragma once
// Base of the catalogue modules. A module holds the pictures of one theme in
// image lists of fixed size (11, 16, 32, 48 pixels and "big"), each size in a
// Png variant (full alpha) and a Bmp variant (image + mask). A module is a
// declaration (TDmImagesDecl: its lists and the order of its pictures); all
// behaviour lives here. The pictures come from a binary resource of the
// module's own. A list is decoded the first time it is handed out (an
// accessor, List, or a drawing that needs it); the resource is registered
// only while that list is decoded. A list that is never used is never read.

#include "Exception.h"
#include "UImageEnum.h"
#include "UImageList.h"
#include "uJCLCopied.h"

#include <QObject>

#include <cstddef>
#include <iterator>
#include <functional>

class QIcon;
class QPixmap;

// The catalogue's own error: an identifier a module or the routing does not
// know. Only the repository catches it (and serves a fallback picture).
class E_VmRepositoryImages_Exception : public Exception
{
public:
    using Exception::Exception;
};

// An operation a module does not implement (a list it does not own, the index
// of the logo module). Deliberately not a catalogue error: it reaches callers.
class EAbstractError : public Exception
{
public:
    EAbstractError() : Exception(QStringLiteral("Abstract Error")) {}
};

enum TImageVariant : std::uint8_t { ivPng, ivBmp };

// Marks a list that no size accessor returns (the logo lists).
constexpr int NoImageSlot = -1;
// No background colour: transparent.
constexpr int clNone = -1;

struct TImageListDecl
{
    const char *Name;      // e.g. "ImgNavPng16"; also the asset's file name
    int Size;              // a TImageSize, or NoImageSlot
    TImageVariant Variant;
    int Width;
    int Height;
    int Count;             // pictures stored in the list
    int BkColor;           // 0xRRGGBB, or clNone
};

// A list's pictures are stored in pieces of at most PicturesPerPiece
// pictures side by side: assets <Name>.<k>.png, k = 0, 1, ... (a Bmp list
// also has <Name>.<k>.mask.png). Drawing a picture decodes only its piece.
constexpr int PicturesPerPiece = 16;
inline int PieceCount(const TImageListDecl &AList)
{
    return (AList.Count + PicturesPerPiece - 1) / PicturesPerPiece;
}

enum TIndexKind : std::uint8_t
{
    ikOrder,     // the index is the position in Order
    ikAlwaysZero,// every identifier is picture 0, never an error
    ikNone       // IndexOf is not implemented
};

class TDmImages;

struct TDmImagesDecl
{
    const char *ClassName;    // "TDmImagesNav"
    const char *Theme;        // "Nav": the asset folder and resource name
    const TImageListDecl *Lists;
    std::size_t ListCount;
    const TImageEnum *Order;  // the module's identifiers in picture order
    std::size_t OrderCount;
    TIndexKind IndexKind;
    TDmImages *(*Create)(QObject *AOwner);
};

// Class reference of a module: what the repository keys its modules by.
using TDmImagesClass = const TDmImagesDecl *;

class TDmImages : public QObject
{
public:
    ~TDmImages() override;

    TDmImagesClass ClassType() const { return FDecl; }
    QString ClassName() const { return QLatin1String(FDecl->ClassName); }

    // Operations in slot order. IndexOf and the accessors answer from the
    // declaration; an accessor of a list the module does not own, and IndexOf
    // of a module without an index, throw EAbstractError.
    virtual int IndexOf(TImageEnum AImageEnum) const;
    virtual TImageList *Img11Png() const;
    virtual TImageList *Img11Bmp() const;
    virtual TImageList *Img16Png() const;
    virtual TImageList *Img16Bmp() const;
    virtual TImageList *Img32Png() const;
    virtual TImageList *Img32Bmp() const;
    virtual TImageList *Img48Png() const;
    virtual TImageList *Img48Bmp() const;
    virtual TImageList *ImgBigBmp() const;
    virtual TImageList *ImgBigPng() const;
    // Draws the picture into ABitMap, always from the Bmp variant. A size
    // outside the five draws nothing.
    virtual void GetBitmap(TImageEnum AImageEnum, TImageSize AImageSize, QPixmap &ABitMap);

    // Puts the picture into AIcon: the Png variant on a 32-bit screen under a
    // Windows version that draws alpha icons, else the Bmp variant.
    void GetIcon(TImageEnum AImageEnum, TImageSize AImageSize, QIcon &AIcon);

    int ColorDepth() const { return FColorDepth; }
    // The module's list of that name (nullptr when it has none), made on
    // first use; each piece of its pictures is decoded when one of them is
    // first needed. A list whose pieces are missing or have the wrong size
    // throws Exception here, each time it is asked for; a piece that does
    // not decode throws when its pictures are drawn.
    TImageList *List(const QString &AName) const;
    // Whether the list of that name has been made (for inspection).
    bool IsListDecoded(const QString &AName) const;
    int DecodedListCount() const;
    const TDmImagesDecl &Decl() const { return *FDecl; }

    // Live modules of a class (all classes for nullptr).
    static int InstanceCount(TDmImagesClass AClass = nullptr);

    // How a module learns the screen's colour depth and the Windows version.
    // Replaceable so that other machines can be stood in for; an exception
    // from the depth query counts as 32 bits. Reset() restores the defaults.
    struct TSystemQueries
    {
        std::function<int()> ColorDepth;
        std::function<TWindowsVersion()> WindowsVersion;
        static TSystemQueries &Current();
        static void Reset();
    };

protected:
    TDmImages(TDmImagesClass ADecl, QObject *AOwner);

private:
    TImageList *SlotOrAbstract(int ASize, TImageVariant AVariant) const;
    int ListIndex(const QString &AName) const;
    TImageList *DecodedList(int AIndex) const;
    void ReadColorDepth();
    bool UsesPngVariant() const;

    TDmImagesClass FDecl;
    const unsigned char *FResourceData;
    int FColorDepth = 32;
    // Index in FDecl->Lists of the list of each size and variant, -1 = none.
    int FSlots[ImageSizeCount][2];
    // Per declared list: the decoded list, nullptr until first use.
    mutable QVector<TImageList *> FLists;
    QVector<qint16> FIndex; // identifier ordinal -> picture index, -1 = not held
};

// The embedded resource of a theme (nullptr when the build holds none);
// defined by the build from the committed assets.
const unsigned char *DmImagesResourceData(const char *ATheme, std::size_t *ASize = nullptr);
