#pragma once
// The typeface every window of the program uses: "MS Sans Serif" where it is
// installed, else the metric-compatible Liberation Sans, else DejaVu Sans,
// 11 pixels high.

#include <QFont>
#include <QString>

// The first of the three families the font database knows; the toolkit's
// default family when none is installed. Looked up once per process.
QString UserInterfaceFontFamily();

// The font, fully hinted and without OpenType shaping for scripts that do
// not need it.
QFont UserInterfaceFont(int APixelSize = 11);
