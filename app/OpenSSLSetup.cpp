#include "OpenSSLSetup.h"

#include "Exception.h"
#include "Process.h"
#include "Registry.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

const QString kEnvironmentKey = QStringLiteral(
    "\\SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment");

QString DirectoryPart(const QString &Path)
{
    const int slash = Path.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? QString() : Path.left(slash + 1);
}

} // namespace

QString OpenSSLDirOf(const QString &ConfValue)
{
    return ConfValue.isEmpty() ? QString() : DirectoryPart(ConfValue);
}

QString GetOpenSSLDir()
{
    return OpenSSLDirOf(ReadRegistryString(THKey::LocalMachine, kEnvironmentKey,
                                           QStringLiteral("OPENSSL_CONF"), QString()));
}

bool OpenSSLInstalled() { return !GetOpenSSLDir().isEmpty(); }

bool SystemHasOpenSSL()
{
    return !QStandardPaths::findExecutable(QStringLiteral("openssl")).isEmpty();
}

QString InstallerPath(const QString &ProgramFolder)
{
    QString folder = ProgramFolder.isEmpty() ? QCoreApplication::applicationDirPath()
                                             : ProgramFolder;
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder + QStringLiteral("install-openssl.sh");
}

void InstallOpenSSL(const QString &ProgramFolder)
{
    const QString installer = InstallerPath(ProgramFolder);
    if (!QFileInfo::exists(installer))
        throw Exception(QStringLiteral("No se pudo encontrar el archivo %1.").arg(installer));
    if (!ExecuteAndWait(installer, DirectoryPart(installer), QString()))
        throw Exception(QStringLiteral("No se pudo ejecutar la instalación de OpenSSL."));
    if (GetOpenSSLDir().isEmpty())
        throw Exception(QStringLiteral(
            "Falló la ejecución del instalador de OpenSSL, o fue cancelada por el usuario."));
}

QString InstallQuestionText()
{
    return QStringLiteral("Se detectó que en su sistema no se encuentra instalado OpenSSL. "
                          "\r\n¿Desea instalarlo ahora?");
}

void wpInicialNextClick(QObject *Sender, bool &Done, const TInstallQuestion &Ask,
                        const QString &ProgramFolder)
{
    Q_UNUSED(Sender);
    Done = false;
    // With the system's openssl at hand there is nothing to ask: the
    // installer only prepares this user's folder, before the check below.
    if (!OpenSSLInstalled() && SystemHasOpenSSL())
        InstallOpenSSL(ProgramFolder);
    if (OpenSSLInstalled()) {
        Done = true;
        return;
    }
    if (!Ask || !Ask(InstallQuestionText()))
        return;
    InstallOpenSSL(ProgramFolder);
    Done = true;
}
