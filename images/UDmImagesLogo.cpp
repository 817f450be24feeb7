#include "UDmImagesLogo.h"

#include <QPixmap>

namespace {

const TImageListDecl Lists[] = {
    {"ImgLogoDramel", NoImageSlot, ivBmp, 179, 39, 1, 0xFFFFFF},
    {"ImgLogoKorvo", NoImageSlot, ivBmp, 195, 39, 1, 0xFFFFFF},
    {"ImgLogoFulcan", NoImageSlot, ivBmp, 140, 48, 1, 0xFFFFFF},
};

// Picture order: the index of an identifier in every list.
const TImageEnum Order[] = {
    ieLogoDramel,
    ieLogoKorvo,
    ieLogoFulcan,
};

TDmImages *Create(QObject *AOwner)
{
    return new TDmImagesLogo(AOwner);
}

const TDmImagesDecl ModuleDecl = {
    "TDmImagesLogo", "Logo", Lists, std::size(Lists), Order, std::size(Order), ikNone, Create,
};

} // namespace

TDmImagesLogo::TDmImagesLogo(QObject *AOwner)
    : TDmImages(&ModuleDecl, AOwner)
{
}

TDmImagesClass TDmImagesLogo::ClassType()
{
    return &ModuleDecl;
}

void TDmImagesLogo::GetBitmap(TImageEnum AImageEnum, TImageSize, QPixmap &ABitMap)
{
    const char *name = nullptr;
    switch (AImageEnum) {
    case ieLogoDramel: name = "ImgLogoDramel"; break;
    case ieLogoKorvo: name = "ImgLogoKorvo"; break;
    case ieLogoFulcan: name = "ImgLogoFulcan"; break;
    default: return;
    }
    List(QLatin1String(name))->GetBitmap(0, ABitMap);
}
