#include "UDmImagesMessage.h"

namespace {

const TImageListDecl Lists[] = {
    {"ImgMessage16Png", is16p, ivPng, 16, 16, 5, clNone},
    {"ImgMessage16Bmp", is16p, ivBmp, 16, 16, 5, clNone},
    {"ImgMessage32Png", is32p, ivPng, 32, 32, 5, clNone},
    {"ImgMessage32Bmp", is32p, ivBmp, 32, 32, 5, clNone},
};

// Picture order: the index of an identifier in every list.
const TImageEnum Order[] = {
    ieMessageError,
    ieMessageInfo,
    ieMessageQuestion,
    ieMessageWarning,
    ieMessageInfoError,
};

TDmImages *Create(QObject *AOwner)
{
    return new TDmImagesMessage(AOwner);
}

const TDmImagesDecl ModuleDecl = {
    "TDmImagesMessage", "Message", Lists, std::size(Lists), Order, std::size(Order), ikOrder, Create,
};

} // namespace

TDmImagesMessage::TDmImagesMessage(QObject *AOwner)
    : TDmImages(&ModuleDecl, AOwner)
{
}

TDmImagesClass TDmImagesMessage::ClassType()
{
    return &ModuleDecl;
}
