#include "UDmImagesControl.h"

namespace {

const TImageListDecl Lists[] = {
    {"ImgControlBigBmp", isBig, ivBmp, 123, 80, 6, clNone},
};

// Picture order: the index of an identifier in every list.
const TImageEnum Order[] = {
    ieControlCheckBox,
    ieControlComboBox,
    ieControlDateTime,
    ieControlNumBox,
    ieControlOptionBox,
    ieControlTextBox,
};

TDmImages *Create(QObject *AOwner)
{
    return new TDmImagesControl(AOwner);
}

const TDmImagesDecl ModuleDecl = {
    "TDmImagesControl", "Control", Lists, std::size(Lists), Order, std::size(Order), ikOrder, Create,
};

} // namespace

TDmImagesControl::TDmImagesControl(QObject *AOwner)
    : TDmImages(&ModuleDecl, AOwner)
{
}

TDmImagesClass TDmImagesControl::ClassType()
{
    return &ModuleDecl;
}
