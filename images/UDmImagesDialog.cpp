#include "UDmImagesDialog.h"

namespace {

const TImageListDecl Lists[] = {
    {"ImgDialog16Png", is16p, ivPng, 16, 16, 4, clNone},
    {"ImgDialog16Bmp", is16p, ivBmp, 16, 16, 4, clNone},
    {"ImgDialog32Png", is32p, ivPng, 32, 32, 4, clNone},
    {"ImgDialog32Bmp", is32p, ivBmp, 32, 32, 4, clNone},
};

// Picture order: the index of an identifier in every list.
const TImageEnum Order[] = {
    ieDialogError,
    ieDialogInfo,
    ieDialogQuestion,
    ieDialogWarning,
};

TDmImages *Create(QObject *AOwner)
{
    return new TDmImagesDialog(AOwner);
}

const TDmImagesDecl ModuleDecl = {
    "TDmImagesDialog", "Dialog", Lists, std::size(Lists), Order, std::size(Order), ikOrder, Create,
};

} // namespace

TDmImagesDialog::TDmImagesDialog(QObject *AOwner)
    : TDmImages(&ModuleDecl, AOwner)
{
}

TDmImagesClass TDmImagesDialog::ClassType()
{
    return &ModuleDecl;
}
