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
    // Latin text needs no OpenType shaping; skipping it (and with it the
    // font's kerning and ligatures, which the classic look never had) makes
    // laying out text markedly cheaper.
    font.setStyleStrategy(QFont::PreferNoShaping);
    return font;
}
