#include "RegularExpressions.h"
#include "ZeDedeApp.h"

#ifdef _WIN32
#include "CommandLine.h"
#include "ConsoleText.h"
#include "WindowlessRun.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#endif

int main(int argc, char *argv[])
{
    PrepareRegularExpressions();
#ifdef _WIN32
    // A window program: started from cmd.exe or PowerShell it has no console
    // and they do not wait for it. The windowless modes are the console
    // companion's (zedede.com beside this program); with nowhere to print,
    // say so.
    const TCommandLine commandLine = ParseCommandLine(argc, argv);
    if (RunsWithoutWindow(commandLine.Action) && !HasStandardOutput()) {
        const QString folder = QFileInfo(QString::fromLocal8Bit(argv[0])).absolutePath();
        ShowSystemMessage(
            QStringLiteral("ZeDede"),
            QStringLiteral("ZeDede.exe es el programa con ventanas. Para usarlo desde una "
                           "consola (cmd.exe o PowerShell), escriba las mismas opciones con "
                           "el programa de consola:\n\n%1\n\nque muestra el resultado en la "
                           "consola y devuelve su código de salida.")
                .arg(QDir::toNativeSeparators(folder + QStringLiteral("/zedede.com"))));
        return 2;
    }
#endif
    return RunZeDede(argc, argv);
}
