#include "DataValidation.h"

#include "AnsiCodePage.h"

#include <QDir>
#include <QFileInfo>

namespace {

QString WithoutDashes(const QString &Text)
{
    QString t = Text;
    t.remove(QLatin1Char('-'));
    return t;
}

[[noreturn]] void Fail(const QString &Message, TDataField Field, const TFocusField &Focus)
{
    if (Focus)
        Focus(Field);
    throw EDataError(Message, Field);
}

bool IsDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }

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

QString Shown(char32_t u)
{
    return QStringLiteral("«%1» (%2)").arg(QString::fromUcs4(&u, 1), CodeOf(u));
}

} // namespace

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

bool DataComplete(const TRequestData &Data)
{
    return !Data.NombreEmpresa.isEmpty() && !WithoutDashes(Data.CUIT).isEmpty()
           && !Data.Operador.isEmpty() && !Data.Mail.isEmpty() && !Data.Password.isEmpty()
           && !Data.Password2.isEmpty();
}

void wpDatosDoneQuery(QObject *Sender, bool &Done, const TRequestData &Data)
{
    Q_UNUSED(Sender);
    Done = DataComplete(Data);
}

void CheckRequired(const QString &Text, TDataField Field, const QString &Message,
                   const TFocusField &Focus)
{
    if (TrimText(Text).isEmpty())
        Fail(Message, Field, Focus);
}

void CheckText(const QString &Text, TDataField Field, const QString &FieldName, TTextRule Rule,
               int MaxLength, bool Secret, const TFocusField &Focus)
{
    const QList<uint> chars = Text.toUcs4();
    for (const uint c : chars) {
        if (IsControl(c))
            Fail(QStringLiteral("%1 contiene %2, que no se puede usar.").arg(FieldName, ControlName(c)),
                 Field, Focus);
    }
    for (const uint c : chars) {
        if (Rule == TTextRule::Ascii && c >= 0x80)
            Fail(QStringLiteral("%1 contiene %2, que no se puede usar: solo se admiten letras sin "
                                "acentos, números y signos (caracteres ASCII).")
                     .arg(FieldName, Secret ? QStringLiteral("un carácter") : Shown(c)),
                 Field, Focus);
        if (Rule == TTextRule::Request && !AnsiHolds(c))
            Fail(QStringLiteral("%1 contiene %2, que no se puede usar: solo se admiten letras, "
                                "números y signos de Europa occidental.")
                     .arg(FieldName, Secret ? QStringLiteral("un carácter (como un emoji o una "
                                                             "letra de otro alfabeto)")
                                            : Shown(c)),
                 Field, Focus);
    }
    if (MaxLength > 0 && chars.size() > MaxLength)
        Fail(QStringLiteral("%1 puede tener como máximo %2 caracteres.")
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
        Fail(QStringLiteral(
                 "La contraseña debe tener un mínimo de 4 y un máximo de 20 caracteres."),
             TDataField::Password, Focus);
    if (Password2 != Password)
        Fail(QStringLiteral("La contraseña no se ingresó correctamente."),
             TDataField::Password2, Focus);
}

void ValidateData(const TRequestData &Data, const TFocusField &Focus)
{
    CheckRequired(Data.NombreEmpresa, TDataField::NombreEmpresa,
                  QStringLiteral("Debe ingresar el nombre de la empresa."), Focus);
    CheckText(Data.NombreEmpresa, TDataField::NombreEmpresa,
              QStringLiteral("El nombre de la empresa"), TTextRule::Request, kMaxNameLength, false,
              Focus);
    if (TrimText(WithoutDashes(Data.CUIT)).isEmpty())
        Fail(QStringLiteral("Debe ingresar el número de CUIT."), TDataField::CUIT, Focus);
    if (!ValidateCUIT(Data.CUIT))
        Fail(QStringLiteral("El CUIT ingresado es inválido."), TDataField::CUIT, Focus);
    CheckRequired(Data.Operador, TDataField::Operador,
                  QStringLiteral("Debe ingresar el nombre del operador."), Focus);
    CheckText(Data.Operador, TDataField::Operador, QStringLiteral("El nombre del operador"),
              TTextRule::Request, kMaxNameLength, false, Focus);
    CheckRequired(Data.Mail, TDataField::Mail,
                  QStringLiteral("Debe ingresar el mail del operador."), Focus);
    CheckText(Data.Mail, TDataField::Mail, QStringLiteral("El mail del operador"),
              TTextRule::Ascii, kMaxMailLength, false, Focus);
    CheckPasswords(Data.Password, Data.Password2, Focus);
    CheckRequired(Data.Carpeta, TDataField::Carpeta,
                  QStringLiteral("Debe ingresar la carpeta donde se grabarán los archivos."),
                  Focus);
    CheckText(Data.Carpeta, TDataField::Carpeta, QStringLiteral("La carpeta destino"),
              TTextRule::Path, 0, false, Focus);
    QDir().mkpath(Data.Carpeta); // the outcome is judged by the next check
    if (!QFileInfo(Data.Carpeta).isDir())
        Fail(QStringLiteral("No se encontró la carpeta %1").arg(Data.Carpeta),
             TDataField::Carpeta, Focus);
}

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
