#pragma once
// Drawing of catalogue pictures from a recipe: layers of Tango theme icons
// and of drawings of our own in the theme's palette and outline style.
//
// Recipe: layers joined by " + ", drawn in order. A layer is a theme icon
// name ("edit-cut") or a drawing ("#coin", "#doc:PDF:red"), optionally
// followed by a placement: "@br", "@bl", "@tr", "@tl" (a badge in that
// corner), "@c" (centred, smaller); and by "!g" (greyed out).

#include <QImage>
#include <QString>

class QPainter;

class TPictureSource
{
public:
    explicit TPictureSource(const QString &AThemeDir);

    // The picture of a recipe at AWidth x AHeight, premultiplied ARGB.
    QImage Render(const QString &ARecipe, int AWidth, int AHeight) const;
    // A theme icon at ASize x ASize (the hand-drawn PNG where the theme has
    // one of that size, else its SVG); throws std::runtime_error when the
    // theme has no icon of that name.
    QImage ThemeIcon(const QString &AName, int ASize) const;

private:
    void Layer(QPainter &APainter, const QString &ALayer, int ASize) const;
    QString FThemeDir;
};

// The drawings of our own: AName without "#", arguments split at ":",
// drawn into a square of ASize pixels at the painter's origin.
void DrawPrimitive(QPainter &APainter, const QString &AName, const QStringList &AArgs, int ASize);
