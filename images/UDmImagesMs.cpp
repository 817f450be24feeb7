#include "UDmImagesMs.h"

namespace {

const TImageListDecl Lists[] = {
    {"ImgMs16Png", is16p, ivPng, 16, 16, 10, clNone},
    {"ImgMs16Bmp", is16p, ivBmp, 16, 16, 10, clNone},
    {"ImgMs32Png", is32p, ivPng, 32, 32, 10, clNone},
    {"ImgMs32Bmp", is32p, ivBmp, 32, 32, 10, clNone},
};

// Picture order: the index of an identifier in every list.
const TImageEnum Order[] = {
    ieMsOffice,
    ieMsExcel,
    ieMsWord,
    ieMsOutlook,
    ieMsSendToExcel,
    ieMsSendToWord,
    ieMsSendToOutlook,
    ieMsImportFromExcel,
    ieMsExcelTemplate,
    ieMsAccess,
};

TDmImages *Create(QObject *AOwner)
{
    return new TDmImagesMs(AOwner);
}

const TDmImagesDecl ModuleDecl = {
    "TDmImagesMs", "Ms", Lists, std::size(Lists), Order, std::size(Order), ikOrder, Create,
};

} // namespace

TDmImagesMs::TDmImagesMs(QObject *AOwner)
    : TDmImages(&ModuleDecl, AOwner)
{
}

TDmImagesClass TDmImagesMs::ClassType()
{
    return &ModuleDecl;
}
