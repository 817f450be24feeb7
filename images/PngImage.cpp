#include "PngImage.h"

#include <QFile>
#include <QResource>

#include <png.h>

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

QImage ReadPngImage(const QString &APath)
{
    if (APath.startsWith(QLatin1Char(':'))) {
        const QResource resource(APath);
        if (!resource.isValid())
            return QImage();
        if (resource.compressionAlgorithm() == QResource::NoCompression)
            return DecodePng(resource.data(), resource.size());
        const QByteArray data = resource.uncompressedData();
        return DecodePng(reinterpret_cast<const uchar *>(data.constData()), data.size());
    }
    QFile file(APath);
    if (!file.open(QIODevice::ReadOnly))
        return QImage();
    const QByteArray data = file.readAll();
    return DecodePng(reinterpret_cast<const uchar *>(data.constData()), data.size());
}
