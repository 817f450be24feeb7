#pragma once
// What a value typed by the user may hold, and the error that names the
// field to correct.

#include "Exception.h"

#include <QString>

#include <functional>

// The field that receives the focus when a check fails.
enum class TDataField { None, NombreEmpresa, CUIT, Operador, Mail, Password, Password2, Carpeta };

// A failed check: the user's message and the field to correct.
class EDataError : public Exception
{
public:
    EDataError(const QString &Message, TDataField Field) : Exception(Message), FField(Field) {}
    TDataField Field() const noexcept { return FField; }

private:
    TDataField FField;
};

// Called with the offending field before the error is thrown.
using TFocusField = std::function<void(TDataField Field)>;

// Throws EDataError(Message, Field), calling Focus with Field first.
[[noreturn]] void FailField(const QString &Message, TDataField Field, const TFocusField &Focus);

// Text without leading and trailing characters of code 32 or below.
QString TrimText(const QString &Text);

// Throws EDataError(Message, Field) when the trimmed Text is empty, calling
// Focus first.
void CheckRequired(const QString &Text, TDataField Field, const QString &Message,
                   const TFocusField &Focus = TFocusField());

// The longest organisation name, operator name and e-mail address, in
// characters (OpenSSL's limits for the request's subject).
constexpr int kMaxNameLength = 64;
constexpr int kMaxMailLength = 64;

// What a value that goes into the request may hold.
enum class TTextRule
{
    Request, // characters Windows-1252 holds (the origin file's code page)
    Ascii,   // ASCII only (an e-mail address in the request)
    Path,    // any character (a folder)
};

// A character as messages show it: «ñ» (U+00F1).
QString ShownCharacter(char32_t Character);

// Checks that Text holds no line break, tab or other control character and
// only characters its rule allows, and that it is at most MaxLength
// characters long (0: no limit). Throws EDataError naming FieldName (as it
// begins a sentence: "El nombre de la empresa") and what cannot be used,
// calling Focus first. Characters are shown in the message unless Secret.
void CheckText(const QString &Text, TDataField Field, const QString &FieldName, TTextRule Rule,
               int MaxLength, bool Secret = false, const TFocusField &Focus = TFocusField());

// The password rules: characters as CheckText's Request rule allows, 4 to
// 20 of them, counted untrimmed, and the repetition equal character for character. Throws EDataError for the
// password (Password) or its repetition (Password2), calling Focus first.
void CheckPasswords(const QString &Password, const QString &Password2,
                    const TFocusField &Focus = TFocusField());
