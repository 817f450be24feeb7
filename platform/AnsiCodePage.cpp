#include "AnsiCodePage.h"

#include <QHash>

namespace {

// Bytes 0x80..0x9F of Windows-1252; 0 marks the five unassigned positions,
// which decode to the C1 control of the same value.
const char16_t kHighTable[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

const QHash<char32_t, char> &ReverseHighTable()
{
    static const QHash<char32_t, char> table = [] {
        QHash<char32_t, char> t;
        for (int i = 0; i < 32; ++i) {
            const char32_t u = kHighTable[i] ? kHighTable[i] : char32_t(0x80 + i);
            t.insert(u, char(0x80 + i));
        }
        return t;
    }();
    return table;
}

bool EncodeDirect(char32_t u, char &out)
{
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
        out = char(u);
        return true;
    }
    const auto &t = ReverseHighTable();
    const auto it = t.constFind(u);
    if (it != t.constEnd()) {
        out = it.value();
        return true;
    }
    return false;
}

// The best fit for a character outside the code page: its base letter when
// the compatibility decomposition is an ASCII letter followed by marks only.
char BestFit(char32_t u)
{
    const QString decomposed =
        QString::fromUcs4(&u, 1).normalized(QString::NormalizationForm_KD);
    if (decomposed.isEmpty())
        return '?';
    const QChar base = decomposed.at(0);
    if (base.unicode() >= 0x80 || !base.isLetter())
        return '?';
    for (int i = 1; i < decomposed.size(); ++i) {
        if (!decomposed.at(i).isMark())
            return '?';
    }
    return char(base.unicode());
}

} // namespace

QByteArray ToAnsi(const QString &Text)
{
    QByteArray result;
    result.reserve(Text.size());
    const auto ucs4 = Text.toUcs4();
    for (const char32_t u : ucs4) {
        char c;
        result.append(EncodeDirect(u, c) ? c : BestFit(u));
    }
    return result;
}

QString FromAnsi(const QByteArray &Bytes)
{
    QString result;
    result.reserve(Bytes.size());
    for (const char b : Bytes) {
        const unsigned char v = static_cast<unsigned char>(b);
        if (v >= 0x80 && v <= 0x9F) {
            const char16_t u = kHighTable[v - 0x80];
            result.append(QChar(u ? u : char16_t(v)));
        } else {
            result.append(QChar(char16_t(v)));
        }
    }
    return result;
}

bool AnsiHolds(char32_t Character)
{
    char c;
    return EncodeDirect(Character, c);
}

char32_t CharacterProgramsLose(const QString &)
{
    return 0;
}
