#pragma once
// Drawing pieces shared by the window's pictures and the program's icon: the
// artwork's colours, the gold seal with its ribbons and the key.

#include <QColor>
#include <QPainter>
#include <QPainterPath>
#include <QPointF>

inline const QColor GoldLight(255, 226, 140);
inline const QColor Gold(232, 178, 52);
inline const QColor GoldDark(150, 98, 18);
inline const QColor Ribbon(180, 32, 48);
inline const QColor RibbonDark(120, 16, 30);
inline const QColor Navy(10, 42, 84);

// A star-shaped outline with ATeeth points between the two radii.
QPainterPath Rosette(QPointF c, double rOuter, double rInner, int teeth);

// Gold seal of radius r centred on c, with two ribbon tails hanging below it
// (ARibbonLength in radii; none when 0) and outlines AOutline wide.
void DrawSeal(QPainter &p, QPointF c, double r, double ARibbonLength, double AOutline);

// A key lying along the x axis, bow at the origin, AScale times its natural
// size (about 75 x 26); drawn in the painter's current transformation.
void DrawKey(QPainter &p, double AScale, double AOutline);
