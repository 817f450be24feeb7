#include "RenewCommand.h"

#include "ConsoleRun.h"

#include "DataValidation.h"
#include "ErrorLog.h"
#include "CertificateErrors.h"
#include "OpenSSLSetup.h"
#include "Paths.h"
#include "PasswordInput.h"
#include "Renewal.h"
#include "RenewalRequest.h"
#include "RequestGenerator.h"
#include "TerminalText.h"

#include <QDir>
#include <QFileInfo>

namespace {

QString Shown(const QString &Path) { return TerminalSafe(NativePath(Path)); }

} // namespace

int RunRenew(const TRenewOptions &Options, const TPasswordSource &Password, QTextStream &Out,
             QTextStream &Err, const QDate &Day, const QString &ProgramFolder)
{
    if (Options.Certificate.isEmpty()) {
        Err << QStringLiteral("Indique el certificado a renovar: zedede --renovar CERTIFICADO "
                              "--sin-ventana\n");
        return reUnavailable;
    }
    TRenewal renewal;
    try {
        renewal = PrepareRenewal(Options.Certificate, Day);
    } catch (const Exception &e) {
        Err << QStringLiteral("No se pudo leer el certificado %1: %2\n")
                   .arg(Shown(Options.Certificate), TerminalSafe(e.Message()));
        return reUnavailable;
    }
    if (Options.CompanyGiven)
        renewal.Company = Options.Company;
    if (Options.MailGiven)
        renewal.Mail = Options.Mail;
    if (renewal.CUIT.isEmpty()) {
        Err << QStringLiteral("El certificado %1 no lleva un CUIT válido: no se puede renovar.\n")
                   .arg(Shown(renewal.Certificate));
        return reProblem;
    }
    if (renewal.Company.isEmpty() || renewal.Mail.isEmpty()) {
        Err << (renewal.DataFile.isEmpty()
                    ? QStringLiteral("No se encontró el pedido ni la identificación de origen "
                                     "del certificado. ")
                    : QString())
            << (renewal.Company.isEmpty()
                    ? QStringLiteral("Indique la razón social con --empresa NOMBRE.\n")
                    : QStringLiteral("Indique la dirección de e-mail con --mail DIRECCION.\n"));
        return reProblem;
    }

    TRequestData data = RenewalRequestData(renewal);
    if (!Password || !Password(data.Password, data.Password2)) {
        Err << QStringLiteral("No se leyó la contraseña de la entrada estándar.\n");
        return reProblem;
    }
    try {
        CheckPasswords(data.Password, data.Password2);
    } catch (const Exception &e) {
        Err << e.Message() << '\n';
        return reProblem;
    }

    try {
        if (!PrepareOpenSSL(TInstallQuestion(), ProgramFolder)) {
            Err << QStringLiteral("OpenSSL no está instalado y este equipo no tiene el programa "
                                  "openssl. Instálelo, o abra el asistente (zedede) para "
                                  "instalar el que trae ZeDede, y vuelva a intentar.\n");
            return reUnavailable;
        }
    } catch (const Exception &e) {
        Err << e.Message() << '\n';
        return reUnavailable;
    }

    const bool folderExisted = QFileInfo::exists(renewal.Folder);
    TRequestResult result;
    try {
        data.Carpeta = ValidateRequestData(data);
        result = GenerateRequestFiles(data);
    } catch (const Exception &e) {
        // The renewal folder made for it goes again when nothing is in it.
        if (!folderExisted)
            QDir().rmdir(renewal.Folder);
        Err << TerminalSafe(e.Message()) << '\n';
        if (!e.Details().isEmpty())
            Err << QStringLiteral("Detalle: %1\n").arg(TerminalSafe(e.Details()));
        return reProblem;
    }
    Out << QStringLiteral("Carpeta de la renovación: %1\n").arg(Shown(data.Carpeta))
        << QStringLiteral("Clave privada: %1\n").arg(Shown(result.KeyFile))
        << QStringLiteral("Pedido de certificado: %1\n").arg(Shown(result.RequestFile))
        << QStringLiteral("Identificación de origen: %1\n").arg(Shown(result.SourceFile))
        << QStringLiteral("La clave y el certificado en uso no se modificaron. Guarde el "
                          "certificado que emita la A.F.I.P. en la carpeta de la renovación y "
                          "úselo con: zedede --usar-certificado CERTIFICADO --sin-ventana\n");
    return reOk;
}

int RunRenewCommandWithoutWindow(int argc, char **argv, const TRenewOptions &Options)
{
    return RunWithConsoleStreams(argc, argv, [&Options](QTextStream &Out, QTextStream &Err) {
        return RunRenew(Options, &ReadPasswordTwice, Out, Err);
    });
}
