#pragma once

#include <QImage>

#include <cstdint>

// The window's pictures (art/*.png), carried by the program as the pixels it
// draws: converted at build time and embedded read-only, so that showing the
// window decodes nothing.
//
// The image shares the embedded pixels (no copy is made; a pixmap made from
// it shares them too). An unknown name, or pixels whose description does not
// match their size, give a null image.
QImage ZeDedeArtImage(const char *AName);

// The carried form (written by tools/art_pixels): four native 32-bit words,
// ZeDedeArtMagic, width, height and QImage format (Format_RGB32 or
// Format_ARGB32_Premultiplied), then the rows of 32-bit pixels, each
// width * 4 bytes.
constexpr std::uint32_t ZeDedeArtMagic = 0x5850445a; // "ZDPX" on little-endian machines
constexpr int ZeDedeArtHeaderWords = 4;
