#pragma once

#include <QImage>
#include <QSize>

// The PNG pictures the program carries, decoded with libpng directly.
//
// Qt's image reader inspects every installed image-format plugin before its
// first read, which costs the program's start-up a few milliseconds; the
// embedded pictures are all PNG and need none of them.
//
// The result is Format_ARGB32 when the picture has transparency (an alpha
// channel or a transparent palette entry) and Format_RGB32 otherwise.  A
// picture that cannot be decoded gives a null image.
QImage DecodePng(const uchar *AData, qsizetype ASize);

// The picture's size as its header gives it, without decoding it; an
// invalid size when the data do not start like a PNG picture.
QSize PngSize(const uchar *AData, qsizetype ASize);
