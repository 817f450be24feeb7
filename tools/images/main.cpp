// zedede_image_assets: writes the catalogue's asset set, or contact sheets.
//
//   zedede_image_assets assets <images/assets> [<Tango theme dir>]
//       draws every list of every module and writes, per module, the pieces
//       of each list <Theme>/<List>.<k>.png (Bmp lists: RGB piece +
//       <List>.<k>.mask.png) and the resource file <Theme>.qrc.
//   zedede_image_assets sheet <folder>
//       loads every module from the program's embedded resources and saves a
//       contact sheet per module (<Theme>.png) plus contact-sheet.png.
// Run with QT_QPA_PLATFORM=offscreen.

#include "Painter.h"
#include "Recipes.h"
#include "UDmImages.h"
#include "UImageEnumHelper.h"
#include "UVmRepositoryImages.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImageWriter>
#include <QPainter>
#include <QTextStream>

#include <cstdio>
#include <memory>
#include <stdexcept>

namespace {

QVector<TDmImagesClass> AllModules()
{
    QVector<TDmImagesClass> modules;
    for (int i = 0; i < ImageEnumCount; ++i) {
        try {
            const TDmImagesClass c = TVmRepositoryImages::DataModuleClass(static_cast<TImageEnum>(i));
            if (!modules.contains(c))
                modules.append(c);
        } catch (const E_VmRepositoryImages_Exception &) {
        }
    }
    return modules;
}

// Bmp pictures carry no alpha: partly transparent pixels are laid over the
// button face colour, and the mask keeps the pixels at least half opaque.
constexpr QRgb BmpFace = 0xfff0f0f0;

void Save(const QImage &AImage, const QString &APath)
{
    QImageWriter writer(APath, "png");
    writer.setQuality(0); // smallest file: strongest deflate
    if (!writer.write(AImage))
        throw std::runtime_error(("cannot write " + APath + ": " + writer.errorString()).toStdString());
}

QImage Picture(const TPictureSource &ASource, const TDmImagesDecl &AModule, const TImageListDecl &AList,
               int AListIndex, int AIndex)
{
    if (AList.Size == NoImageSlot)
        return LogoPicture(AModule.Order[AListIndex], AList.Width, AList.Height);
    const TImageEnum image = AModule.Order[AModule.IndexKind == ikAlwaysZero ? 0 : AIndex];
    if (AList.Size == isBig)
        return BigPicture(ASource, image, AList.Width, AList.Height);
    const QString recipe = PictureRecipe(image);
    if (recipe.isEmpty())
        throw std::runtime_error(("no recipe for " + ImageEnumToString(image)).toStdString());
    return ASource.Render(recipe, AList.Width, AList.Height);
}

// Writes one piece of a list: a Png list's pictures with their alpha; a Bmp
// list's as an RGB image laid over the face colour plus a 1-bit mask.
void WritePiece(const QImage &APiece, const TImageListDecl &AList, const QString &ABase)
{
    if (AList.Variant == ivPng) {
        Save(APiece.convertToFormat(QImage::Format_ARGB32), ABase + ".png");
        return;
    }
    const QRgb face = AList.BkColor == clNone ? BmpFace : (0xff000000u | QRgb(AList.BkColor));
    QImage rgb(APiece.size(), QImage::Format_RGB888);
    QImage mask(APiece.size(), QImage::Format_Mono);
    mask.setColorCount(2);
    mask.setColor(0, qRgb(255, 255, 255)); // transparent
    mask.setColor(1, qRgb(0, 0, 0));       // opaque
    mask.fill(0);
    for (int y = 0; y < APiece.height(); ++y) {
        const QRgb *src = reinterpret_cast<const QRgb *>(APiece.constScanLine(y));
        for (int x = 0; x < APiece.width(); ++x) {
            const QRgb s = src[x];
            const int a = qAlpha(s);
            const auto over = [&](int cs, int cf) { return cs + cf * (255 - a) / 255; };
            rgb.setPixel(x, y, qRgb(over(qRed(s), qRed(face)), over(qGreen(s), qGreen(face)),
                                    over(qBlue(s), qBlue(face))));
            mask.setPixel(x, y, a >= 128 ? 1 : 0);
        }
    }
    Save(rgb, ABase + ".png");
    Save(mask, ABase + ".mask.png");
}

void WriteAssets(const QString &AOut, const QString &ATheme)
{
    const TPictureSource source(ATheme);
    for (TDmImagesClass module : AllModules()) {
        const QString theme = QLatin1String(module->Theme);
        QDir(AOut).mkpath(theme);
        QString qrc;
        QTextStream q(&qrc);
        q << "<RCC>\n  <qresource prefix=\"/ZeDede/images/" << theme << "\">\n";
        for (std::size_t l = 0; l < module->ListCount; ++l) {
            const TImageListDecl &list = module->Lists[l];
            QImage strip(list.Width * list.Count, list.Height, QImage::Format_ARGB32_Premultiplied);
            strip.fill(Qt::transparent);
            {
                QPainter painter(&strip);
                for (int i = 0; i < list.Count; ++i)
                    painter.drawImage(i * list.Width, 0, Picture(source, *module, list, int(l), i));
            }
            for (int k = 0; k < PieceCount(list); ++k) {
                const int first = k * PicturesPerPiece;
                const int pictures = qMin(PicturesPerPiece, list.Count - first);
                const QImage piece =
                    strip.copy(first * list.Width, 0, pictures * list.Width, list.Height);
                const QString name = QLatin1String(list.Name) + QLatin1Char('.') + QString::number(k);
                const QString base = AOut + QLatin1Char('/') + theme + QLatin1Char('/') + name;
                WritePiece(piece, list, base);
                q << "    <file alias=\"" << name << ".png\">" << theme << '/' << name << ".png</file>\n";
                if (list.Variant == ivBmp)
                    q << "    <file alias=\"" << name << ".mask.png\">" << theme << '/' << name
                      << ".mask.png</file>\n";
            }
        }
        q << "  </qresource>\n</RCC>\n";
        QFile file(AOut + QLatin1Char('/') + theme + ".qrc");
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            throw std::runtime_error(("cannot write " + file.fileName()).toStdString());
        file.write(qrc.toUtf8());
        std::printf("%s\n", qPrintable(theme));
    }
}

void Checker(QPainter &APainter, const QRect &ARect)
{
    for (int y = ARect.top(); y < ARect.bottom(); y += 4)
        for (int x = ARect.left(); x < ARect.right(); x += 4)
            APainter.fillRect(QRect(x, y, 4, 4).intersected(ARect),
                              ((x - ARect.left()) / 4 + (y - ARect.top()) / 4) % 2 ? QColor(0xe4, 0xe4, 0xe4)
                                                                                   : QColor(0xfa, 0xfa, 0xfa));
}

QImage ModuleSheet(TDmImagesClass AModule)
{
    std::unique_ptr<TDmImages> module(AModule->Create(nullptr));
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(11);
    const int nameWidth = 240, gap = 8, header = 34;
    int rows = 0, width = nameWidth;
    QVector<int> columnWidth;
    for (std::size_t l = 0; l < AModule->ListCount; ++l) {
        const TImageListDecl &d = AModule->Lists[l];
        columnWidth << qMax(d.Width, 58) + gap;
        width += columnWidth.last();
        rows = qMax(rows, d.Count);
    }
    QVector<int> rowHeight(rows, 12);
    for (std::size_t l = 0; l < AModule->ListCount; ++l)
        for (int i = 0; i < AModule->Lists[l].Count; ++i)
            rowHeight[i] = qMax(rowHeight[i], AModule->Lists[l].Height);
    int height = header;
    for (int h : rowHeight)
        height += h + gap;
    QImage sheet(width, height, QImage::Format_RGB32);
    sheet.fill(Qt::white);
    QPainter p(&sheet);
    p.setFont(font);
    p.setPen(Qt::black);
    p.drawText(QRect(4, 0, nameWidth, header), Qt::AlignVCenter, QLatin1String(AModule->ClassName));
    int x = nameWidth;
    for (std::size_t l = 0; l < AModule->ListCount; ++l) {
        const TImageListDecl &d = AModule->Lists[l];
        p.save();
        QFont small = font;
        small.setPixelSize(9);
        p.setFont(small);
        p.drawText(QRect(x, 0, columnWidth[l] - 2, header), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWrapAnywhere,
                   QLatin1String(d.Name).mid(3));
        p.restore();
        TImageList *list = module->List(QLatin1String(d.Name));
        int y = header;
        for (int i = 0; i < rows; ++i) {
            if (i < list->Count()) {
                const QRect cell(x, y, list->Width(), list->Height());
                Checker(p, cell);
                list->Draw(p, x, y, i);
            }
            y += rowHeight[i] + gap;
        }
        x += columnWidth[l];
    }
    int y = header;
    for (int i = 0; i < rows; ++i) {
        const QString name = AModule->IndexKind == ikOrder || i == 0
                                 ? ImageEnumToString(AModule->Order[qMin<int>(i, int(AModule->OrderCount) - 1)])
                                 : QString();
        p.drawText(QRect(4, y, nameWidth - 8, rowHeight[i]), Qt::AlignVCenter,
                   QStringLiteral("%1  %2").arg(i).arg(name));
        y += rowHeight[i] + gap;
    }
    return sheet;
}

void WriteSheets(const QString &AOut)
{
    QDir().mkpath(AOut);
    QVector<QImage> sheets;
    int width = 0, height = 0;
    for (TDmImagesClass module : AllModules()) {
        const QImage sheet = ModuleSheet(module);
        Save(sheet, AOut + QLatin1Char('/') + QLatin1String(module->Theme) + ".png");
        sheets << sheet;
        width = qMax(width, sheet.width());
        height += sheet.height() + 12;
    }
    QImage all(width, height, QImage::Format_RGB32);
    all.fill(QColor("#babdb6"));
    QPainter p(&all);
    int y = 0;
    for (const QImage &s : sheets) {
        p.drawImage(0, y, s);
        y += s.height() + 12;
    }
    p.end();
    Save(all, AOut + "/contact-sheet.png");
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    try {
        if (args.size() >= 3 && args[1] == QLatin1String("assets")) {
            WriteAssets(args[2], args.value(3, QStringLiteral("/usr/share/icons/Tango")));
            return 0;
        }
        if (args.size() >= 3 && args[1] == QLatin1String("sheet")) {
            WriteSheets(args[2]);
            return 0;
        }
    } catch (const std::exception &e) {
        std::fprintf(stderr, "zedede_image_assets: %s\n", e.what());
        return 1;
    }
    std::fprintf(stderr, "usage: zedede_image_assets assets <dir> [<theme dir>] | sheet <dir>\n");
    return 2;
}
