#include "Cuit.h"

#include "TextRules.h"

#include <QRegularExpression>

namespace {

bool IsDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }

} // namespace

bool ValidateCUIT(const QString &Text)
{
    QString candidate;
    QString remainder;
    if (Text.size() > 11) {
        if (Text.at(2) != QLatin1Char('-') || Text.at(11) != QLatin1Char('-'))
            return false;
        remainder = Text.mid(13);
        candidate = Text.left(2) + Text.mid(3, 8) + Text.mid(12, 1);
    } else {
        candidate = Text;
    }
    candidate = TrimText(candidate);
    if (candidate.size() != 11 || !remainder.isEmpty())
        return false;
    static const char kWeights[] = "5432765432";
    int sum = 0;
    for (int i = 0; i < 10; ++i) {
        if (!IsDigit(candidate.at(i)))
            return false;
        sum += (kWeights[i] - '0') * (candidate.at(i).unicode() - '0');
    }
    const int r = sum % 11;
    const int expected = r == 0 ? 0 : 11 - r;
    const QChar last = candidate.at(10);
    return IsDigit(last) && last.unicode() - '0' == expected;
}

QString CUITDigits(const QString &MaskedCUIT)
{
    QString digits = MaskedCUIT;
    digits.remove(QLatin1Char('-'));
    return digits;
}

QString FormatCUIT(const QString &Digits)
{
    if (Digits.size() != 11)
        return Digits;
    return Digits.left(2) + QLatin1Char('-') + Digits.mid(2, 8) + QLatin1Char('-')
           + Digits.mid(10);
}

QString CUITFromSerialNumber(const QString &SerialNumber)
{
    QString s = SerialNumber.trimmed();
    if (s.startsWith(QLatin1String("CUIT"), Qt::CaseInsensitive))
        s = s.mid(4).trimmed();
    s.remove(QLatin1Char('-'));
    static const QRegularExpression digits(QStringLiteral("^[0-9]{11}$"));
    return digits.match(s).hasMatch() ? s : QString();
}
