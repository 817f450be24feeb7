#pragma once
// The program's icon: the certificate with its gold seal (and, from 64 pixels
// up, the key) on the deep blue of the welcome picture, in a rounded square.
// Small sizes have designs of their own, on whole pixels, with fewer details.

#include <QImage>
#include <QString>

// The icon ASize pixels square, transparent around the rounded square.
QImage DrawAppIcon(int ASize);

// Writes the icon into an icon theme folder, as the hicolor theme lays it out:
//   <folder>/<n>x<n>/apps/<id>.png for n = 16, 24, 32, 48, 64, 128, 256
//   <folder>/scalable/apps/<id>.svg
// (<id> is the program's desktop id). False when a file cannot be written.
bool WriteAppIcons(const QString &AFolder);
