#pragma once
// What each catalogue picture shows: a recipe per identifier (see Painter.h)
// and the drawings of the big pictures and the logos.

#include "UImageEnum.h"

#include <QImage>
#include <QString>

class TPictureSource;

// The recipe of an identifier's small pictures (11 to 48 pixels).
QString PictureRecipe(TImageEnum AImageEnum);

// A big picture (a module's "big" list) of AWidth x AHeight.
QImage BigPicture(const TPictureSource &ASource, TImageEnum AImageEnum, int AWidth, int AHeight);

// The logo of a logo list, at the list's size, on white.
QImage LogoPicture(TImageEnum AImageEnum, int AWidth, int AHeight);
