#include "PngImage.h"

#include <png.h>

#include <cstring>

QImage DecodePng(const uchar *AData, qsizetype ASize)
{
    if (!AData || ASize <= 0)
        return QImage();
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&png, AData, static_cast<size_t>(ASize)))
        return QImage();
    // QImage's 32-bit formats are 0xAARRGGBB words: B, G, R, A in memory on
    // little-endian machines, A, R, G, B on big-endian ones.
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
    const png_uint_32 layout = PNG_FORMAT_BGRA;
#else
    const png_uint_32 layout = PNG_FORMAT_ARGB;
#endif
    const bool alpha = (png.format & PNG_FORMAT_FLAG_ALPHA) != 0;
    png.format = layout;
    QImage image(static_cast<int>(png.width), static_cast<int>(png.height),
                 alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    if (image.isNull()) {
        png_image_free(&png);
        return QImage();
    }
    // An opaque picture is written with alpha 255: a valid RGB32 image.
    if (!png_image_finish_read(&png, nullptr, image.bits(),
                               static_cast<png_int_32>(image.bytesPerLine()), nullptr)) {
        png_image_free(&png);
        return QImage();
    }
    return image;
}

QSize PngSize(const uchar *AData, qsizetype ASize)
{
    // Signature, then the IHDR chunk: length 13, "IHDR", width, height.
    static const uchar Start[16] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n',
                                    0, 0, 0, 13, 'I', 'H', 'D', 'R'};
    if (!AData || ASize < 24 || std::memcmp(AData, Start, sizeof Start) != 0)
        return QSize();
    const auto word = [AData](int AAt) {
        return (quint32(AData[AAt]) << 24) | (quint32(AData[AAt + 1]) << 16)
               | (quint32(AData[AAt + 2]) << 8) | quint32(AData[AAt + 3]);
    };
    const quint32 width = word(16);
    const quint32 height = word(20);
    if (width == 0 || height == 0 || width > 0x7fffffff || height > 0x7fffffff)
        return QSize();
    return QSize(int(width), int(height));
}
