#include "UDmImagesSemaphore.h"

namespace {

const TImageListDecl Lists[] = {
    {"ImgSemaphoresPng32", is32p, ivPng, 32, 32, 4, clNone},
    {"ImgSemaphoresBmp32", is32p, ivBmp, 32, 32, 4, clNone},
    {"ImgSemaphoresPng16", is16p, ivPng, 16, 16, 4, clNone},
    {"ImgSemaphoresBmp16", is16p, ivBmp, 16, 16, 4, clNone},
};

// Picture order: the index of an identifier in every list.
const TImageEnum Order[] = {
    ieSemaphore,
    ieSemaphoreRed,
    ieSemaphoreYellow,
    ieSemaphoreGreen,
};

TDmImages *Create(QObject *AOwner)
{
    return new TDmImagesSemaphore(AOwner);
}

const TDmImagesDecl ModuleDecl = {
    "TDmImagesSemaphore", "Semaphore", Lists, std::size(Lists), Order, std::size(Order), ikOrder, Create,
};

} // namespace

TDmImagesSemaphore::TDmImagesSemaphore(QObject *AOwner)
    : TDmImages(&ModuleDecl, AOwner)
{
}

TDmImagesClass TDmImagesSemaphore::ClassType()
{
    return &ModuleDecl;
}
