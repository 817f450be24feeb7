#include "ZeDedeArt.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

// Defined in the generated ZeDedeArtPixels.cpp.
const unsigned char *ZeDedeArtPixels(const char *AName, std::size_t *ASize);

QImage ZeDedeArtImage(const char *AName)
{
    std::size_t size = 0;
    const unsigned char *data = ZeDedeArtPixels(AName, &size);
    constexpr std::size_t HeaderSize = ZeDedeArtHeaderWords * sizeof(std::uint32_t);
    if (!data || size < HeaderSize)
        return QImage();
    std::uint32_t header[ZeDedeArtHeaderWords];
    std::memcpy(header, data, HeaderSize);
    const std::uint32_t width = header[1];
    const std::uint32_t height = header[2];
    const auto format = static_cast<QImage::Format>(header[3]);
    if (header[0] != ZeDedeArtMagic || width == 0 || height == 0 || width > 4096 || height > 4096
        || (format != QImage::Format_RGB32 && format != QImage::Format_ARGB32_Premultiplied)
        || size != HeaderSize + std::size_t(width) * height * 4)
        return QImage();
    return QImage(data + HeaderSize, int(width), int(height), int(width * 4), format);
}
