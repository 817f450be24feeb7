#include "UDmImagesChart.h"

namespace {

const TImageListDecl Lists[] = {
    {"ImgChartBigBmp", isBig, ivBmp, 80, 80, 7, clNone},
};

// Picture order: the index of an identifier in every list.
const TImageEnum Order[] = {
    ieChartArea,
    ieChartBar,
    ieChartBarCir,
    ieChartColumn,
    ieChartLine,
    ieChartLineMarker,
    ieChartCaracteristicas,
};

TDmImages *Create(QObject *AOwner)
{
    return new TDmImagesChart(AOwner);
}

const TDmImagesDecl ModuleDecl = {
    "TDmImagesChart", "Chart", Lists, std::size(Lists), Order, std::size(Order), ikOrder, Create,
};

} // namespace

TDmImagesChart::TDmImagesChart(QObject *AOwner)
    : TDmImages(&ModuleDecl, AOwner)
{
}

TDmImagesClass TDmImagesChart::ClassType()
{
    return &ModuleDecl;
}
