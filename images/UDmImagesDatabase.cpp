#include "UDmImagesDatabase.h"

namespace {

const TImageListDecl Lists[] = {
    {"ImgDataBase16Png", is16p, ivPng, 16, 16, 5, clNone},
    {"ImgDataBase16Bmp", is16p, ivBmp, 16, 16, 5, clNone},
    {"ImgDataBase32Png", is32p, ivPng, 32, 32, 5, clNone},
    {"ImgDataBase32Bmp", is32p, ivBmp, 32, 32, 5, clNone},
};

// Picture order: the index of an identifier in every list.
const TImageEnum Order[] = {
    ieDatabase,
    ieDatabaseServer,
    ieDatabaseError,
    ieDatabaseReport,
    ieDatabaseDiccionario,
};

TDmImages *Create(QObject *AOwner)
{
    return new TDmImagesDataBase(AOwner);
}

const TDmImagesDecl ModuleDecl = {
    "TDmImagesDataBase", "DataBase", Lists, std::size(Lists), Order, std::size(Order), ikOrder, Create,
};

} // namespace

TDmImagesDataBase::TDmImagesDataBase(QObject *AOwner)
    : TDmImages(&ModuleDecl, AOwner)
{
}

TDmImagesClass TDmImagesDataBase::ClassType()
{
    return &ModuleDecl;
}
