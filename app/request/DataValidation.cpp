#include "DataValidation.h"

#include "AnsiCodePage.h"
#include "Cuit.h"
#include "Folders.h"
#include "Paths.h"

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
    FailField(Message, Field, Focus);
}

// The system's reason as the end of a sentence: "acceso denegado."
QString ReasonInSentence(const TFileError &Error)
{
    QString reason = Error.Reason();
    if (!reason.isEmpty())
        reason[0] = reason.at(0).toLower();
    return reason;
}

} // namespace

bool DataComplete(const TRequestData &Data)
{
    return !Data.NombreEmpresa.isEmpty() && !WithoutDashes(Data.CUIT).isEmpty()
           && !Data.Operador.isEmpty() && !Data.Mail.isEmpty() && !Data.Password.isEmpty()
           && !Data.Password2.isEmpty();
}

QString ResolveFolder(const QString &Text)
{
    if (Text == QLatin1String("~"))
        return NativePath(QDir::homePath());
    if (Text.startsWith(QLatin1String("~/")) || Text.startsWith(QStringLiteral("~") + PathDelimiter()))
        return NativePath(QDir::homePath()) + Text.mid(1);
    if (IsAbsolutePath(Text))
        return Text;
    return IncludeTrailingDelimiter(NativePath(QDir::currentPath())) + Text;
}

QString ValidateRequestData(const TRequestData &Data, const TFocusField &Focus)
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
    const QString folder = ResolveFolder(Data.Carpeta);
    // OpenSSL must be able to open the key and request it writes there;
    // the resolved folder counts, since "~" brings in the user's own.
    if (const char32_t lost = CharacterProgramsLose(folder))
        Fail(QStringLiteral("La carpeta %1 contiene %2, que OpenSSL no puede usar en esta "
                            "computadora. Elija o cree una carpeta sin ese carácter.")
                 .arg(folder, ShownCharacter(lost)),
             TDataField::Carpeta, Focus);
    TFileError error;
    if (!CreateFolderPath(folder, error) || !QFileInfo(folder).isDir())
        Fail(QStringLiteral("No se encontró la carpeta %1. No se pudo crear: %2")
                 .arg(folder, ReasonInSentence(error)),
             TDataField::Carpeta, Focus);
    if (!CanCreateFilesIn(folder, error))
        Fail(QStringLiteral("No se pueden grabar archivos en la carpeta %1: %2 Elija otra "
                            "carpeta o pida permiso para escribir en esta.")
                 .arg(folder, ReasonInSentence(error)),
             TDataField::Carpeta, Focus);
    return folder;
}
