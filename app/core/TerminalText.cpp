#include "TerminalText.h"

namespace {

bool NeedsEscape(QChar C)
{
    switch (C.category()) {
    case QChar::Other_Control:
    case QChar::Other_Format:
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph:
        return true;
    default:
        return false;
    }
}

QString Escaped(uint Code)
{
    return QStringLiteral("\\u") + QString::number(Code, 16).toUpper().rightJustified(4, QLatin1Char('0'));
}

} // namespace

QString TerminalSafe(const QString &Text)
{
    QString out;
    out.reserve(Text.size());
    for (int i = 0; i < Text.size(); ++i) {
        const QChar c = Text.at(i);
        if (c.isHighSurrogate() && i + 1 < Text.size() && Text.at(i + 1).isLowSurrogate()) {
            const char32_t code = QChar::surrogateToUcs4(c, Text.at(i + 1));
            // Tag characters and other invisible formats above the BMP.
            if (QChar::category(code) == QChar::Other_Format)
                out += QStringLiteral("\\U%1").arg(uint(code), 8, 16, QLatin1Char('0')).toUpper();
            else
                out += Text.mid(i, 2);
            ++i;
            continue;
        }
        if (c.isSurrogate() || NeedsEscape(c))
            out += Escaped(c.unicode());
        else
            out += c;
    }
    return out;
}
