#include "TextRules.h"

#include "AnsiCodePage.h"

#include <QList>

namespace {

bool IsControl(char32_t u) { return u < 0x20 || (u >= 0x7F && u <= 0x9F); }

QString CodeOf(char32_t u)
{
    return QStringLiteral("U+") + QStringLiteral("%1").arg(uint(u), 4, 16, QLatin1Char('0')).toUpper();
}

// "un salto de línea", "una tabulación", "un carácter de control (U+0007)".
QString ControlName(char32_t u)
{
    if (u == '\n' || u == '\r' || u == 0x85)
        return QStringLiteral("un salto de línea");
    if (u == '\t')
        return QStringLiteral("una tabulación");
    return QStringLiteral("un carácter de control (%1)").arg(CodeOf(u));
}

} // namespace

QString ShownCharacter(char32_t Character)
{
    return QStringLiteral("«%1» (%2)").arg(QString::fromUcs4(&Character, 1), CodeOf(Character));
}

void FailField(const QString &Message, TDataField Field, const TFocusField &Focus)
{
    if (Focus)
        Focus(Field);
    throw EDataError(Message, Field);
}

QString TrimText(const QString &Text)
{
    int b = 0;
    int e = Text.size();
    while (b < e && Text.at(b).unicode() <= 32)
        ++b;
    while (e > b && Text.at(e - 1).unicode() <= 32)
        --e;
    return Text.mid(b, e - b);
}

void CheckRequired(const QString &Text, TDataField Field, const QString &Message,
                   const TFocusField &Focus)
{
    if (TrimText(Text).isEmpty())
        FailField(Message, Field, Focus);
}

void CheckText(const QString &Text, TDataField Field, const QString &FieldName, TTextRule Rule,
               int MaxLength, bool Secret, const TFocusField &Focus)
{
    const QList<uint> chars = Text.toUcs4();
    for (const uint c : chars) {
        if (IsControl(c))
            FailField(QStringLiteral("%1 contiene %2, que no se puede usar.").arg(FieldName, ControlName(c)),
                 Field, Focus);
    }
    for (const uint c : chars) {
        if (Rule == TTextRule::Ascii && c >= 0x80)
            FailField(QStringLiteral("%1 contiene %2, que no se puede usar: solo se admiten letras sin "
                                "acentos, números y signos (caracteres ASCII).")
                     .arg(FieldName, Secret ? QStringLiteral("un carácter") : ShownCharacter(c)),
                 Field, Focus);
        if (Rule == TTextRule::Request && !AnsiHolds(c))
            FailField(QStringLiteral("%1 contiene %2, que no se puede usar: solo se admiten letras, "
                                "números y signos de Europa occidental.")
                     .arg(FieldName, Secret ? QStringLiteral("un carácter (como un emoji o una "
                                                             "letra de otro alfabeto)")
                                            : ShownCharacter(c)),
                 Field, Focus);
    }
    if (MaxLength > 0 && chars.size() > MaxLength)
        FailField(QStringLiteral("%1 puede tener como máximo %2 caracteres.")
                 .arg(FieldName)
                 .arg(MaxLength),
             Field, Focus);
}

void CheckPasswords(const QString &Password, const QString &Password2,
                    const TFocusField &Focus)
{
    CheckText(Password, TDataField::Password, QStringLiteral("La contraseña"),
              TTextRule::Request, 0, true, Focus);
    if (Password.size() < 4 || Password.size() > 20)
        FailField(QStringLiteral(
                 "La contraseña debe tener un mínimo de 4 y un máximo de 20 caracteres."),
             TDataField::Password, Focus);
    if (Password2 != Password)
        FailField(QStringLiteral("La contraseña no se ingresó correctamente."),
             TDataField::Password2, Focus);
}
