#include "UserInterfaceFont.h"

#include <QFontDatabase>
#include <QGuiApplication>

QString UserInterfaceFontFamily()
{
    static const QString family = [] {
        const QStringList families = QFontDatabase::families();
        for (const QString &candidate : {QStringLiteral("MS Sans Serif"),
                                         QStringLiteral("Liberation Sans"),
                                         QStringLiteral("DejaVu Sans")}) {
            if (families.contains(candidate, Qt::CaseInsensitive))
                return candidate;
        }
        return QGuiApplication::font().family();
    }();
    return family;
}

QFont UserInterfaceFont(int APixelSize)
{
    QFont font(UserInterfaceFontFamily());
    font.setPixelSize(APixelSize);
    // The classic look: no OpenType shaping for Latin text (no kerning, no
    // ligatures) and fully hinted glyphs at whole-pixel advances, as the
    // metric-compatible families are laid out on the system they imitate.
    // Both also make laying out and drawing text markedly cheaper: each
    // glyph is hinted and drawn once, at one position.
    font.setStyleStrategy(QFont::PreferNoShaping);
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}
