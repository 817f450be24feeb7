#include "TerminalText.h"

#include <QList>

namespace {

bool Hidden(char32_t c)
{
    return c < 0x20 || (c >= 0x7F && c <= 0x9F) || (c >= 0x200B && c <= 0x200F)
           || (c >= 0x202A && c <= 0x202E) || (c >= 0x2060 && c <= 0x2069) || c == 0xFEFF
           || c == 0x061C;
}

} // namespace

QString TerminalText(const QString &Value)
{
    QString out;
    for (const uint u : Value.toUcs4()) {
        const char32_t c = u;
        if (Hidden(c))
            out += QStringLiteral("\\u")
                   + QString::number(uint(c), 16).toUpper().rightJustified(4, QLatin1Char('0'));
        else
            out += QString::fromUcs4(&c, 1);
    }
    return out;
}
