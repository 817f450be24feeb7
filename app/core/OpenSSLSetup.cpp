#include "OpenSSLSetup.h"

#include "Environment.h"
#include "ErrorLog.h"
#include "Exception.h"
#include "Paths.h"
#include "Process.h"
#include "Registry.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

const QString kEnvironmentKey = QStringLiteral(
    "\\SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment");

// The installer's failure, with its own output as the details, logged.
[[noreturn]] void InstallFailed(const QString &Message, const QString &Installer,
                                const TExecuteOutcome &Outcome)
{
    QString details = !Outcome.Started ? QStringLiteral("No se pudo iniciar: %1.").arg(Outcome.StartError)
                      : !Outcome.Ended ? QStringLiteral("El instalador sigue en ejecución.")
                                       : QStringLiteral("El instalador terminó con el código %1.")
                                             .arg(Outcome.ExitCode);
    const QString output = LastLines(Outcome.Output, 20);
    if (!output.isEmpty())
        details += QStringLiteral("\n\nSalida del instalador:\n") + output;
    details += QStringLiteral("\n\nOrden: ") + QuoteArgument(Installer);
    LogError(QStringLiteral("Instalación de OpenSSL"), Message, details);
    throw Exception(Message, details);
}

} // namespace

QString OpenSSLDirOf(const QString &ConfValue)
{
    return ConfValue.isEmpty() ? QString() : DirectoryPart(ConfValue);
}

QString GetOpenSSLDir()
{
    const QString conf = ReadRegistryString(THKey::LocalMachine, kEnvironmentKey,
                                            QStringLiteral("OPENSSL_CONF"), QString());
    // openssl finds its configuration through this value; one set by the
    // installer after this program started is passed on to openssl too.
    AdoptMachineEnvironmentValue(QStringLiteral("OPENSSL_CONF"), conf);
    return OpenSSLDirOf(conf);
}

bool OpenSSLInstalled() { return !GetOpenSSLDir().isEmpty(); }

bool SystemHasOpenSSL()
{
    return !QStandardPaths::findExecutable(QStringLiteral("openssl")).isEmpty();
}

QString InstallerPath(const QString &ProgramFolder)
{
    const QString folder = ProgramFolder.isEmpty()
                               ? NativePath(QCoreApplication::applicationDirPath())
                               : ProgramFolder;
    return IncludeTrailingDelimiter(folder) + OpenSSLInstallerFileName();
}

void InstallOpenSSL(const QString &ProgramFolder)
{
    const QString installer = InstallerPath(ProgramFolder);
    if (!QFileInfo::exists(installer))
        throw Exception(QStringLiteral("No se pudo encontrar el archivo %1.").arg(installer));
    // The installer is opened as from the desktop: it shows its own pages and
    // may ask for the rights to write the machine's settings.
    TExecuteOptions options;
    options.ThroughShell = true;
    TExecuteOutcome outcome;
    if (!ExecuteAndWait(installer, DirectoryPart(installer), QString(), options, outcome)) {
        if (outcome.Cancelled)
            throw EAbort();
        InstallFailed(QStringLiteral("No se pudo ejecutar la instalación de OpenSSL."), installer,
                      outcome);
    }
    if (GetOpenSSLDir().isEmpty())
        InstallFailed(QStringLiteral(
                          "Falló la ejecución del instalador de OpenSSL, o fue cancelada por el usuario."),
                      installer, outcome);
}

QString InstallQuestionText()
{
    return QStringLiteral("Se detectó que en su sistema no se encuentra instalado OpenSSL. "
                          "\r\n¿Desea instalarlo ahora?");
}

bool PrepareOpenSSL(const TInstallQuestion &Ask, const QString &ProgramFolder)
{
    // With the system's openssl at hand there is nothing to ask: the
    // installer only prepares this user's folder, before the check below.
    if (!OpenSSLInstalled() && SystemHasOpenSSL())
        InstallOpenSSL(ProgramFolder);
    if (OpenSSLInstalled())
        return true;
    if (!Ask || !Ask(InstallQuestionText()))
        return false;
    InstallOpenSSL(ProgramFolder);
    return true;
}
