#pragma once
// Names and pixel sizes of the catalogue's identifiers.

#include "UImageEnum.h"

#include <QString>

// The identifier's declared name, e.g. "ieActHelp". A value outside the
// enumeration (only possible through a cast) gives "TImageEnum(<ordinal>)".
QString ImageEnumToString(TImageEnum AImageEnum);

// 11, 16, 32 or 48 for is11p ... is48p; -1 for isBig (no fixed size) and for
// a value outside the enumeration.
int ImageSizeToPixels(TImageSize AImageSize);
