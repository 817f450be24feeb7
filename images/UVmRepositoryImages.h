#pragma once
// The one entry point for catalogue pictures: routes an identifier to its
// module, creates each module on first use and keeps it until the end, and
// turns a picture the catalogue cannot supply into an error entry of the
// managed log plus the fallback picture ieProductoFulcan.
//
// Bitmaps are QPixmaps and icons QIcons, both owned by the caller. Use on the
// user-interface thread only.

#include "UDmImages.h"

#include <QColor>
#include <QHash>

#include <memory>

class QIcon;
class QPixmap;

class TVmRepositoryImages
{
public:
    TVmRepositoryImages();
    ~TVmRepositoryImages();
    TVmRepositoryImages(const TVmRepositoryImages &) = delete;
    TVmRepositoryImages &operator=(const TVmRepositoryImages &) = delete;

    // Puts the picture into AIcon (Png or Bmp variant, see TDmImages). On a
    // miss: log entry, then the fallback at the asked size.
    void GetIcon(TImageEnum AImageEnum, QIcon &AIcon, TImageSize AImageSize);
    // Draws the picture (Bmp variant) into ABitMap. On a miss: log entry, then
    // the 16-pixel fallback.
    void GetBitmap(TImageEnum AImageEnum, QPixmap &ABitMap, TImageSize AImageSize);
    // New graphics filled through this instance; the caller owns them.
    std::unique_ptr<QIcon> CreateIcon(TImageEnum AImageEnum, TImageSize AImageSize);
    std::unique_ptr<QPixmap> CreateBitmap(TImageEnum AImageEnum, TImageSize AImageSize);

    // A new, empty 16 x 16 list owned by AOwner.
    static TImageList *ImgToolBar(QObject *AOwner);
    // A new 16 x 16 list owned by AOwner holding the icons of user, company,
    // version and key, in that order.
    TImageList *ImgStatusBar(QObject *AOwner);

    // These four always fetch through the global RepositoryImages.
    void AddIconToImageList(TImageEnum AImageEnum, TImageSize AImageSize, TImageList *AImageList);
    void AddBmpToImageList(TImageEnum AImageEnum, TImageSize AImageSize, TImageList *AImageList);
    void ReplaceImageListIcon(TImageEnum AImageEnum, TImageSize AImageSize,
                              TImageList *AImageList, qint32 AIndex);
    void ReplaceImageListBitmap(TImageEnum AImageEnum, TImageSize AImageSize,
                                TImageList *AImageList, qint32 AIndex);

    // Colour value 10779225: red 89, green 122, blue 164.
    QColor IconColor() const;

    // The module class holding the identifier; E_VmRepositoryImages_Exception
    // for an identifier without a module.
    static TDmImagesClass DataModuleClass(TImageEnum AImageEnum);
    // The module for the identifier, created on first use.
    TDmImages *GetDataModule(TImageEnum AImageEnum);

    // Loaded modules, for inspection.
    int LoadedModuleCount() const { return FDataModules.size(); }
    bool IsLoaded(TDmImagesClass AClass) const { return FDataModules.contains(AClass); }

    // The icon colour as a packed value (blue in the high byte).
    static constexpr int IconColorValue = 10779225;
    static constexpr TImageEnum FallbackImage = ieProductoFulcan;
    static constexpr TImageSize FallbackBitmapSize = is16p;

private:
    QHash<TDmImagesClass, TDmImages *> FDataModules;
};

// Created when the program starts (empty), freed with every loaded module
// when it ends.
extern TVmRepositoryImages *RepositoryImages;
