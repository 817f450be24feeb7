#pragma once

#include <QImage>

// The window's pictures (art/*.png), carried by the program as the pixels it
// draws: converted at build time and embedded read-only, so that showing the
// window decodes nothing.
//
// The image shares the embedded pixels (no copy is made; a pixmap made from
// it shares them too). An unknown name, or pixels whose description does not
// match their size, give a null image.
QImage ZeDedeArtImage(const char *AName);
