// Build step of the program: turns one of the window's pictures (app/art/*.png)
// into the pixels the program draws, so that it carries them ready to use and
// decodes nothing at start-up.
//   art_pixels <input.png> <output.pixels>
//
// Output: the form described in app/ZeDedeArt.h, Format_RGB32 for an opaque
// picture and Format_ARGB32_Premultiplied for one with transparency, as a
// pixmap keeps them.

#include "ZeDedeArt.h"

#include <QFile>
#include <QImage>

#include <cstdint>
#include <cstdio>

int main(int argc, char **argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: art_pixels <input.png> <output.pixels>\n");
        return 2;
    }
    QImage image(QString::fromLocal8Bit(argv[1]));
    if (image.isNull()) {
        std::fprintf(stderr, "art_pixels: cannot read %s\n", argv[1]);
        return 1;
    }
    image.convertTo(image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                            : QImage::Format_RGB32);
    QFile out(QString::fromLocal8Bit(argv[2]));
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        std::fprintf(stderr, "art_pixels: cannot write %s\n", argv[2]);
        return 1;
    }
    const std::uint32_t header[ZeDedeArtHeaderWords] = {
        ZeDedeArtMagic, std::uint32_t(image.width()), std::uint32_t(image.height()),
        std::uint32_t(image.format())};
    bool ok = out.write(reinterpret_cast<const char *>(header), sizeof header) == sizeof header;
    for (int y = 0; ok && y < image.height(); ++y) {
        const qint64 row = qint64(image.width()) * 4;
        ok = out.write(reinterpret_cast<const char *>(image.constScanLine(y)), row) == row;
    }
    if (!ok || !out.flush()) {
        std::fprintf(stderr, "art_pixels: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
